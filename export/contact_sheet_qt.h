#pragma once

#include "archive/chunk_table.h"
#include "pictures/palette.h"
#include "pictures/pixel_grid.h"

#include <QImage>

#include <cstdint>
#include <optional>
#include <vector>

namespace pagelark {

// One picture of a contact sheet: the chunk it comes from and its grid,
// nothing for a chunk that holds no picture that can be drawn.
struct SheetPicture {
    std::int32_t chunkIndex = 0;
    ItemKind kind = ItemKind::Wall;
    std::int32_t itemNumber = 0;
    std::optional<PixelGrid> grid;
};

// How a sheet is laid out: pictures per row, and how many times each is enlarged.
struct SheetLayout {
    int columns = 16;
    int scale = 2;
};

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

// The background of a sheet, the colour transparent sprite pixels show.
constexpr QRgb SheetBackground = 0xFF6E6E6E;

// Draws the pictures in order on one sheet in these colours, never with more
// columns than pictures. A sprite's
// background (index 255) shows the sheet's background; a cell without a
// picture is crossed out. Each picture is labelled with its chunk index and
// its number within its kind: "130 #24".
QImage drawContactSheet(const std::vector<SheetPicture>& pictures, const Palette& palette, SheetLayout layout);

}  // namespace pagelark
