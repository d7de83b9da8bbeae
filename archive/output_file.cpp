#include "archive/output_file.h"

#include "archive/folder_safety.h"
#include "archive/run_error.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace pagelark {

namespace output_file_testing {
void (*beforeRename)(const std::string& path) = nullptr;
void (*afterFlush)(const std::string& path) = nullptr;
}  // namespace output_file_testing

namespace {

// The temporary names of outputs under way, where a signal handler can find
// them: a handler may only read plain memory and make system calls.
constexpr std::size_t PendingSlots = 8;
constexpr std::size_t LongestName = 255;
struct PendingOutput {
    std::atomic<bool> used{false};
    std::atomic<int> folder{-1};
    std::array<char, LongestName + 1> name{};
};
std::array<PendingOutput, PendingSlots> pendingOutputs;

int registerPending(int folder, const std::string& name)
{
    for (std::size_t slot = 0; slot < PendingSlots; ++slot) {
        bool expected = false;
        if (!pendingOutputs[slot].used.compare_exchange_strong(expected, true))
            continue;
        PendingOutput& pending = pendingOutputs[slot];
        std::fill(pending.name.begin(), pending.name.end(), '\0');
        std::copy_n(name.begin(), std::min(name.size(), LongestName), pending.name.begin());
        pending.folder.store(folder);
        return static_cast<int>(slot);
    }
    return -1;  // more outputs at once than the slots: the signal leaves this one's temporary file
}

void unregisterPending(int slot)
{
    if (slot < 0)
        return;
    pendingOutputs[static_cast<std::size_t>(slot)].folder.store(-1);
    pendingOutputs[static_cast<std::size_t>(slot)].used.store(false);
}

extern "C" void removePendingAndEnd(int signal)
{
    const int savedErrno = errno;
    for (PendingOutput& pending : pendingOutputs) {
        const int folder = pending.folder.load();
        if (pending.used.load() && folder >= 0)
            ::unlinkat(folder, pending.name.data(), 0);
    }
    errno = savedErrno;
    // The handler was reset when it was called: the signal now ends the program.
    ::raise(signal);
}

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

constexpr std::string_view TemporaryMark = ".pagelark-";
constexpr std::string_view TemporaryLetters = "abcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t TemporarySuffixSize = 8;

// A temporary name that says whose it is and what it becomes, short enough
// for any file system.
std::string temporaryNameFor(const std::string& name)
{
    static std::mt19937_64 random{std::random_device{}()};
    std::string suffix(TemporarySuffixSize, 'x');
    for (char& c : suffix)
        c = TemporaryLetters[random() % TemporaryLetters.size()];
    // Appended piece by piece: GCC 12 warns falsely about "." + text at -O3.
    std::string temporary = ".";
    temporary.append(name, 0, 200);
    temporary += TemporaryMark;
    temporary += suffix;
    return temporary;
}

// Opened for its path alone, the folder needs no permission to be read.
FileDescriptor openFolder(const std::string& folder) { return openDescriptor(folder, O_PATH | O_DIRECTORY); }

}  // namespace

bool isTemporaryOutputName(std::string_view name)
{
    if (!name.starts_with('.') || name.size() <= 1 + TemporaryMark.size() + TemporarySuffixSize)
        return false;
    const std::string_view suffix = name.substr(name.size() - TemporarySuffixSize);
    const std::string_view mark
        = name.substr(name.size() - TemporarySuffixSize - TemporaryMark.size(), TemporaryMark.size());
    return mark == TemporaryMark && suffix.find_first_not_of(TemporaryLetters) == std::string_view::npos;
}

RunError fileBeingRead(const std::string& path)
{
    return RunError::message("Not written: " + path + " is the file being read");
}

