#include "sheets/contact_sheet.h"

#include "archive/run_error.h"

#include <array>
#include <cstring>
#include <new>

namespace pagelark {

namespace {

// Coverage from which a label pixel takes the label colour: an indexed
// image has no blending, and half keeps strokes as thick as they look.
constexpr std::uint8_t LabelCoverage = 128;
// The cross of a cell without a picture is drawn this many pixels thick.
constexpr int CrossThickness = 2;
// A palette file's numbers above 255 carry into bits a colour does not have.
constexpr PackedColor RgbBits = 0xFFFFFF;

struct SheetColours {
    std::vector<PackedColor> table;
    std::array<std::uint8_t, PaletteSize> ofPaletteIndex{};
    std::uint8_t background = 0;
    std::uint8_t label = 0;
    std::uint8_t cross = 0;
};

int channelDistance(PackedColor a, PackedColor b, int shift)
{
    const int difference = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    return difference * difference;
}

// The table entry of a colour: its own entry, a new one while there is room,
// else the nearest colour already there.
std::uint8_t entryFor(std::vector<PackedColor>& table, PackedColor colour)
{
    for (std::size_t i = 0; i < table.size(); ++i)
        if (table[i] == colour)
            return static_cast<std::uint8_t>(i);
    if (table.size() < PaletteSize) {
        table.push_back(colour);
        return static_cast<std::uint8_t>(table.size() - 1);
    }
    std::size_t nearest = 0;
    int nearestDistance = 0;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const int distance = channelDistance(table[i], colour, 0) + channelDistance(table[i], colour, 8)
            + channelDistance(table[i], colour, 16);
        if (i == 0 || distance < nearestDistance) {
            nearest = i;
            nearestDistance = distance;
        }
    }
    return static_cast<std::uint8_t>(nearest);
}

// The colours the pictures use, one entry each, then the sheet's own colours.
SheetColours sheetColours(const std::vector<SheetPicture>& pictures, const Palette& palette)
{
    std::array<bool, PaletteSize> used{};
    bool anyCrossed = false;
    for (const SheetPicture& picture : pictures) {
        if (!picture.grid) {
            anyCrossed = true;
            continue;
        }
        const bool sprite = picture.kind == ItemKind::Sprite;
        for (const std::uint8_t index : *picture.grid)
            used[index] = used[index] || !(sprite && index == EmptyIndex);
    }
    SheetColours colours;
    for (int index = 0; index < PaletteSize; ++index)
        if (used[static_cast<std::size_t>(index)])
            colours.ofPaletteIndex[static_cast<std::size_t>(index)]
                = entryFor(colours.table, palette[static_cast<std::size_t>(index)] & RgbBits);
    colours.background = entryFor(colours.table, SheetBackground);
    colours.label = entryFor(colours.table, SheetLabelColour);
    if (anyCrossed)
        colours.cross = entryFor(colours.table, SheetCrossColour);
    return colours;
}

IndexedSheet blankSheet(const SheetGeometry& geometry, std::uint8_t background)
{
    IndexedSheet sheet;
    sheet.width = geometry.width();
    sheet.height = geometry.height();
    sheet.bytesPerLine = (sheet.width + 3) / 4 * 4;
    const std::size_t size = static_cast<std::size_t>(sheet.bytesPerLine) * static_cast<std::size_t>(sheet.height);
    try {
        sheet.pixels = std::make_unique_for_overwrite<std::uint8_t[]>(size);
    } catch (const std::bad_alloc&) {
        throw RunError::message("not enough memory for a sheet of " + std::to_string(sheet.width) + " x "
                                + std::to_string(sheet.height));
    }
    std::memset(sheet.pixels.get(), background, size);
    return sheet;
}

std::uint8_t* rowAt(IndexedSheet& sheet, int left, int y)
{
    return sheet.pixels.get() + static_cast<std::size_t>(y) * static_cast<std::size_t>(sheet.bytesPerLine)
        + static_cast<std::size_t>(left);
}

// Each grid row is enlarged once, then copied to the sheet rows it covers.
void drawPicture(IndexedSheet& sheet, const SheetPicture& picture, const SheetColours& colours, int left, int top,
                 int scale)
{
    const bool sprite = picture.kind == ItemKind::Sprite;
    std::vector<std::uint8_t> enlarged(static_cast<std::size_t>(GridSide * scale));
    for (int gridY = 0; gridY < GridSide; ++gridY) {
        for (int gridX = 0; gridX < GridSide; ++gridX) {
            const std::uint8_t index = (*picture.grid)[gridCell(gridX, gridY)];
            const std::uint8_t entry
                = sprite && index == EmptyIndex ? colours.background : colours.ofPaletteIndex[index];
            std::fill_n(enlarged.begin() + gridX * scale, scale, entry);
        }
        for (int y = gridY * scale; y < (gridY + 1) * scale; ++y)
            std::memcpy(rowAt(sheet, left, top + y), enlarged.data(), enlarged.size());
    }
}

// A frame round the cell and both its diagonals.
void crossOut(IndexedSheet& sheet, std::uint8_t colour, int left, int top, int side)
{
    for (int y = 0; y < side; ++y) {
        std::uint8_t* row = rowAt(sheet, left, top + y);
        if (y < CrossThickness || y >= side - CrossThickness) {
            std::memset(row, colour, static_cast<std::size_t>(side));
            continue;
        }
        for (int t = 0; t < CrossThickness; ++t) {
            row[t] = row[side - 1 - t] = colour;
            row[std::min(y + t, side - 1)] = row[std::max(side - 1 - y - t, 0)] = colour;
        }
    }
}

void putLabel(IndexedSheet& sheet, std::uint8_t colour, std::span<const std::uint8_t> coverage, int left, int top,
              int width)
{
    for (int y = 0; y < SheetGeometry::LabelHeight; ++y) {
        std::uint8_t* row = rowAt(sheet, left, top + y);
        const std::uint8_t* covered = coverage.data() + static_cast<std::size_t>(y * width);
        for (int x = 0; x < width; ++x)
            if (covered[x] >= LabelCoverage)
                row[x] = colour;
    }
}

}  // namespace

