#include "app/file_ops.h"

#include "archive/run_error.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pagelark {

namespace {

// Closes a descriptor when the copy leaves, however it leaves.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd_; }
    // Closes now, so that a failing close (a delayed write error) is seen.
    int release()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd);
    }

private:
    int fd_;
};

int openRetrying(const std::string& path, int flags, mode_t mode = 0)
{
    int fd;
    do {
        fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

void writeAll(int fd, const char* data, std::size_t count)
{
    while (count > 0) {
        const ssize_t put = ::write(fd, data, count);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            throw RunError::fromErrno(put < 0 ? errno : ENOSPC);
        data += put;
        count -= static_cast<std::size_t>(put);
    }
}

}  // namespace

void copyFileReplacing(const std::string& from, const std::string& to)
{
    Descriptor source(openRetrying(from, O_RDONLY));
    if (source.get() < 0)
        throw RunError::fromErrno(errno);
    struct stat sourceInfo {};
    if (::fstat(source.get(), &sourceInfo) != 0)
        throw RunError::fromErrno(errno);
    if (S_ISDIR(sourceInfo.st_mode))
        throw RunError::fromErrno(EISDIR);

    struct stat targetInfo {};
    if (::stat(to.c_str(), &targetInfo) == 0 && targetInfo.st_dev == sourceInfo.st_dev
        && targetInfo.st_ino == sourceInfo.st_ino)
        return;

    Descriptor target(openRetrying(to, O_WRONLY | O_CREAT | O_TRUNC, 0666));
    if (target.get() < 0)
        throw RunError::fromErrno(errno, /*creating=*/true);

    std::array<char, 64 * 1024> buffer{};
    for (;;) {
        const ssize_t got = ::read(source.get(), buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw RunError::fromErrno(errno);
        if (got == 0)
            break;
        writeAll(target.get(), buffer.data(), static_cast<std::size_t>(got));
    }
    if (target.release() != 0 && errno != EINTR)
        throw RunError::fromErrno(errno);
}

void deleteFileQuietly(const std::string& path)
{
    if (!path.empty())
        ::unlink(path.c_str());
}

bool fileExists(const std::string& path)
{
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0;
}

bool sameFile(const std::string& first, const std::string& second)
{
    struct stat firstInfo {};
    struct stat secondInfo {};
    return ::stat(first.c_str(), &firstInfo) == 0 && ::stat(second.c_str(), &secondInfo) == 0
        && firstInfo.st_dev == secondInfo.st_dev && firstInfo.st_ino == secondInfo.st_ino;
}

}  // namespace pagelark
