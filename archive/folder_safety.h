#pragma once

#include <sys/types.h>

namespace pagelark {

// Whether users other than the owner, and root, could rename, replace or
// delete what a folder holds: a folder of another user's, or one others may
// write to that is not sticky (a sticky folder such as /tmp lets each user
// touch only their own entries).
bool othersCanChange(uid_t owner, mode_t mode);

}  // namespace pagelark
