#include "app/desktop/working_copies.h"

#include "app/desktop/file_ops.h"
#include "archive/run_error.h"

#include <algorithm>
#include <array>
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
constexpr std::string_view MarkSuffix = ".pagelark";

enum class Lock { Taken, HeldElsewhere, Unavailable };

// Takes the exclusive lock if nobody else holds it, without waiting. Some
// file systems have no locks at all; there copies are never taken for stale.
Lock lockAtOnce(int fd)
{
    if (retryOnSignal([&] { return ::flock(fd, LOCK_EX | LOCK_NB); }) == 0)
        return Lock::Taken;
    return errno == EWOULDBLOCK ? Lock::HeldElsewhere : Lock::Unavailable;
}

constexpr std::string_view MarkHeading = "Pagelark working copy ";

struct DirectoryCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

std::string markText(const struct stat& copy)
{
    return std::string(MarkHeading) + std::to_string(copy.st_dev) + " " + std::to_string(copy.st_ino) + "\n";
}

// The text of a mark: a small plain file of the user's, read without
// following a link; empty when it is no such file.
std::string readMark(int folder, const std::string& name, struct stat& info)
{
    const FileDescriptor mark = openDescriptorAt(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK);
    if (!mark.valid() || ::fstat(mark.get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid())
        return {};
    std::array<char, 128> text{};
    const ssize_t got = retryOnSignal([&] { return ::read(mark.get(), text.data(), text.size()); });
    return got > 0 ? std::string(text.data(), static_cast<std::size_t>(got)) : std::string();
}

// Deletes the mark `name` when it is still the file looked at.
void removeMark(int folder, const std::string& name, const struct stat& looked)
{
    struct stat named {};
    if (::fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 && sameIdentity(named, looked))
        ::unlinkat(folder, name.c_str(), 0);
}

// Deletes the working copy `name` in the open folder if it is a plain file
// whose mark shows the program made it and that no running instance holds,
// and its mark with it. The lock is taken before the name is checked again,
// so that a copy an instance has just made and locked, or a file put in the
// place of the one looked at, is never deleted.
void removeIfStale(int folder, const std::string& name, const struct stat& spare)
{
    const FileDescriptor copy = openDescriptorAt(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK);
    struct stat opened {};
    if (!copy.valid() || ::fstat(copy.get(), &opened) != 0 || !S_ISREG(opened.st_mode))
        return;
    if (opened.st_uid != ::geteuid() || sameIdentity(opened, spare))
        return;
    const std::string markName = name + std::string(MarkSuffix);
    struct stat mark {};
    if (readMark(folder, markName, mark) != markText(opened))
        return;
    if (lockAtOnce(copy.get()) != Lock::Taken)
        return;
    struct stat named {};
    if (::fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 && sameIdentity(named, opened)) {
        ::unlinkat(folder, name.c_str(), 0);
        removeMark(folder, markName, mark);
    }
}

// A mark whose copy is gone, as when a run ended between deleting the two.
void removeIfOrphanedMark(int folder, std::string_view name)
{
    if (!name.ends_with(MarkSuffix))
        return;
    const std::string copyName(name.substr(0, name.size() - MarkSuffix.size()));
    struct stat copy {};
    if (!isWorkingCopyName(copyName) || ::fstatat(folder, copyName.c_str(), &copy, AT_SYMLINK_NOFOLLOW) == 0)
        return;
    struct stat mark {};
    if (readMark(folder, std::string(name), mark).starts_with(MarkHeading))
        removeMark(folder, std::string(name), mark);
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
        else
            removeIfOrphanedMark(::dirfd(folder.get()), entry->d_name);
    }
}

// Writes the mark of a new copy; false when the name is taken.
bool markCopy(const std::string& markName, int copy)
{
    struct stat info {};
    if (::fstat(copy, &info) != 0)
        throw RunError::fromErrno(errno);
    FileDescriptor mark = openDescriptor(markName, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0600);
    if (!mark.valid()) {
        if (errno == EEXIST)
            return false;
        throw RunError::fromErrno(errno, /*creating=*/true);
    }
    const std::string text = markText(info);
    const ssize_t put = retryOnSignal([&] { return ::write(mark.get(), text.data(), text.size()); });
    if (put != static_cast<ssize_t>(text.size()) || mark.closeNow() != 0) {
        const int err = errno;
        ::unlink(markName.c_str());
        throw RunError::fromErrno(err == 0 ? ENOSPC : err);
    }
    return true;
}

}  // namespace

bool isWorkingCopyName(std::string_view name)
{
    if (!name.starts_with(WorkingCopyPrefix) || name.size() == WorkingCopyPrefix.size())
        return false;
    name.remove_prefix(WorkingCopyPrefix.size());
    return std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool isWorkingCopyMarkName(std::string_view name)
{
    return name.ends_with(MarkSuffix) && isWorkingCopyName(name.substr(0, name.size() - MarkSuffix.size()));
}

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
    claimName(programDir);
    try {
        copyFileContents(source.get(), lock_.get());
    } catch (...) {
        remove();
        throw;
    }
}

void WorkingCopyFile::create(const std::string& programDir, const ByteWriter& write)
{
    release();
    claimName(programDir);
    try {
        off_t at = 0;
        write([&](const std::uint8_t* data, std::size_t count) {
            writeAllAt(lock_.get(), data, count, at);
            at += static_cast<off_t>(count);
        });
    } catch (...) {
        remove();
        throw;
    }
}

std::optional<FileIdentity> WorkingCopyFile::identity() const
{
    struct stat info {};
    if (!held() || ::fstat(lock_.get(), &info) != 0)
        return std::nullopt;
    return identityOf(info);
}

void WorkingCopyFile::claimName(const std::string& programDir)
{
    for (unsigned n = 0;; ++n) {
        std::string name = programDir + std::string(WorkingCopyPrefix) + std::to_string(n);
        // O_EXCL: any directory entry, a dangling link too, makes the name taken.
        FileDescriptor copy = openDescriptor(name, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW, 0600);
        if (!copy.valid()) {
            if (errno == EEXIST)
                continue;
            throw RunError::fromErrno(errno, /*creating=*/true);
        }
        // Until the lock is ours, another instance's clean-up may take the new
        // file for a stale one; it deletes it, and the next name is tried.
        if (lockAtOnce(copy.get()) == Lock::HeldElsewhere || !nameLeadsTo(name, copy.get()))
            continue;
        std::string markName = name + std::string(MarkSuffix);
        if (!markCopy(markName, copy.get())) {
            // Another file has the mark's name: the copy is not made under this one.
            if (nameLeadsTo(name, copy.get()))
                ::unlink(name.c_str());
            continue;
        }
        lock_ = std::move(copy);
        name_ = std::move(name);
        markName_ = std::move(markName);
        return;
    }
}

void WorkingCopyFile::remove() noexcept
{
    if (held() && nameLeadsTo(name_, lock_.get())) {
        struct stat copy {};
        struct stat mark {};
        const bool marked = ::fstat(lock_.get(), &copy) == 0 && readMark(AT_FDCWD, markName_, mark) == markText(copy);
        ::unlink(name_.c_str());
        if (marked)
            removeMark(AT_FDCWD, markName_, mark);
    }
    release();
}

void WorkingCopyFile::release() noexcept
{
    lock_.reset();
    name_.clear();
    markName_.clear();
}

}  // namespace pagelark