std::string sheetLabel(const SheetPicture& picture)
{
    return std::to_string(picture.chunkIndex) + " #" + std::to_string(picture.itemNumber);
}

IndexedSheet composeContactSheet(const std::vector<SheetPicture>& pictures, const Palette& palette, SheetLayout layout,
                                 const LabelDrawer& drawLabel)
{
    const int count = static_cast<int>(std::min(pictures.size(), std::size_t{ChunkSlots + 1}));
    const ItemKind kind = pictures.empty() ? ItemKind::Wall : pictures.front().kind;
    checkSheetSize(layout, count, kind);
    const SheetGeometry geometry = sheetGeometry(layout, count);
    const SheetColours colours = sheetColours(pictures, palette);
    IndexedSheet sheet = blankSheet(geometry, colours.background);
    sheet.colours = colours.table;

    const int side = geometry.pictureSide();
    std::vector<std::uint8_t> coverage(static_cast<std::size_t>(side * SheetGeometry::LabelHeight));
    for (int k = 0; k < count; ++k) {
        const SheetPicture& picture = pictures[static_cast<std::size_t>(k)];
        const int left = geometry.pictureLeft(k);
        const int top = geometry.pictureTop(k);
        if (picture.grid)
            drawPicture(sheet, picture, colours, left, top, layout.scale);
        else
            crossOut(sheet, colours.cross, left, top, side);
        std::fill(coverage.begin(), coverage.end(), std::uint8_t{0});
        drawLabel(sheetLabel(picture), side, SheetGeometry::LabelHeight, coverage);
        putLabel(sheet, colours.label, coverage, left, top + side, side);
    }
    return sheet;
}

}  // namespace pagelark
