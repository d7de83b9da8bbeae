#pragma once

#include "archive/file_descriptor.h"
#include "archive/file_identity.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace pagelark {

// The names the window gives its working copies, the edited copies too:
// "vswap" followed by decimal digits and nothing else.
bool isWorkingCopyName(std::string_view name);
// The names of their marks: a working copy's name and ".pagelark".
bool isWorkingCopyMarkName(std::string_view name);

// The working copy of the opened file, programDir + "vswap" + N, as one
// running instance holds it. The holder keeps a descriptor of the copy with
// an exclusive lock (flock) on it for as long as the copy is its own; the
// lock tells every other instance that the copy is in use and goes with the
// process, however that ends. Beside each copy lies its mark, "vswap" + N +
// ".pagelark", naming the copy's device and inode: what shows that the file
// under that name is a copy the program made. A marked copy that nobody
// holds was left by a run that has ended, and the next first copy of a run
// deletes it; a file without its mark is the user's and stays.
class WorkingCopyFile {
public:
    // Receives a new copy's bytes, in order.
    using ByteSink = std::function<void(const std::uint8_t* data, std::size_t count)>;
    using ByteWriter = std::function<void(const ByteSink& sink)>;

    WorkingCopyFile() = default;
    // Lets go of the copy without deleting it; the next run removes it.
    ~WorkingCopyFile() = default;
    WorkingCopyFile(const WorkingCopyFile&) = delete;
    WorkingCopyFile& operator=(const WorkingCopyFile&) = delete;

    bool held() const { return lock_.valid(); }
    // The held copy's full name; empty when none is held.
    const std::string& name() const { return name_; }
    // The held copy's identity; nothing when none is held.
    std::optional<FileIdentity> identity() const;

    // Makes the copy hold the bytes of the file `from`. The copy held is
    // refilled under its name. Otherwise, or when its name no longer leads to
    // it, copies nobody holds are deleted from programDir and a new copy is
    // made under the first free name, never through a symbolic link and never
    // over a name another instance took meanwhile. A source that cannot be
    // read fails before anything else happens.
    void fill(const std::string& programDir, const std::string& from);

    // Makes a new copy, marked and locked as fill makes one, under the first
    // free name, holding the bytes `write` passes to its sink. Stale copies
    // are left to the next first fill. A copy held before is let go of; a
    // write that fails leaves no copy.
    void create(const std::string& programDir, const ByteWriter& write);

    // Deletes the held copy, when its name still leads to it, and lets go of it.
    void remove() noexcept;

private:
    // Takes the first free name in programDir for a new, empty copy.
    void claimName(const std::string& programDir);
    void release() noexcept;

    FileDescriptor lock_;
    std::string name_;
    std::string markName_;
};

}  // namespace pagelark
