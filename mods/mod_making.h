#pragma once

#include "mods/mod_archive.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pagelark {

class ByteFile;
struct PageFile;

// The mod that makes the changed page file of its original, both read with
// readPageFile from these files: the plan (see planMod, whose refusals it
// passes on), the members that hold its bytes, and the manifest with both
// files' facts, the result's header and the original's game when its header
// tells. Pictures are the caller's.
ModContents modContentsOfFiles(const PageFile& original, ByteFile& originalFile, const PageFile& changed,
                               ByteFile& changedFile, const std::string& programVersion);

// Reads the zip of a mod as patch reads it and applies it to the original
// in memory; a mod that does not make the file its manifest describes is
// refused with a RunError. The original's own facts are not checked.
void checkModResult(const std::vector<std::uint8_t>& zip, const PageFile& original, ByteFile& originalFile);

}  // namespace pagelark
