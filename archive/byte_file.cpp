#include "archive/byte_file.h"

#include "archive/regular_file.h"
#include "archive/run_error.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pagelark {

namespace {

constexpr std::size_t WriteBufferSize = 64 * 1024;
constexpr int FileNotOpen = 103;  // the run-time's "file not open"

int openRetrying(const std::string& path, int flags, mode_t mode = 0)
{
    int fd;
    do {
        fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// Closes fd and raises the error.
[[noreturn]] void refuse(int fd, const RunError& error)
{
    ::close(fd);
    throw error;
}

// The descriptor opened without waiting (a pipe with no other end would
// block an ordinary open for ever) goes back to waiting reads and writes.
void stopNonBlocking(int fd)
{
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) < 0)
        refuse(fd, RunError::fromErrno(errno));
}

}  // namespace

ByteFile::~ByteFile() { closeQuietly(); }

void ByteFile::openRead(const std::string& path)
{
    closeQuietly();
    const int fd = openRetrying(path, O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        throw RunError::fromErrno(errno);
    struct stat st {};
    try {
        requireRegularFile(fd, path, st);
    } catch (const RunError& error) {
        refuse(fd, error);
    }
    stopNonBlocking(fd);
    fd_ = fd;
    mode_ = Mode::Read;
    position_ = 0;
    size_ = st.st_size;
    forgetBlocks();
}

void ByteFile::create(const std::string& path)
{
    closeQuietly();
    const int fd = openRetrying(path, O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK, 0666);
    if (fd < 0) {
        // A pipe nobody reads cannot be opened for writing without waiting.
        if (errno == ENXIO)
            throw notARegularFile(path);
        throw RunError::fromErrno(errno, /*creating=*/true);
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        refuse(fd, RunError::fromErrno(errno));
    if (S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode))
        refuse(fd, notARegularFile(path));
    stopNonBlocking(fd);
    fd_ = fd;
    mode_ = Mode::Write;
    position_ = 0;
    size_ = 0;
    bufferStart_ = 0;
    buffer_.clear();
    buffer_.reserve(WriteBufferSize);
}

void ByteFile::requireOpen() const
{
    if (fd_ < 0)
        throw RunError::io(FileNotOpen);
}

void ByteFile::requireReading() const
{
    requireOpen();
    if (mode_ == Mode::Write)
        throw RunError::io(FileNotOpen);  // the run-time refuses input on an output file
}

void ByteFile::seek(std::int64_t position)
{
    requireOpen();
    if (position < 0)
        throw RunError::fromErrno(EINVAL);
    if (mode_ == Mode::Write)
        flushWriteBuffer();
    position_ = position;
}

void ByteFile::forgetBlocks()
{
    for (Block& block : blocks_) {
        block.number = -1;
        block.bytes.clear();
    }
}

const ByteFile::Block& ByteFile::blockAtPosition()
{
    const std::int64_t number = position_ / static_cast<std::int64_t>(BlockSize);
    Block& block = blocks_[static_cast<std::size_t>(number) % BlockSlots];
    if (block.number != number) {
        block.number = -1;
        block.bytes.resize(BlockSize);
        ssize_t got;
        do {
            got = ::pread(fd_, block.bytes.data(), BlockSize, number * static_cast<std::int64_t>(BlockSize));
        } while (got < 0 && errno == EINTR);
        if (got < 0) {
            const int err = errno;
            block.bytes.clear();
            throw RunError::fromErrno(err);
        }
        block.bytes.resize(static_cast<std::size_t>(got));
        block.number = number;
    }
    if (static_cast<std::size_t>(position_ % static_cast<std::int64_t>(BlockSize)) >= block.bytes.size())
        throw RunError::io(io_code::ReadBeyondEnd);
    return block;
}

std::uint8_t ByteFile::readByte()
{
    requireReading();
    const Block& block = blockAtPosition();
    const std::uint8_t value = block.bytes[static_cast<std::size_t>(position_ % static_cast<std::int64_t>(BlockSize))];
    ++position_;
    return value;
}

void ByteFile::readBytes(std::uint8_t* out, std::size_t count)
{
    requireReading();
    while (count > 0) {
        const Block& block = blockAtPosition();
        const auto at = static_cast<std::size_t>(position_ % static_cast<std::int64_t>(BlockSize));
        const std::size_t take = std::min(count, block.bytes.size() - at);
        std::copy_n(block.bytes.begin() + static_cast<std::ptrdiff_t>(at), take, out);
        out += take;
        count -= take;
        position_ += static_cast<std::int64_t>(take);
    }
}

void ByteFile::writeByte(std::uint8_t value) { writeBytes(&value, 1); }

void ByteFile::writeBytes(const std::uint8_t* data, std::size_t count)
{
    requireOpen();
    if (mode_ == Mode::Read)
        throw RunError::fromErrno(EBADF);
    while (count > 0) {
        if (buffer_.empty())
            bufferStart_ = position_;
        const std::size_t room = WriteBufferSize - buffer_.size();
        const std::size_t take = count < room ? count : room;
        buffer_.insert(buffer_.end(), data, data + take);
        data += take;
        count -= take;
        position_ += static_cast<std::int64_t>(take);
        if (position_ > size_)
            size_ = position_;
        if (buffer_.size() == WriteBufferSize)
            flushWriteBuffer();
    }
}

void ByteFile::flushWriteBuffer()
{
    std::size_t done = 0;
    while (done < buffer_.size()) {
        const ssize_t put = ::pwrite(fd_, buffer_.data() + done, buffer_.size() - done,
                                     bufferStart_ + static_cast<std::int64_t>(done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            const int err = put < 0 ? errno : ENOSPC;
            buffer_.clear();
            throw RunError::fromErrno(err);
        }
        done += static_cast<std::size_t>(put);
    }
    buffer_.clear();
}

FileIdentity ByteFile::identity() const
{
    requireOpen();
    struct stat info {};
    if (::fstat(fd_, &info) != 0)
        throw RunError::fromErrno(errno);
    return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
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
    const int fd = fd_;
    if (mode_ == Mode::Write) {
        try {
            flushWriteBuffer();
        } catch (...) {
            ::close(fd);
            fd_ = -1;
            throw;
        }
    }
    fd_ = -1;
    buffer_.clear();
    forgetBlocks();
    if (::close(fd) != 0 && errno != EINTR)
        throw RunError::fromErrno(errno);
}

void ByteFile::closeQuietly() noexcept
{
    if (fd_ < 0)
        return;
    try {
        close();
    } catch (...) {
    }
}

}  // namespace pagelark
