#pragma once

#include "archive/file_descriptor.h"
#include "archive/file_identity.h"
#include "archive/run_error.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pagelark {

// Who may read a file the program writes: the user's saved files follow the
// user's umask; the program's own files (working copies, previews) are the
// user's alone.
enum class OutputAccess { Shared, Private };

// Whether a committed file is flushed to disk before it replaces the old
// one, so that after a crash the name holds the old file or the whole new
// one. A page file is; the hundreds of small files of one save, whose source
// stays at hand, are not, which keeps a save as fast as plain writing.
enum class OutputDurability { Flushed, Ordinary };

// A file written whole or not at all. Its bytes go to a new temporary file in
// the target's folder, made with O_EXCL and O_NOFOLLOW, so nothing planted
// there is ever written through; commit() renames it over the target, which
// replaces the name itself, never the file a link or an earlier name leads
// to. A file that is not committed, after an error or a terminating signal,
// is removed, and the old target stays as it was.
//
// The folder must be one nobody else can write to, unless it is sticky (as
// /tmp is): there another user could swap the files under its names.
// The target may not be one of the files being read, by any name or link,
// nor anything but a regular file or a link.
class OutputFile {
public:
    explicit OutputFile(std::string path, std::vector<FileIdentity> readFiles = {},
                        OutputAccess access = OutputAccess::Shared,
                        OutputDurability durability = OutputDurability::Ordinary);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void write(const std::uint8_t* data, std::size_t count);
    void write(const std::vector<std::uint8_t>& bytes) { write(bytes.data(), bytes.size()); }
    // The temporary file, for a writer that writes by itself (Qt's image
    // writer), after what write() took; it must leave the descriptor open.
    int descriptor();
    // Renames the finished file into place; after an error nothing has changed.
    void commit();
    const std::string& path() const { return path_; }

private:
    void discard() noexcept;
    void flushBuffer();

    std::string path_;
    std::string name_;  // the target's name within its folder
    std::string temporaryName_;
    std::vector<FileIdentity> readFiles_;
    OutputAccess access_;
    OutputDurability durability_;
    FileDescriptor folder_;
    FileDescriptor fd_;
    int pendingSlot_ = -1;
    // Small writes, a page file's chunk by chunk, go out in large ones.
    std::vector<std::uint8_t> buffer_;
};

// Writes bytes to path through an OutputFile.
void writeFileSafely(const std::string& path, const std::vector<std::uint8_t>& bytes,
                     const std::vector<FileIdentity>& readFiles = {}, OutputAccess access = OutputAccess::Shared,
                     OutputDurability durability = OutputDurability::Ordinary);

// Whether a file name is of the kind OutputFile gives its temporary files,
// ".NAME.pagelark-" and eight letters or digits.
bool isTemporaryOutputName(std::string_view name);

// The refusal of a target that is one of the files being read.
RunError fileBeingRead(const std::string& path);

// For a program that ends on SIGTERM, SIGINT and SIGHUP by their default
// action: removes the temporary file of any output under way first, then
// ends by the same signal. The window routes these signals through its
// event loop instead, where no output is ever half written.
void removeUnfinishedOutputsOnSignals();

// For tests. beforeRename is called between the last check of the target and
// the rename, so that a test can swap something in exactly there; afterFlush
// right after a Flushed output's bytes reached the disk, so that a test can
// see that this comes before the rename. Each gets the target's path.
namespace output_file_testing {
extern void (*beforeRename)(const std::string& path);
extern void (*afterFlush)(const std::string& path);
}  // namespace output_file_testing

}  // namespace pagelark
