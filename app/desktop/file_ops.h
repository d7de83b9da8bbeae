#pragma once

#include "archive/file_descriptor.h"

#include <cstddef>
#include <string>
#include <sys/types.h>

namespace pagelark {

// Opens a file to copy from. Only a regular file will do: a pipe or a
// device could block the program or never end. A missing file is "File not
// found", a folder "File access denied".
FileDescriptor openCopySource(const std::string& path);

// Makes the target's bytes those of the source, whatever either's position.
// When both are one file nothing is written.
void copyFileContents(int source, int target);

// Writes count bytes at position `at`, however many writes it takes.
void writeAllAt(int fd, const void* data, std::size_t count, off_t at);

// Deletes a file if it can; a name that is empty or names no file is fine.
void deleteFileQuietly(const std::string& path);

// Whether the name is, itself and not through a symbolic link, the file open
// on the descriptor.
bool nameLeadsTo(const std::string& path, int fd);

}  // namespace pagelark
