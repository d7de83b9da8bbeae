#pragma once

#include "archive/chunk_table.h"
#include "pictures/palette.h"
#include "pictures/pixel_grid.h"
#include "sheets/contact_sheet_layout.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
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

// The sheet's own colours: the background sprite holes show, the labels,
// and the cross of a cell without a picture.
constexpr PackedColor SheetBackground = packColor(0x6E, 0x6E, 0x6E);
constexpr PackedColor SheetLabelColour = packColor(0xF0, 0xF0, 0xF0);
constexpr PackedColor SheetCrossColour = packColor(0xD0, 0x40, 0x40);

// A sheet as an 8-bit indexed image: one byte a pixel, indices into a
// colour table of at most 256 colours. Each row starts on a 4-byte boundary,
// as image writers take rows.
struct IndexedSheet {
    int width = 0;
    int height = 0;
    int bytesPerLine = 0;
    std::unique_ptr<std::uint8_t[]> pixels;
    std::vector<PackedColor> colours;

    std::uint8_t index(int x, int y) const
    {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(bytesPerLine)
                      + static_cast<std::size_t>(x)];
    }
    PackedColor colour(int x, int y) const { return colours[index(x, y)]; }
};

// Draws a label's text into a box of width x height: coverage holds one byte
// a pixel, row by row, all 0 when called, and gets how much of each pixel
// the text covers, 0 to 255.
using LabelDrawer
    = std::function<void(const std::string& text, int width, int height, std::span<std::uint8_t> coverage)>;

// The label of a picture: its chunk index, then its number within its kind,
// "130 #24". Short, so it fits under a picture that is not enlarged; the
// kind is the sheet's own.
std::string sheetLabel(const SheetPicture& picture);

// Draws the pictures in order on one sheet in these colours (their low 24
// bits), never with more columns than pictures, after checkSheetSize. The
// colour table holds the colours the pictures use, one entry each, then the
// background, label and cross colours; those take the nearest colour already
// there when the pictures leave no room. A sprite's background (index 255)
// shows the sheet's background; a cell without a picture is crossed out.
// Under each picture its label is put in the label colour wherever the
// drawer covers at least half a pixel. A sheet there is no memory for is
// refused: "not enough memory for a sheet of W x H".
IndexedSheet composeContactSheet(const std::vector<SheetPicture>& pictures, const Palette& palette, SheetLayout layout,
                                 const LabelDrawer& drawLabel);

}  // namespace pagelark
