#include "app/working_copies.h"

#include "app/file_ops.h"
#include "archive/run_error.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pagelark {

namespace {

constexpr std::string_view WorkingCopyPrefix = "vswap";

// The names the window gives its working copies: "vswap" followed by decimal
// digits and nothing else.
bool isWorkingCopyName(std::string_view name)
{
    if (!name.starts_with(WorkingCopyPrefix) || name.size() == WorkingCopyPrefix.size())
        return false;
    name.remove_prefix(WorkingCopyPrefix.size());
    return std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

enum class Lock { Taken, HeldElsewhere, Unavailable };

// Takes the exclusive lock if nobody else holds it, without waiting. Some
// file systems have no locks at all; there copies are never taken for stale.
Lock lockAtOnce(int fd)
{
    int result;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result == 0)
        return Lock::Taken;
    return errno == EWOULDBLOCK ? Lock::HeldElsewhere : Lock::Unavailable;
}

struct DirectoryCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

// Deletes the working copy `name` in the open folder if it is a plain file of
// ours that no running instance holds. The lock is taken before the name is
// checked again, so that a copy an instance has just made and locked, or a
// file put in the place of the one looked at, is never deleted.
void removeIfStale(int folder, const char* name, const struct stat& spare)
{
    FileDescriptor copy(::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat opened {};
    if (!copy.valid() || ::fstat(copy.get(), &opened) != 0 || !S_ISREG(opened.st_mode))
        return;
    if (opened.st_uid != ::geteuid() || (opened.st_dev == spare.st_dev && opened.st_ino == spare.st_ino))
        return;
    if (lockAtOnce(copy.get()) != Lock::Taken)
        return;
    struct stat named {};
    if (::fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) == 0 && named.st_dev == opened.st_dev
        && named.st_ino == opened.st_ino)
        ::unlinkat(folder, name, 0);
}

// The file being opened is spared, even when it is itself a copy left behind.
void removeStaleWorkingCopies(const std::string& programDir, int spareFd)
{
    struct stat spare {};
    if (::fstat(spareFd, &spare) != 0)
        return;
    const std::unique_ptr<DIR, DirectoryCloser> folder(::opendir(programDir.c_str()));
    if (!folder)
        return;
    while (const dirent* entry = ::readdir(folder.get())) {
        if (isWorkingCopyName(entry->d_name))
            removeIfStale(::dirfd(folder.get()), entry->d_name, spare);
    }
}

}  // namespace

void WorkingCopyFile::fill(const std::string& programDir, const std::string& from)
{
    const FileDescriptor source = openCopySource(from);
    if (held() && nameLeadsTo(name_, lock_.get())) {
        copyFileContents(source.get(), lock_.get());
        return;
    }
    // A copy deleted or replaced behind our back: whatever has the name now is
    // not ours to touch.
    release();
    removeStaleWorkingCopies(programDir, source.get());
    create(programDir, source.get());
}

void WorkingCopyFile::create(const std::string& programDir, int source)
{
    for (unsigned n = 0;; ++n) {
        std::string name = programDir + std::string(WorkingCopyPrefix) + std::to_string(n);
        // O_EXCL: any directory entry, a dangling link too, makes the name taken.
        FileDescriptor copy = openDescriptor(name, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW, 0666);
        if (!copy.valid()) {
            if (errno == EEXIST)
                continue;
            throw RunError::fromErrno(errno, /*creating=*/true);
        }
        // Until the lock is ours, another instance's clean-up may take the new
        // file for a stale one; it deletes it, and the next name is tried.
        if (lockAtOnce(copy.get()) == Lock::HeldElsewhere || !nameLeadsTo(name, copy.get()))
            continue;
        lock_ = std::move(copy);
        name_ = std::move(name);
        break;
    }
    try {
        copyFileContents(source, lock_.get());
    } catch (...) {
        remove();
        throw;
    }
}

void WorkingCopyFile::remove() noexcept
{
    if (held() && nameLeadsTo(name_, lock_.get()))
        ::unlink(name_.c_str());
    release();
}

void WorkingCopyFile::release() noexcept
{
    lock_.reset();
    name_.clear();
}

}  // namespace pagelark
