#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct stat;

namespace pagelark {

// What makes a file the same file under any of its names: its device and
// inode. Links, hard or symbolic, lead to the identity of their target.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file that fstat, stat or lstat described.
FileIdentity identityOf(const struct stat& info);

// Whether two descriptions from stat are of one file.
bool sameIdentity(const struct stat& first, const struct stat& second);

// The identity of the file a name leads to, following links; nothing when it
// leads to no file.
std::optional<FileIdentity> identityOf(const std::string& path);

// Whether writing under this name would write into the file of that identity.
bool wouldWriteInto(const std::string& path, const std::optional<FileIdentity>& file);

}  // namespace pagelark
