#pragma once

#include <array>
#include <cstdint>

namespace pagelark::tools {

// A 64 x 64 picture of palette indices, cell (x, y) at x * 64 + y as the
// chunks store it; Transparent marks cells a sprite leaves uncovered.
constexpr int PictureSide = 64;
constexpr int PictureCells = PictureSide * PictureSide;
constexpr std::int16_t Transparent = -1;
using Picture = std::array<std::int16_t, PictureCells>;

constexpr std::size_t pictureCell(int x, int y) { return static_cast<std::size_t>(x * PictureSide + y); }

}  // namespace pagelark::tools
