#include "app/desktop/file_ops.h"

#include "archive/file_identity.h"
#include "archive/regular_file.h"
#include "archive/run_error.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pagelark {

FileDescriptor openCopySource(const std::string& path)
{
    // Without O_NONBLOCK, opening a pipe would wait for a writer forever.
    FileDescriptor source = openDescriptor(path, O_RDONLY | O_NONBLOCK);
    if (!source.valid())
        throw RunError::fromErrno(errno);
    struct stat info {};
    requireRegularFile(source.get(), path, info);
    return source;
}

void copyFileContents(int source, int target)
{
    struct stat sourceInfo {};
    struct stat targetInfo {};
    if (::fstat(source, &sourceInfo) != 0 || ::fstat(target, &targetInfo) != 0)
        throw RunError::fromErrno(errno);
    if (sameIdentity(sourceInfo, targetInfo))
        return;

    // The old contents are written over and what is left of them cut off at
    // the end. Cutting the file to nothing first would make ext4 write the
    // whole copy out to disk as soon as any descriptor of it is closed.
    std::array<char, 64 * 1024> buffer{};
    off_t at = 0;
    for (;;) {
        const ssize_t got = retryOnSignal([&] { return ::pread(source, buffer.data(), buffer.size(), at); });
        if (got < 0)
            throw RunError::fromErrno(errno);
        if (got == 0)
            break;
        writeAllAt(target, buffer.data(), static_cast<std::size_t>(got), at);
        at += got;
    }
    if (::ftruncate(target, at) != 0)
        throw RunError::fromErrno(errno);
}

void writeAllAt(int fd, const void* data, std::size_t count, off_t at)
{
    const auto* bytes = static_cast<const char*>(data);
    while (count > 0) {
        const ssize_t put = retryOnSignal([&] { return ::pwrite(fd, bytes, count, at); });
        if (put <= 0)
            throw RunError::fromErrno(put < 0 ? errno : ENOSPC);
        bytes += put;
        at += put;
        count -= static_cast<std::size_t>(put);
    }
}

void deleteFileQuietly(const std::string& path)
{
    if (!path.empty())
        ::unlink(path.c_str());
}

bool nameLeadsTo(const std::string& path, int fd)
{
    struct stat named {};
    struct stat opened {};
    return ::lstat(path.c_str(), &named) == 0 && ::fstat(fd, &opened) == 0 && sameIdentity(named, opened);
}

}  // namespace pagelark
