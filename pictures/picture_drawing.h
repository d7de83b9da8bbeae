#pragma once

#include "pictures/canvas.h"
#include "pictures/palette.h"
#include "pictures/pixel_grid.h"

#include <cstdint>
#include <string>

namespace pagelark {

// The picture view is 320 x 320 pixels; the off-screen surface 64 x 64.
constexpr int ViewSide = 320;

// Fills the whole view with the window's colour.
void clearPicture(Canvas& view, PackedColor windowColor);

// Draws the grid 1:1 into the off-screen surface and copies it, five times
// enlarged, into the view.
void drawSpritePicture(const PixelGrid& grid, const Palette& palette, Canvas& offscreen, Canvas& view);

// Draws the grid as 5 x 5 blocks, or in the background mode as 3 x 3 blocks
// in (64, 64, 256, 256), with its edges repeated at the sides, the ceiling
// colour above and the floor colour (palette entry 25) below.
void drawWallPicture(const PixelGrid& grid, const Palette& palette, bool backgroundMode, PackedColor ceilingColor,
                     Canvas& view);

// The highest palette index whose colour equals the view's pixel at (x, y),
// 0 when none does.
int colorIndexAt(const Canvas& view, int x, int y, const Palette& palette);

// The coordinate read-out under the pointer: grid cell "x,y" for a picture
// (or before anything is shown), position and level "p,l" for a sound plot.
std::string pointerPositionText(bool picture, std::int32_t x, std::int32_t y);

// The level a ceiling value stands for: "1:1" .. "6:10" for Wolfenstein 3D,
// "1" .. "21" for Spear of Destiny.
std::string ceilingLevelText(std::int32_t ceilingValue, bool spearOfDestiny);

}  // namespace pagelark
