#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace pagelark {

// What makes a file the same file under any of its names: its device and
// inode. Links, hard or symbolic, lead to the identity of their target.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file a name leads to, following links; nothing when it
// leads to no file.
std::optional<FileIdentity> identityOf(const std::string& path);

// Whether writing under this name would write into the file of that identity.
bool wouldWriteInto(const std::string& path, const std::optional<FileIdentity>& file);

}  // namespace pagelark
