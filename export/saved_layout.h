#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace pagelark {

// What a folder of saved chunks needs besides the chunk files to be packed
// back into the page file it came from, byte for byte: the file's first
// sprite and first sound, the walls and sprites that are absent or too short
// to be listed, the chunks whose bytes a picture cannot give back, and
// whether the sound information ends with an entry of zeros. `save` of every
// chunk writes it as "vswap-layout.txt" beside the chunk files; `pack`
// reads it. A folder without it is packed from its files alone.
//
// The file is text, a fact per line, "#" starting a comment:
//   sprite-start 106
//   sound-start 542
//   absent 12 0                 a chunk with offset 0, and the length its table records
//   short 300 7A                a present chunk of 0 or 1 byte, its bytes in hexadecimal
//   raw 140 9c1e0a54f2b3d6e7 HEX  a chunk's own bytes, for a picture whose grid has this
//                               fingerprint ("-" for a sprite that does not decode); pack
//                               takes them when the picture file still shows that grid
//   sound-info terminated
struct SavedLayout {
    struct Raw {
        std::optional<std::uint64_t> gridFingerprint;
        std::vector<std::uint8_t> bytes;
    };

    std::int32_t spriteStart = 0;
    std::int32_t soundStart = 0;
    std::map<std::int32_t, std::uint16_t> absent;
    std::map<std::int32_t, std::vector<std::uint8_t>> shortChunks;
    std::map<std::int32_t, Raw> raw;
    bool soundInfoTerminated = false;
};

constexpr const char* SavedLayoutFileName = "vswap-layout.txt";

std::string savedLayoutText(const SavedLayout& layout);

// Raises a RunError naming the line that cannot be read.
SavedLayout parseSavedLayout(const std::string& text);

// A fingerprint of a grid's 4096 cells (64-bit FNV-1a): equal grids have equal
// fingerprints, and an edit of a picture changes it but by a fluke of one in 2^64.
std::uint64_t gridFingerprint(const std::uint8_t* cells, std::size_t count);

}  // namespace pagelark
