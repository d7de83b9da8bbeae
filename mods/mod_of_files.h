#pragma once

#include "pictures/palette.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pagelark {

class ByteFile;
struct PageFile;
struct ModManifest;
struct FileFacts;

// A page file open for a mod, and the path messages name it by.
struct ModSide {
    std::string path;
    ByteFile& file;
};

// A mod as diff and the window write it.
struct MadeMod {
    std::vector<std::uint8_t> zip;
    // "4 walls changed, 1 sound added", or "no chunk changed".
    std::string summary;
    // The walls and sprites changed that have no picture ("sprite 3"): the
    // mod holds their bytes alone.
    std::vector<std::string> withoutPicture;
};

// The mod that makes the changed page file of the original: its zip, with a
// picture in these colours beside each changed wall's and sprite's bytes,
// read back and applied to the original in memory before it is given, so
// that a mod that would not give the changed file back byte for byte is
// refused, saying why, as is a changed file no mod can give back. Errors
// name the file they are about.
MadeMod madeMod(const ModSide& original, const ModSide& changed, const Palette& palette,
                const std::string& programVersion);

// The page file shown (`current`, whose chunks refer to `source`, as
// `shown` holds it written) with the mod of this file applied: refused,
// naming the files, for a mod that was not made for the page file shown, that
// does not make the file its manifest describes, or that changes bytes
// outside the chunks, which a page file does not hold.
PageFile modApplied(const std::string& modPath, const ModSide& shown, const PageFile& current, ByteFile& source);

// The bytes of a mod file, opened into `file` and read whole; refused
// unread, naming it, when it is longer than any mod.
std::vector<std::uint8_t> modFileBytes(ByteFile& file, const std::string& path);

// Refuses an original that is not the one the mod was made for, naming both
// files, both short hashes and the game the mod was made for when known.
void requireModOriginal(const FileFacts& facts, const std::string& originalPath, const std::string& modPath,
                        const ModManifest& manifest);

}  // namespace pagelark
