#include "archive/regular_file.h"

#include "archive/run_error.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <linux/magic.h>
#include <sys/sysmacros.h>
#include <sys/vfs.h>

namespace pagelark {

namespace {

// File systems whose files are the kernel's windows on itself, not data.
constexpr std::array<long, 10> KernelFileSystems = {
    PROC_SUPER_MAGIC,   SYSFS_MAGIC,         DEBUGFS_MAGIC, SECURITYFS_MAGIC, TRACEFS_MAGIC,
    CGROUP_SUPER_MAGIC, CGROUP2_SUPER_MAGIC, BPF_FS_MAGIC,  PSTOREFS_MAGIC,   EFIVARFS_MAGIC,
};

}  // namespace

void requireRegularFile(int fd, const std::string& path, struct stat& info)
{
    if (::fstat(fd, &info) != 0)
        throw RunError::fromErrno(errno);
    if (S_ISDIR(info.st_mode))
        throw RunError::fromErrno(EISDIR);
    if (!S_ISREG(info.st_mode))
        throw notARegularFile(path);
    // The kernel's file systems have no device of their own: their device
    // numbers are anonymous ones, of major number 0. Only a file on such a
    // device is asked which file system holds it.
    struct statfs system {};
    if (major(info.st_dev) == 0 && ::fstatfs(fd, &system) == 0
        && std::find(KernelFileSystems.begin(), KernelFileSystems.end(), static_cast<long>(system.f_type))
            != KernelFileSystems.end())
        throw notARegularFile(path);
}

}  // namespace pagelark
