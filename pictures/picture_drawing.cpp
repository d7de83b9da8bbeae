#include "pictures/picture_drawing.h"

namespace pagelark {

namespace {

constexpr int PlainBlock = 5;
constexpr int FramedBlock = 3;
// In the background mode the picture covers (64, 64, 256, 256); the margins
// left and right are 64 pixels wide, the ceiling and floor bands 64 high.
constexpr int Margin = 64;
constexpr int FramedEnd = Margin + FramedBlock * GridSide;
constexpr int PlotLevelTop = 30;      // rows up to here are above the level scale
constexpr int PlotLevelBottom = 289;  // rows from here on are below it
constexpr int HighestLevel = 99;

}  // namespace

void clearPicture(Canvas& view, PackedColor windowColor) { view.fillRect({0, 0, ViewSide, ViewSide}, windowColor); }

void drawSpritePicture(const PixelGrid& grid, const Palette& palette, Canvas& offscreen, Canvas& view)
{
    for (int x = 0; x < GridSide; ++x) {
        for (int y = 0; y < GridSide; ++y)
            offscreen.setPixel(x, y, palette[grid[gridCell(x, y)]]);
    }
    view.copyRect(offscreen, {0, 0, GridSide, GridSide}, {0, 0, ViewSide, ViewSide});
}

void drawWallPicture(const PixelGrid& grid, const Palette& palette, bool backgroundMode, PackedColor ceilingColor,
                     Canvas& view)
{
    // The grid 1:1, then enlarged in one stretched copy: filling each of the
    // 4096 blocks as a rectangle of its own was most of the time a wall took.
    Canvas picture(GridSide, GridSide);
    for (int x = 0; x < GridSide; ++x) {
        for (int y = 0; y < GridSide; ++y)
            picture.setPixel(x, y, palette[grid[gridCell(x, y)]]);
    }
    const int block = backgroundMode ? FramedBlock : PlainBlock;
    const int origin = backgroundMode ? Margin : 0;
    const int end = origin + block * GridSide;
    view.copyRect(picture, {0, 0, GridSide, GridSide}, {origin, origin, end, end});
    if (!backgroundMode)
        return;

    // The wall seems to go on to both sides: its right edge is repeated in the
    // left margin and its left edge in the right margin.
    view.copyRect(view, {FramedEnd - Margin, Margin, FramedEnd, FramedEnd}, {0, Margin, Margin, FramedEnd});
    view.copyRect(view, {Margin, Margin, 2 * Margin, FramedEnd}, {FramedEnd, Margin, ViewSide, FramedEnd});
    view.fillRect({0, 0, ViewSide, Margin}, ceilingColor);
    view.fillRect({0, FramedEnd, ViewSide, ViewSide}, palette[FloorIndex]);
}

int colorIndexAt(const Canvas& view, int x, int y, const Palette& palette)
{
    const PackedColor color = view.pixel(x, y);
    int found = 0;
    for (int i = 0; i < PaletteSize; ++i) {
        if (palette[static_cast<std::size_t>(i)] == color)
            found = i;
    }
    return found;
}

std::string pointerPositionText(bool picture, std::int32_t x, std::int32_t y)
{
    // 64-bit arithmetic, so no position can overflow; divisions truncate
    // toward zero like the read-out always did.
    const std::int64_t px = x;
    const std::int64_t py = y;
    if (picture)
        return std::to_string(px / PlainBlock) + "," + std::to_string(py / PlainBlock);

    const std::int64_t position = 10 * px / 32;
    // The level scale runs from 99 at row 31 to 0 at row 288; above it the
    // read-out stays at the top level and below it at 0.
    std::int64_t level = 0;
    if (py <= PlotLevelTop)
        level = HighestLevel;
    else if (py < PlotLevelBottom)
        level = (290 - py) * 10 / 26;
    return std::to_string(position) + "," + std::to_string(level);
}

std::string ceilingLevelText(std::int32_t ceilingValue, bool spearOfDestiny)
{
    const std::int64_t value = ceilingValue;
    if (spearOfDestiny)
        return std::to_string(value - 69);
    return std::to_string(value / 10) + ":" + std::to_string(value % 10 + 1);
}

}  // namespace pagelark
