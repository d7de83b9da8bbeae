#pragma once

#include <string>

namespace pagelark {

// Copies a file's bytes to another name, replacing any file of that name.
// A source that cannot be read raises its I/O error ("File not found", ...);
// a target that cannot be made raises the error of creating it ("Invalid
// filename" for a missing folder). The source is only ever read: when both
// names lead to the same file nothing is written, since truncating the
// target would destroy the source.
void copyFileReplacing(const std::string& from, const std::string& to);

// Deletes a file if it can; a name that is empty or names no file is fine.
void deleteFileQuietly(const std::string& path);

// Whether anything (file or folder) exists under the name.
bool fileExists(const std::string& path);

// Whether both names lead to one and the same existing file.
bool sameFile(const std::string& first, const std::string& second);

}  // namespace pagelark
