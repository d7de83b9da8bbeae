#include "app/desktop/recovery_files.h"

#include "app/desktop/file_ops.h"
#include "archive/file_identity.h"
#include "archive/output_file.h"
#include "archive/own_entry.h"
#include "archive/run_error.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pagelark {

namespace {

// Longer than any path the system takes.
constexpr std::size_t LongestPath = 8192;

// Why a file is not one the window keeps; empty when it is. The window's
// files are private, so one that others may read or change was made or
// changed by someone else, and its contents are not to be trusted.
std::string whyNotKept(const struct stat& info)
{
    std::string why = whyNotOwnEntry(info, S_IFREG, "regular file");
    if (why.empty() && (info.st_mode & (S_IRWXG | S_IRWXO)) != 0)
        why = "may be read or changed by other users";
    return why;
}

// The file open for reading when it is one the window keeps; otherwise no
// descriptor, and in `why` the reason, or nothing when there is no file. The
// name is looked at before it is opened, so that no device is ever opened,
// and the file opened is checked again, so that nothing swapped in between
// counts.
FileDescriptor openKept(const std::string& path, std::string& why)
{
    why.clear();
    struct stat named {};
    if (::lstat(path.c_str(), &named) != 0) {
        if (errno != ENOENT)
            why = std::string("cannot be looked at: ") + RunError::fromErrno(errno).text();
        return {};
    }
    why = whyNotKept(named);
    if (!why.empty())
        return {};
    FileDescriptor file = openDescriptor(path, O_RDONLY | O_NOFOLLOW | O_NONBLOCK);
    struct stat opened {};
    if (!file.valid())
        why = errno == ELOOP ? "is a link" : std::string("cannot be opened: ") + RunError::fromErrno(errno).text();
    else if (::fstat(file.get(), &opened) != 0)
        why = std::string("cannot be looked at: ") + RunError::fromErrno(errno).text();
    else if (!sameIdentity(opened, named))
        why = "changed while it was looked at";
    else
        why = whyNotKept(opened);
    if (!why.empty())
        return {};
    return file;
}

void removeIfKept(const std::string& path) noexcept
{
    std::string why;
    const FileDescriptor file = openKept(path, why);
    if (file.valid() && nameLeadsTo(path, file.get()))
        ::unlink(path.c_str());
}

// The text of a small file, nothing when it is empty or too long for a path.
std::optional<std::string> readPath(int fd)
{
    std::string path(LongestPath + 1, '\0');
    const ssize_t got = retryOnSignal([&] { return ::read(fd, path.data(), path.size()); });
    if (got <= 0 || static_cast<std::size_t>(got) > LongestPath)
        return std::nullopt;
    path.resize(static_cast<std::size_t>(got));
    return path;
}

}  // namespace

void RecoveryFiles::keep(const std::string& openedPath, const WorkingCopyFile::ByteWriter& write,
                         const std::vector<FileIdentity>& readFiles) const
{
    // The path goes last: it is what makes a kept page file one to offer.
    removeIfKept(pathFile());
    OutputFile page(pageFile(), readFiles, OutputAccess::Private, OutputDurability::Flushed);
    write([&](const std::uint8_t* data, std::size_t count) { page.write(data, count); });
    page.commit();
    OutputFile path(pathFile(), readFiles, OutputAccess::Private, OutputDurability::Flushed);
    path.write(reinterpret_cast<const std::uint8_t*>(openedPath.data()), openedPath.size());
    path.commit();
}

RecoveryFiles::Found RecoveryFiles::find() const
{
    std::string pageWhy;
    std::string pathWhy;
    const FileDescriptor page = openKept(pageFile(), pageWhy);
    const FileDescriptor path = openKept(pathFile(), pathWhy);
    Found found;
    if (!pageWhy.empty())
        found.leftAlone = pageFile() + " " + pageWhy;
    if (!pathWhy.empty())
        found.leftAlone += (found.leftAlone.empty() ? "" : "; ") + pathFile() + " " + pathWhy;
    if (!found.leftAlone.empty())
        found.leftAlone = "replacements kept from an earlier run are not offered, and left alone: " + found.leftAlone;
    // One without the other is what a keep cut short leaves: nothing to offer.
    else if (page.valid() && path.valid())
        found.openedPath = readPath(path.get());
    return found;
}

void RecoveryFiles::remove() const noexcept
{
    removeIfKept(pathFile());
    removeIfKept(pageFile());
}

}  // namespace pagelark
