#pragma once

#include "archive/chunk_table.h"
#include "pictures/pixel_grid.h"

#include <algorithm>
#include <optional>

namespace pagelark {

// How a sheet is laid out: pictures per row, and how many times each is enlarged.
struct SheetLayout {
    int columns = 16;
    int scale = 2;
};

constexpr int MostSheetColumns = 256;
constexpr int LargestSheetScale = 16;
// The widest and highest sheet drawn. It bounds a sheet to 256 megapixels,
// one byte each, and keeps it within what image viewers open.
constexpr int LargestSheetSide = 16384;

// The place of every cell: pictures are drawn from the left, row by row,
// each with its label below it, with a margin around and between them.
struct SheetGeometry {
    static constexpr int Margin = 8;
    static constexpr int LabelHeight = 16;

    SheetLayout layout;
    int count = 0;

    int pictureSide() const { return GridSide * layout.scale; }
    int cellWidth() const { return pictureSide() + Margin; }
    int cellHeight() const { return pictureSide() + LabelHeight + Margin; }
    int rows() const { return (count + layout.columns - 1) / layout.columns; }
    int width() const { return Margin + layout.columns * cellWidth(); }
    int height() const { return Margin + std::max(rows(), 1) * cellHeight(); }
    // The top left corner of the picture of cell k.
    int pictureLeft(int k) const { return Margin + (k % layout.columns) * cellWidth(); }
    int pictureTop(int k) const { return Margin + (k / layout.columns) * cellHeight(); }
};

// The geometry of a sheet of count pictures; a short file gets a sheet no
// wider than its pictures.
SheetGeometry sheetGeometry(SheetLayout layout, int count);

// At this scale, the layout of count pictures that fits within
// LargestSheetSide with the column count nearest to wantedColumns; nothing
// when no column count fits.
std::optional<SheetLayout> fittingLayoutAtScale(int count, int scale, int wantedColumns);

// The largest scale at which count pictures fit, with the column count
// nearest to wantedColumns; nothing when they fit at no scale.
std::optional<SheetLayout> largestFittingLayout(int count, int wantedColumns);

// Refuses, before anything large is allocated, a layout outside 1 to 256
// columns and scale 1 to 16, and a sheet wider or higher than
// LargestSheetSide. The text gives the sheet's size and the options that
// would fit: "a sheet of 264200 x 2104 pixels is too large (at most 16384 a
// side); with --scale 16 at most 15 columns fit, and 436 sprites need
// --scale 11 or less: --scale 11 --columns 23 fits".
void checkSheetSize(SheetLayout layout, int count, ItemKind kind);

}  // namespace pagelark
