#pragma once

#include "archive/chunk_table.h"
#include "pictures/decoded_picture.h"
#include "pictures/palette.h"
#include "pictures/pixel_grid.h"

namespace pagelark {

// Raises "the picture is 65 by 64 pixels; walls and sprites are 64 by 64"
// for any other size, so a reader can refuse a picture before decoding it.
void requireGridSize(int width, int height);

// How colours that are not the palette's are shown: each by the nearest
// palette colour (flat areas stay flat, as pixel art needs), or dithered, the
// errors spread to the neighbours so that the mean colour of an area stays
// (photographs and gradients, which the nearest colours turn into bands).
enum class ColorMatching { Nearest, Dithered };

// The grid a decoded picture stands for as a wall or a sprite.
// - An indexed picture whose colour table is the palette (every opaque entry
//   has the colour of the palette's entry of its index; a table may be
//   shorter than 256) keeps its indices, as the program's own files need.
//   A pixel whose entry is less than half opaque is a sprite's background
//   (255); a wall cannot have one.
// - Any other picture, an indexed one with a colour table of its own
//   included (what image editors write), has each pixel's colour matched to
//   the palette: a less than half opaque pixel is a sprite's background or
//   an error in a wall; a pixel that has the colour of the base grid's index
//   in its place keeps that index (several indices share a colour, and the
//   base says which one the chunk used); every other pixel takes the palette
//   colour matching gives, never 255 in a sprite. Nearest takes the nearest
//   colour, the lowest index among equals.
// Raises a RunError saying what is wrong, without the file's name.
PixelGrid gridFromPicture(const DecodedPicture& picture, ItemKind kind, const Palette& palette, const PixelGrid* base,
                          ColorMatching matching = ColorMatching::Nearest);

}  // namespace pagelark
