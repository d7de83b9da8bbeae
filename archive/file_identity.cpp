#include "archive/file_identity.h"

#include <sys/stat.h>

namespace pagelark {

FileIdentity identityOf(const struct stat& info)
{
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

bool sameIdentity(const struct stat& first, const struct stat& second)
{
    return identityOf(first) == identityOf(second);
}

std::optional<FileIdentity> identityOf(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return identityOf(info);
}

bool wouldWriteInto(const std::string& path, const std::optional<FileIdentity>& file)
{
    return file && identityOf(path) == file;
}

}  // namespace pagelark
