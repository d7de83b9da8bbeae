#pragma once

#include "archive/page_file.h"

#include <compare>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace pagelark {

// What a folder of saved chunks needs besides the chunk files to be packed
// back into the page file it came from, byte for byte. `save` of every chunk
// writes it as "vswap-layout.txt" beside the chunk files, with the bytes no
// file and no line can hold (chunks a picture cannot give back, bytes
// between and after the chunks) in "vswap-layout.bin", which holds only
// bytes of the page file and so is never longer than it; `pack` reads both.
// A folder without them is packed from its files alone.
//
// The text holds a fact per line, "#" starting a comment. Chunks are named
// by kind and number, so that a line stays true when walls or sprites are
// added: "wall 12", "sprite 3", "page 40" (a chunk from the sound start on,
// counted from there), "sound-info". Bytes kept in the binary file are given
// as their offset there and their length.
//   sprite-start 106
//   sound-start 542
//   pages 120                       the chunks from the sound start to the sound information
//   absent sprite 12 0              offset 0 in the table, and the length the table records
//   short wall 300 7A               a chunk of 0 or 1 byte, in hexadecimal ("-" for none)
//   raw sprite 34 9c1e0a54f2b3d6e7 0 15
//                                   a chunk's own bytes, for a picture (or the sound of a
//                                   page) with this fingerprint, "-" for none; pack takes them
//                                   while the file still shows what it showed when saved
//   sound 16 30 5000                sound 16's entry: its first page and its length
//   sound-info terminated           the sound entries end with four zero bytes
//   sound-info-bytes 15 184         the sound information's own bytes, when not just its entries
//   place wall 0 3942               in a file not laid out as the games lay theirs: every
//   place page 3 12 27              chunk in the file's order, the count of bytes before it
//   place sound-info 0              (zeros, or kept bytes at the offset given last)
//   trailing 39 212                 the bytes after the last chunk
// Layout files of earlier versions name chunks by their index ("absent 12
// 0", "raw 140 FINGERPRINT HEX") and record no pages or sounds; they are read
// as they always were.
enum class LayoutKind { Wall, Sprite, Page, SoundInfo };

struct ChunkName {
    LayoutKind kind = LayoutKind::Wall;
    std::int32_t number = 0;
    auto operator<=>(const ChunkName&) const = default;
};

// A run of the layout's binary file.
struct KeptBytes {
    std::int64_t at = 0;
    std::int64_t length = 0;
};

struct SavedLayout {
    struct Absent {
        std::uint16_t length = 0;
        int line = 0;
    };
    struct Short {
        std::vector<std::uint8_t> bytes;
        int line = 0;
    };
    struct Raw {
        std::optional<std::uint64_t> fingerprint;
        std::vector<std::uint8_t> inlineBytes;  // as layout files of earlier versions hold them
        std::optional<KeptBytes> kept;
        int line = 0;
    };
    struct Place {
        ChunkName chunk;
        std::int64_t gap = 0;
        std::optional<KeptBytes> gapBytes;  // none: zeros
        int line = 0;
    };

    std::int32_t spriteStart = 0;
    std::int32_t soundStart = 0;
    int spriteStartLine = 0;
    int soundStartLine = 0;
    // Set by this version's save, with the sounds' entries; without it the
    // sounds follow from their files, numbered from 0 without gaps.
    std::optional<std::int32_t> pages;
    std::map<ChunkName, Absent> absent;
    std::map<ChunkName, Short> shortChunks;
    std::map<ChunkName, Raw> raw;
    std::vector<SoundEntry> sounds;
    bool soundInfoTerminated = false;
    std::optional<KeptBytes> soundInfoBytes;
    std::vector<Place> places;  // in the file's order; none: laid out as the games lay theirs
    std::optional<KeptBytes> trailing;
};

constexpr const char* SavedLayoutFileName = "vswap-layout.txt";
constexpr const char* SavedLayoutBytesFileName = "vswap-layout.bin";
// Far more than any layout file save writes: a line or three for each of
// the most chunks a table holds and one for each of the most sounds.
constexpr std::int64_t LongestSavedLayout = 8 * 1024 * 1024;

std::string savedLayoutText(const SavedLayout& layout);

// Raises a RunError naming the line that cannot be read, and the fact that is missing.
SavedLayout parseSavedLayout(const std::string& text);

// The word a layout line names a kind of chunk by: "wall", "sprite", "page", "sound-info".
const char* layoutKindWord(LayoutKind kind);

// A fingerprint of the pixels or samples a chunk file shows (64-bit FNV-1a):
// equal contents have equal fingerprints, and an edit changes it but by a
// fluke of one in 2^64.
std::uint64_t contentFingerprint(const std::uint8_t* bytes, std::size_t count);

}  // namespace pagelark
