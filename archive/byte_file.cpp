#include "archive/byte_file.h"

#include "archive/run_error.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pagelark {

namespace {

constexpr std::size_t BufferSize = 64 * 1024;
constexpr int FileNotOpen = 103;  // the run-time's "file not open"

}  // namespace

ByteFile::~ByteFile() { closeQuietly(); }

void ByteFile::openRead(const std::string& path)
{
    closeQuietly();
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        throw RunError::fromErrno(errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        throw RunError::fromErrno(err);
    }
    if (S_ISDIR(st.st_mode)) {
        ::close(fd);
        throw RunError::fromErrno(EISDIR);
    }
    fd_ = fd;
    mode_ = Mode::Read;
    position_ = 0;
    size_ = st.st_size;
    bufferStart_ = 0;
    buffer_.clear();
}

void ByteFile::create(const std::string& path)
{
    closeQuietly();
    int fd;
    do {
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        throw RunError::fromErrno(errno, /*creating=*/true);
    fd_ = fd;
    mode_ = Mode::Write;
    position_ = 0;
    size_ = 0;
    bufferStart_ = 0;
    buffer_.clear();
    buffer_.reserve(BufferSize);
}

void ByteFile::requireOpen() const
{
    if (fd_ < 0)
        throw RunError::io(FileNotOpen);
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

void ByteFile::fillReadBuffer()
{
    buffer_.resize(BufferSize);
    ssize_t got;
    do {
        got = ::pread(fd_, buffer_.data(), BufferSize, position_);
    } while (got < 0 && errno == EINTR);
    if (got < 0) {
        const int err = errno;
        buffer_.clear();
        throw RunError::fromErrno(err);
    }
    buffer_.resize(static_cast<std::size_t>(got));
    bufferStart_ = position_;
    if (got == 0)
        throw RunError::io(io_code::ReadBeyondEnd);
}

std::uint8_t ByteFile::readByte()
{
    requireOpen();
    if (mode_ == Mode::Write)
        throw RunError::io(FileNotOpen);  // the run-time refuses input on an output file
    if (position_ < bufferStart_ || position_ >= bufferStart_ + static_cast<std::int64_t>(buffer_.size()))
        fillReadBuffer();
    const std::uint8_t value = buffer_[static_cast<std::size_t>(position_ - bufferStart_)];
    ++position_;
    return value;
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
        const std::size_t room = BufferSize - buffer_.size();
        const std::size_t take = count < room ? count : room;
        buffer_.insert(buffer_.end(), data, data + take);
        data += take;
        count -= take;
        position_ += static_cast<std::int64_t>(take);
        if (position_ > size_)
            size_ = position_;
        if (buffer_.size() == BufferSize)
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
