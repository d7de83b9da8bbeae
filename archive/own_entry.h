#pragma once

#include <string>
#include <sys/types.h>

struct stat;

namespace pagelark {

// Why the entry lstat described is not the user's own of this type (S_IFREG,
// S_IFDIR, named typeName in the reason): "is a link", "is not a <typeName>"
// or "belongs to another user"; empty when it is. What others may do with it
// is the caller's to judge, as each kind of private place asks something else.
std::string whyNotOwnEntry(const struct stat& info, mode_t type, const std::string& typeName);

}  // namespace pagelark
