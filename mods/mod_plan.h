#pragma once

#include "archive/chunk_table.h"
#include "archive/stored_table.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace pagelark {

class ByteFile;
struct PageFile;

// Which wall, sprite or sound of a changed page file differs from its
// original, and how: what a plan's replacement and a manifest's entry both
// say of it, so that one is made of the other whole.
struct ChunkChange {
    ItemKind kind = ItemKind::Wall;
    std::int32_t number = 0;  // within the kind
    std::int32_t index = 0;   // its chunk in the changed file; a sound's first page
    bool added = false;       // a number beyond the original's last of its kind
    // A wall or sprite may be absent (offset 0), with the length its table gives it.
    bool absent = false;

    bool operator==(const ChunkChange&) const = default;
};

// A wall, sprite or sound of a changed page file that its original does not
// have as it is, by its kind and its number within the kind.
struct ChunkReplacement : ChunkChange {
    std::uint16_t absentLength = 0;   // when absent
    std::vector<std::uint8_t> bytes;  // a wall's or sprite's chunk, a sound's samples

    bool operator==(const ChunkReplacement&) const = default;
};

// Bytes of the changed file that lie outside every chunk and its table (in
// a gap between chunks, or after the last), where the original with its
// replacements has others.
struct ResultBytes {
    std::int64_t offset = 0;
    std::vector<std::uint8_t> bytes;

    bool operator==(const ResultBytes&) const = default;
};

struct SoundTable {
    std::vector<SoundEntry> entries;
    bool terminated = false;

    bool operator==(const SoundTable&) const = default;
};

// What makes a changed page file of its original: the replacements (walls,
// then sprites, then sounds, each kind by number), and where the file's
// structure differs from what they give, the sound entries, the length of
// what follows the last chunk and the bytes outside the chunks.
struct ModPlan {
    std::vector<ChunkReplacement> replacements;
    std::optional<SoundTable> soundTable;
    std::optional<std::int64_t> trailingLength;
    std::vector<ResultBytes> resultBytes;  // by offset, none overlapping another

    bool operator==(const ModPlan&) const = default;
};

// The plan that makes `changed` of `original`, both read with readPageFile
// from these files. A chunk is compared with the chunk of the same kind and
// number, so that a sound grown, and the sounds it moves, are one change.
// The plan is checked before it is given: written with writePageFile, the
// original with the plan applied is the changed file byte for byte. A file
// that cannot be made so (fewer walls, sprites or sounds, another layout, a
// sound information or a page no sound holds of other bytes, more than a
// mod may hold) raises a RunError that says why.
ModPlan planMod(const PageFile& original, ByteFile& originalFile, const PageFile& changed, ByteFile& changedFile);

}  // namespace pagelark