OutputFile::OutputFile(std::string path, std::vector<FileIdentity> readFiles, OutputAccess access,
                       OutputDurability durability)
    : path_(std::move(path)), readFiles_(std::move(readFiles)), access_(access), durability_(durability)
{
    const std::size_t slash = path_.find_last_of('/');
    name_ = slash == std::string::npos ? path_ : path_.substr(slash + 1);
    if (name_.empty() || name_ == "." || name_ == "..")
        throw RunError::io(io_code::InvalidFilename);

    const std::string folder = folderOf(path_);
    // Until a temporary file is made there is nothing to discard: when this
    // throws, the members close what they hold.
    folder_ = openFolder(folder);
    if (!folder_.valid())
        throw RunError::fromErrno(errno, /*creating=*/true);
    struct stat info {};
    if (::fstat(folder_.get(), &info) != 0)
        throw RunError::fromErrno(errno);
    if (othersCanChange(info.st_uid, info.st_mode))
        throw RunError::message("Not written: " + folder + " is a folder other users can change");

    const mode_t mode = access_ == OutputAccess::Private ? 0600 : 0666;
    for (int attempt = 0; !fd_.valid(); ++attempt) {
        std::string candidate = temporaryNameFor(name_);
        fd_ = openDescriptorAt(folder_.get(), candidate, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, mode);
        if (fd_.valid()) {
            temporaryName_ = std::move(candidate);
            break;
        }
        if (errno != EEXIST || attempt == 100)
            throw RunError::fromErrno(errno, /*creating=*/true);
    }
    pendingSlot_ = registerPending(folder_.get(), temporaryName_);
}

OutputFile::~OutputFile() { discard(); }

namespace {

constexpr std::size_t WriteBufferSize = 256 * 1024;

void writeAll(int fd, const std::uint8_t* data, std::size_t count)
{
    while (count > 0) {
        const ssize_t put = retryOnSignal([&] { return ::write(fd, data, count); });
        if (put <= 0)
            throw RunError::fromErrno(put < 0 ? errno : ENOSPC);
        data += put;
        count -= static_cast<std::size_t>(put);
    }
}

}  // namespace

void OutputFile::write(const std::uint8_t* data, std::size_t count)
{
    if (buffer_.size() + count > WriteBufferSize)
        flushBuffer();
    if (count >= WriteBufferSize)
        writeAll(fd_.get(), data, count);
    else
        buffer_.insert(buffer_.end(), data, data + count);
}

void OutputFile::flushBuffer()
{
    writeAll(fd_.get(), buffer_.data(), buffer_.size());
    buffer_.clear();
}

int OutputFile::descriptor()
{
    flushBuffer();
    return fd_.get();
}

void OutputFile::commit()
{
    flushBuffer();
    // A file replaced keeps who may read it, when it is the user's own.
    struct stat old {};
    if (::fstatat(folder_.get(), name_.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0) {
        if (S_ISDIR(old.st_mode))
            throw RunError::fromErrno(EISDIR);
        if (!S_ISREG(old.st_mode) && !S_ISLNK(old.st_mode))
            throw notARegularFile(path_);
        if (S_ISREG(old.st_mode) && old.st_uid == ::geteuid() && access_ == OutputAccess::Shared)
            ::fchmod(fd_.get(), old.st_mode & 0777);
    }
    if (durability_ == OutputDurability::Flushed) {
        if (::fsync(fd_.get()) != 0)
            throw RunError::fromErrno(errno);
        if (output_file_testing::afterFlush)
            output_file_testing::afterFlush(path_);
    }
    // A file system may report a failed write only when the file is closed.
    if (fd_.closeNow() != 0)
        throw RunError::fromErrno(errno);

    // Whatever the name leads to now, by a link or as a second name of it, a
    // file being read is not replaced. Were it swapped in after this look,
    // the rename would still replace only the name.
    struct stat target {};
    if (::fstatat(folder_.get(), name_.c_str(), &target, 0) == 0
        && std::any_of(readFiles_.begin(), readFiles_.end(),
                       [&](const FileIdentity& read) { return identityOf(target) == read; }))
        throw fileBeingRead(path_);
    if (output_file_testing::beforeRename)
        output_file_testing::beforeRename(path_);
    if (::renameat(folder_.get(), temporaryName_.c_str(), folder_.get(), name_.c_str()) != 0)
        throw RunError::fromErrno(errno, /*creating=*/true);
    temporaryName_.clear();
    unregisterPending(std::exchange(pendingSlot_, -1));
    discard();
}

void OutputFile::discard() noexcept
{
    fd_.reset();
    if (!temporaryName_.empty() && folder_.valid())
        ::unlinkat(folder_.get(), temporaryName_.c_str(), 0);
    temporaryName_.clear();
    unregisterPending(std::exchange(pendingSlot_, -1));
    folder_.reset();
}

void writeFileSafely(const std::string& path, const std::vector<std::uint8_t>& bytes,
                     const std::vector<FileIdentity>& readFiles, OutputAccess access, OutputDurability durability)
{
    OutputFile out(path, readFiles, access, durability);
    out.write(bytes);
    out.commit();
}

void removeUnfinishedOutputsOnSignals()
{
    struct sigaction action {};
    action.sa_handler = removePendingAndEnd;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

}  // namespace pagelark
