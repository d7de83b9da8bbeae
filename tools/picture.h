#pragma once

#include "pictures/pixel_grid.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <stdexcept>

namespace pagelark::tools {

// A 64 x 64 picture of palette indices, cell (x, y) at x * 64 + y as the
// chunks store it; Transparent marks cells a sprite leaves uncovered.
constexpr int PictureSide = 64;
constexpr int PictureCells = PictureSide * PictureSide;
constexpr std::int16_t Transparent = -1;
using Picture = std::array<std::int16_t, PictureCells>;

constexpr std::size_t pictureCell(int x, int y) { return static_cast<std::size_t>(x * PictureSide + y); }

// The grid a sprite of this picture is encoded from: Transparent becomes the
// sprite background 255. A cell of 255 would turn transparent, and one
// outside the palette has no index, so both are refused.
inline PixelGrid spriteGrid(const Picture& picture)
{
    PixelGrid grid{};
    std::transform(picture.begin(), picture.end(), grid.begin(), [](std::int16_t cell) {
        if (cell < Transparent || cell >= EmptyIndex)
            throw std::invalid_argument("a sprite cell must be a palette index below 255 or transparent");
        return cell == Transparent ? EmptyIndex : static_cast<std::uint8_t>(cell);
    });
    return grid;
}

}  // namespace pagelark::tools
