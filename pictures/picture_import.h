#pragma once

#include "archive/chunk_table.h"
#include "pictures/decoded_picture.h"
#include "pictures/palette.h"
#include "pictures/pixel_grid.h"

namespace pagelark {

// Raises "the picture is 65 by 64 pixels; walls and sprites are 64 by 64"
// for any other size, so a reader can refuse a picture before decoding it.
void requireGridSize(int width, int height);

// The grid a decoded picture stands for as a wall or a sprite.
// - An indexed picture keeps its indices. A pixel whose colour-table entry is
//   less than half opaque is a sprite's background (255); a wall cannot have one.
// - Any other picture has each pixel's colour matched to the palette: a less
//   than half opaque pixel is a sprite's background or an error in a wall; a
//   pixel that has the colour of the base grid's index in its place keeps that
//   index (several indices share a colour, and the base says which one the
//   chunk used); every other pixel takes the nearest palette colour, the
//   lowest index among equals, never 255 in a sprite.
// Raises a RunError saying what is wrong, without the file's name.
PixelGrid gridFromPicture(const DecodedPicture& picture, ItemKind kind, const Palette& palette, const PixelGrid* base);

}  // namespace pagelark
