#include "archive/folder_safety.h"

#include <sys/stat.h>
#include <unistd.h>

namespace pagelark {

bool othersCanChange(uid_t owner, mode_t mode)
{
    const bool othersOwn = owner != ::geteuid() && owner != 0;
    const bool sharedWritable = (mode & (S_IWGRP | S_IWOTH)) != 0 && (mode & S_ISVTX) == 0;
    return othersOwn || sharedWritable;
}

}  // namespace pagelark
