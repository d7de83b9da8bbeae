#include "archive/own_entry.h"

#include <sys/stat.h>
#include <unistd.h>

namespace pagelark {

std::string whyNotOwnEntry(const struct stat& info, mode_t type, const std::string& typeName)
{
    if (S_ISLNK(info.st_mode))
        return "is a link";
    if ((info.st_mode & S_IFMT) != type)
        return "is not a " + typeName;
    if (info.st_uid != ::geteuid())
        return "belongs to another user";
    return {};
}

}  // namespace pagelark
