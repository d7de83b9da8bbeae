#include "archive/byte_file.h"

#include "archive/regular_file.h"
#include "archive/run_error.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace pagelark {

namespace {

constexpr int FileNotOpen = 103;  // the run-time's "file not open"

}  // namespace

void ByteFile::openRead(const std::string& path)
{
    fd_.reset();
    // Opened without waiting: a pipe with no other end would block an
    // ordinary open for ever. The flag stays, as reads of a regular file,
    // the only kind read here, never wait for it.
    FileDescriptor fd = openDescriptor(path, O_RDONLY | O_NONBLOCK);
    if (!fd.valid())
        throw RunError::fromErrno(errno);
    struct stat st {};
    requireRegularFile(fd.get(), path, st);
    fd_ = std::move(fd);
    position_ = 0;
    size_ = st.st_size;
    identity_ = identityOf(st);
    forgetBlocks();
}

void ByteFile::requireOpen() const
{
    if (!fd_.valid())
        throw RunError::io(FileNotOpen);
}

void ByteFile::seek(std::int64_t position)
{
    requireOpen();
    if (position < 0)
        throw RunError::fromErrno(EINVAL);
    position_ = position;
}

void ByteFile::forgetBlocks()
{
    for (Block& block : blocks_)
        block.number = -1;
}

const ByteFile::Block& ByteFile::blockAtPosition()
{
    const std::int64_t number = position_ / static_cast<std::int64_t>(BlockSize);
    Block& block = blocks_[static_cast<std::size_t>(number) % BlockSlots];
    if (block.number != number) {
        block.number = -1;
        if (!block.bytes)
            block.bytes = std::make_unique_for_overwrite<std::uint8_t[]>(BlockSize);
        const ssize_t got = retryOnSignal([&] {
            return ::pread(fd_.get(), block.bytes.get(), BlockSize, number * static_cast<std::int64_t>(BlockSize));
        });
        if (got < 0)
            throw RunError::fromErrno(errno);
        block.size = static_cast<std::size_t>(got);
        block.number = number;
    }
    if (static_cast<std::size_t>(position_ % static_cast<std::int64_t>(BlockSize)) >= block.size)
        throw RunError::io(io_code::ReadBeyondEnd);
    return block;
}

std::uint8_t ByteFile::readByte()
{
    requireOpen();
    const Block& block = blockAtPosition();
    const std::uint8_t value = block.bytes[static_cast<std::size_t>(position_ % static_cast<std::int64_t>(BlockSize))];
    ++position_;
    return value;
}

void ByteFile::readBytes(std::uint8_t* out, std::size_t count)
{
    requireOpen();
    while (count > 0) {
        const Block& block = blockAtPosition();
        const auto at = static_cast<std::size_t>(position_ % static_cast<std::int64_t>(BlockSize));
        const std::size_t take = std::min(count, block.size - at);
        std::copy_n(block.bytes.get() + at, take, out);
        out += take;
        count -= take;
        position_ += static_cast<std::int64_t>(take);
    }
}

FileIdentity ByteFile::identity() const
{
    requireOpen();
    return identity_;
}

bool ByteFile::eof()
{
    requireOpen();
    return position_ >= size_;
}

std::int64_t ByteFile::position() const
{
    requireOpen();
    return position_;
}

std::int64_t ByteFile::size()
{
    requireOpen();
    return size_;
}

void ByteFile::close()
{
    requireOpen();
    forgetBlocks();
    if (fd_.closeNow() != 0)
        throw RunError::fromErrno(errno);
}

}  // namespace pagelark
