#pragma once

#include <cstdint>
#include <vector>

namespace pagelark::testing {

// A file laid out like the registered game's, by the program's own writer:
// 663 chunks, 106 walls (wall byte n of wall i is (i + n) mod 256), 436
// sprites (sprite s a bar in column s mod 60 + 2, rows 10..20, of index
// s mod 255, as 255 is the transparent background), and 46 sounds over 120
// pages of 4096 bytes, the last page of each holding the rest (sounds 0..27
// of 9000 bytes on three pages, the rest of 5000 bytes on two), byte n of
// sound k being fullSizeSoundByte(k, n).
std::vector<std::uint8_t> fullSizeVswap();

constexpr int FullSizeWalls = 106;
constexpr int FullSizeSprites = 436;
constexpr int FullSizeSounds = 46;
constexpr int FullSizeSoundStart = 542;
constexpr int FullSizeLongSounds = 28;

constexpr std::size_t fullSizeSoundLength(int k) { return k < FullSizeLongSounds ? 9000 : 5000; }

// Varied within a page and from page to page and sound to sound.
constexpr std::uint8_t fullSizeSoundByte(int k, std::size_t n)
{
    return static_cast<std::uint8_t>((static_cast<std::size_t>(k) * 41 + n * 7 + n / 4096 * 3) % 256);
}

}  // namespace pagelark::testing
