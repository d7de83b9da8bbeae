#pragma once

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/types.h>
#include <unistd.h>
#include <utility>

namespace pagelark {

// Calls a system call's wrapper again for as long as a signal interrupts it
// (it fails with EINTR), and returns its first other result.
template <typename SystemCall>
auto retryOnSignal(SystemCall call)
{
    for (;;) {
        const auto result = call();
        if (!(result < 0 && errno == EINTR))
            return result;
    }
}

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
    // Closes now and returns close's result, so that a delayed write error
    // is seen. An interrupted close has still closed the descriptor on Linux,
    // so it counts as done: closing again could close another file's.
    int closeNow()
    {
        const int result = ::close(std::exchange(fd_, -1));
        return result != 0 && errno == EINTR ? 0 : result;
    }

private:
    int fd_ = -1;
};

// open(2), repeated when a signal interrupts it, never inherited by another
// program. On failure the result is not valid and errno tells why.
inline FileDescriptor openDescriptor(const std::string& path, int flags, mode_t mode = 0)
{
    return FileDescriptor(retryOnSignal([&] { return ::open(path.c_str(), flags | O_CLOEXEC, mode); }));
}

// openat(2) likewise, for a name within an open folder.
inline FileDescriptor openDescriptorAt(int folder, const std::string& name, int flags, mode_t mode = 0)
{
    return FileDescriptor(retryOnSignal([&] { return ::openat(folder, name.c_str(), flags | O_CLOEXEC, mode); }));
}

}  // namespace pagelark
