#pragma once

#include <sys/stat.h>

#include <string>

namespace pagelark {

// Checks that the file open on fd is one to read as data: a folder is "File
// access denied"; a device, a pipe or a socket may never end or never deliver
// a byte, and a file of the kernel's (proc, sys and their kind) may block or
// change the system by being read: these are refused, naming the path. The
// file's status is left in info.
void requireRegularFile(int fd, const std::string& path, struct stat& info);

}  // namespace pagelark
