#include "pictures/picture_import.h"

#include "archive/run_error.h"
#include "pictures/dithering.h"
#include "pictures/nearest_colors.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <string>

namespace pagelark {

namespace {

constexpr ArgbColor HalfOpaque = 128;

bool transparent(ArgbColor color) { return (color >> 24) < HalfOpaque; }

PackedColor packedOf(ArgbColor color) { return packColor((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF); }

// A palette read from a file may hold numbers beyond 255, packed as given.
PackedColor colorOf(const Palette& palette, std::uint8_t index) { return palette[index] & 0xFFFFFF; }

[[noreturn]] void refuseTransparentWall(int x, int y)
{
    throw RunError::message("a wall cannot be transparent: pixel (" + std::to_string(x) + ", " + std::to_string(y)
                            + ") is");
}

// Whether a colour table is the palette, so that the indices are the
// palette's. A transparent entry's colour is nobody's: it is background.
bool tableIsPalette(const std::vector<ArgbColor>& table, const Palette& palette)
{
    // In bit operations alone, the loop goes by several entries at a time:
    // an entry at least half opaque (its top bit set) keeps its difference.
    const std::size_t count = std::min<std::size_t>(table.size(), PaletteSize);
    std::uint32_t differences = 0;
    for (std::size_t index = 0; index < count; ++index) {
        const ArgbColor entry = table[index];
        const std::uint32_t opaque = 0u - (entry >> 31);
        differences |= (packedOf(entry) ^ (palette[index] & 0xFFFFFF)) & opaque;
    }
    return differences == 0;
}

// Swaps, in each pair of words `Shift / 8` rows apart, the bytes of the
// upper word above `Shift` with those of the lower one below it, in the
// lanes of `Mask`. Known when compiled, the loop comes out unrolled.
template <int Shift, std::uint64_t Mask>
void swapLanes(std::array<std::uint64_t, 8>& rows)
{
    constexpr std::size_t Step = Shift / 8;
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (row & Step)
            continue;
        const std::uint64_t swapped = ((rows[row] >> Shift) ^ rows[row + Step]) & Mask;
        rows[row] ^= swapped << Shift;
        rows[row + Step] ^= swapped;
    }
}

// Eight rows of eight bytes, each a word, turned into eight columns: the
// off-diagonal halves, quarters and eighths swap places in turn.
void transposeEightByEight(std::array<std::uint64_t, 8>& rows)
{
    swapLanes<32, 0x00000000FFFFFFFFULL>(rows);
    swapLanes<16, 0x0000FFFF0000FFFFULL>(rows);
    swapLanes<8, 0x00FF00FF00FF00FFULL>(rows);
}

// Rows of pixels into the grid's columns, eight by eight: a byte at a time,
// every store would land on another column.
PixelGrid gridOfRows(const std::uint8_t* pixels)
{
    static_assert(std::endian::native == std::endian::little, "a word's first byte is its lowest");
    PixelGrid grid;
    std::array<std::uint64_t, 8> block;
    for (int top = 0; top < GridSide; top += 8) {
        for (int left = 0; left < GridSide; left += 8) {
            for (std::size_t row = 0; row < block.size(); ++row)
                std::memcpy(&block[row], pixels + (top + static_cast<int>(row)) * GridSide + left, 8);
            transposeEightByEight(block);
            for (std::size_t column = 0; column < block.size(); ++column)
                std::memcpy(&grid[gridCell(left + static_cast<int>(column), top)], &block[column], 8);
        }
    }
    return grid;
}

// An indexed picture's own indices, a less than half opaque entry of its
// colour table being a sprite's background.
PixelGrid gridOfIndices(const DecodedPicture& picture, bool sprite)
{
    // An index beyond a short colour table has no alpha to say it is transparent.
    std::array<bool, PaletteSize> clear{};
    for (std::size_t index = 0; index < std::min<std::size_t>(picture.colorTable.size(), PaletteSize); ++index)
        clear[index] = transparent(picture.colorTable[index]);
    // Most pictures' colour tables are opaque throughout: their rows go into the columns as they are.
    if (std::none_of(clear.begin(), clear.end(), [](bool entry) { return entry; }))
        return gridOfRows(picture.indices.data());
    PixelGrid grid;
    for (int y = 0; y < GridSide; ++y) {
        const std::uint8_t* row = picture.indices.data() + static_cast<std::size_t>(y * GridSide);
        for (int x = 0; x < GridSide; ++x) {
            const std::uint8_t index = row[x];
            if (clear[index] && !sprite)
                refuseTransparentWall(x, y);
            grid[gridCell(x, y)] = clear[index] ? EmptyIndex : index;
        }
    }
    return grid;
}

// The colours of an indexed picture's pixels, from its own colour table.
std::vector<ArgbColor> colorsOfIndices(const DecodedPicture& picture)
{
    std::vector<ArgbColor> pixels(picture.indices.size());
    for (std::size_t at = 0; at < pixels.size(); ++at) {
        const std::uint8_t index = picture.indices[at];
        if (index >= picture.colorTable.size())
            throw RunError::message("pixel (" + std::to_string(at % GridSide) + ", " + std::to_string(at / GridSide)
                                    + ") has colour " + std::to_string(index) + " of a colour table of "
                                    + std::to_string(picture.colorTable.size()));
        pixels[at] = picture.colorTable[index];
    }
    return pixels;
}

PixelGrid gridOfColors(const std::vector<ArgbColor>& pixels, bool sprite, const Palette& palette, const PixelGrid* base,
                       ColorMatching matching)
{
    PictureColors colors{};
    DecidedCells decided{};
    for (int y = 0; y < GridSide; ++y) {
        for (int x = 0; x < GridSide; ++x) {
            const auto at = static_cast<std::size_t>(y * GridSide + x);
            const ArgbColor pixel = pixels[at];
            decided[at] = NotDecided;
            if (transparent(pixel)) {
                if (!sprite)
                    refuseTransparentWall(x, y);
                decided[at] = EmptyIndex;
                continue;
            }
            colors[at] = packedOf(pixel);
            // A sprite's background in the base is no colour: an opaque pixel
            // of entry 255's colour is drawn, so it takes another index.
            const std::uint8_t baseIndex = base != nullptr ? (*base)[gridCell(x, y)] : EmptyIndex;
            if (base != nullptr && !(sprite && baseIndex == EmptyIndex) && colorOf(palette, baseIndex) == colors[at])
                decided[at] = baseIndex;
        }
    }

    NearestColors nearest(palette, sprite);
    if (matching == ColorMatching::Dithered)
        return ditheredGrid(colors, decided, nearest, palette);
    PixelGrid grid{};
    for (int y = 0; y < GridSide; ++y) {
        for (int x = 0; x < GridSide; ++x) {
            const auto at = static_cast<std::size_t>(y * GridSide + x);
            grid[gridCell(x, y)]
                = decided[at] != NotDecided ? static_cast<std::uint8_t>(decided[at]) : nearest.indexOf(colors[at]);
        }
    }
    return grid;
}

}  // namespace

void requireGridSize(int width, int height)
{
    if (width != GridSide || height != GridSide)
        throw RunError::message("the picture is " + std::to_string(width) + " by " + std::to_string(height)
                                + " pixels; walls and sprites are 64 by 64");
}

PixelGrid gridFromPicture(const DecodedPicture& picture, ItemKind kind, const Palette& palette, const PixelGrid* base,
                          ColorMatching matching)
{
    if (kind == ItemKind::Sound)
        throw RunError::message("a sound cannot be made from a picture");
    requireGridSize(picture.width, picture.height);
    const std::size_t cells = picture.indexed ? picture.indices.size() : picture.pixels.size();
    if (cells != GridCells)
        throw RunError::message("the picture holds " + std::to_string(cells) + " pixels instead of 64 by 64");

    const bool sprite = kind == ItemKind::Sprite;
    if (!picture.indexed)
        return gridOfColors(picture.pixels, sprite, palette, base, matching);
    if (tableIsPalette(picture.colorTable, palette))
        return gridOfIndices(picture, sprite);
    return gridOfColors(colorsOfIndices(picture), sprite, palette, base, matching);
}

}  // namespace pagelark
