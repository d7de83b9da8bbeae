#pragma once

#include "pictures/nearest_colors.h"
#include "pictures/pixel_grid.h"

#include <array>

namespace pagelark {

// A 64 x 64 picture's colours in rows: pixel (x, y) is element y * 64 + x.
using PictureColors = std::array<PackedColor, GridCells>;
// For each pixel in rows, the index already decided for it (a sprite's
// background, a colour kept from the base), or NotDecided.
constexpr int NotDecided = -1;
using DecidedCells = std::array<int, GridCells>;

// The grid of palette indices that shows the colours best on average:
// Floyd-Steinberg error diffusion, each row scanned the other way from the
// one before, so that the error does not drift to one side. A decided pixel
// keeps its index and passes no error on; each other pixel takes the
// nearest colour to its own with the error of its neighbours added.
// The same colours always give the same grid.
PixelGrid ditheredGrid(const PictureColors& colors, const DecidedCells& decided, NearestColors& nearest,
                       const Palette& palette);

}  // namespace pagelark
