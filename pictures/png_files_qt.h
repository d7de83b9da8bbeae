#pragma once

#include "pictures/palette.h"
#include "pictures/pixel_grid.h"

#include <cstdint>
#include <string>
#include <vector>

class QImage;

namespace pagelark {

// The grid as an 8-bit indexed PNG in these colours, its pixels the grid's
// palette indices, the colour table the palette's 256 colours. A sprite's
// background index 255 is made transparent through the PNG's transparency
// chunk; a wall's index 255 is a colour like any other.
std::vector<std::uint8_t> indexedPngBytes(const PixelGrid& grid, const Palette& palette, bool transparentBackground);

// The bytes of a picture as a PNG file.
std::vector<std::uint8_t> pngBytes(const QImage& image);

}  // namespace pagelark
