#include "archive/file_identity.h"

#include <sys/stat.h>

namespace pagelark {

std::optional<FileIdentity> identityOf(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

bool wouldWriteInto(const std::string& path, const std::optional<FileIdentity>& file)
{
    return file && identityOf(path) == file;
}

}  // namespace pagelark
