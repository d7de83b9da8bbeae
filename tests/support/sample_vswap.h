#pragma once

#include <cstdint>
#include <vector>

namespace pagelark::testing {

// A file laid out like the registered game's: 663 chunks, 106 walls (wall
// byte n of wall i is (i + n) mod 256), 436 sprites (sprite s a bar in
// column s mod 60 + 2, rows 10..20, of index s mod 256), and 46 sounds over
// 120 pages of 1000 bytes each (sounds 0..27 three pages, the rest two).
std::vector<std::uint8_t> fullSizeVswap();

constexpr int FullSizeWalls = 106;
constexpr int FullSizeSprites = 436;
constexpr int FullSizeSounds = 46;
constexpr int FullSizeSoundStart = 542;

}  // namespace pagelark::testing
