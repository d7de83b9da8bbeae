#pragma once

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/types.h>
#include <unistd.h>
#include <utility>

namespace pagelark {

// Owns a file descriptor, so that it is closed however its user leaves.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() { reset(); }
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept
    {
        if (this != &other) {
            reset();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    void reset() noexcept
    {
        if (fd_ >= 0)
            ::close(std::exchange(fd_, -1));
    }
    // Closes now and returns close's result, so that a delayed write error is seen.
    int closeNow() { return ::close(std::exchange(fd_, -1)); }

private:
    int fd_ = -1;
};

// open(2), repeated when a signal interrupts it, never inherited by another
// program. On failure the result is not valid and errno tells why.
inline FileDescriptor openDescriptor(const std::string& path, int flags, mode_t mode = 0)
{
    int fd;
    do {
        fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return FileDescriptor(fd);
}

}  // namespace pagelark
