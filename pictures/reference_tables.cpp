#include "pictures/reference_tables.h"

#include "pictures/game_palette.h"

#include <algorithm>

namespace pagelark {

namespace {

using ReferenceBytes = std::array<std::uint8_t, ReferenceBitmapSize>;

constexpr int BitmapSide = 64;
constexpr std::size_t ColorTableOffset = 54;
constexpr std::uint8_t UnusedPixel = 255;
// Row 0 of the reference picture holds the Wolfenstein 3D ceiling values
// 10..69, row 1 the Spear of Destiny values 70..90.
constexpr int WolfensteinCeilingCount = 60;
constexpr int SpearCeilingCount = CeilingValueCount - WolfensteinCeilingCount;

// The games' ceiling colour of each ceiling value 10..90, as a game palette index.
constexpr std::array<std::uint8_t, CeilingValueCount> CeilingIndices = {
    29,  29,  29,  29,  29,  29,  29,  29,  29,  191,  // 10..19
    78,  78,  78,  29,  141, 78,  29,  45,  29,  141,  // 20..29
    29,  29,  29,  29,  29,  45,  221, 29,  29,  152,  // 30..39
    29,  157, 45,  221, 221, 157, 45,  77,  29,  221,  // 40..49
    125, 29,  45,  45,  221, 215, 29,  29,  29,  45,   // 50..59
    29,  29,  29,  29,  221, 221, 125, 221, 221, 221,  // 60..69
    111, 79,  29,  222, 223, 46,  127, 158, 174, 127,  // 70..79
    29,  222, 223, 222, 223, 222, 225, 220, 46,  29,   // 80..89
    220,                                               // 90
};

void put16(ReferenceBytes& bytes, std::size_t at, std::uint16_t value)
{
    bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void put32(ReferenceBytes& bytes, std::size_t at, std::uint32_t value)
{
    for (std::size_t i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF);
}

// Rows are stored bottom-up: picture row 0 is the last row in the file.
std::size_t pixelOffset(int x, int y)
{
    return BmpHeaderSize + static_cast<std::size_t>((BitmapSide - 1 - y) * BitmapSide + x);
}

ReferenceBytes composeReferenceBitmap()
{
    ReferenceBytes bytes{};
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(bytes, 2, ReferenceBitmapSize);
    put32(bytes, 10, BmpHeaderSize);
    put32(bytes, 14, 40);  // information header size
    put32(bytes, 18, BitmapSide);
    put32(bytes, 22, BitmapSide);
    put16(bytes, 26, 1);  // planes
    put16(bytes, 28, 8);  // bits per pixel
    put32(bytes, 30, 0);  // no compression
    put32(bytes, 34, BitmapSide * BitmapSide);
    put32(bytes, 38, 2867);  // pixels per metre, both ways
    put32(bytes, 42, 2867);
    put32(bytes, 46, 256);  // colours used
    put32(bytes, 50, 256);  // important colours

    const auto& colors = gamePalette();
    for (std::size_t i = 0; i < colors.size(); ++i) {
        const std::size_t at = ColorTableOffset + 4 * i;
        bytes[at] = colors[i].blue;
        bytes[at + 1] = colors[i].green;
        bytes[at + 2] = colors[i].red;
        bytes[at + 3] = 0;
    }

    std::fill(bytes.begin() + BmpHeaderSize, bytes.end(), UnusedPixel);
    for (int x = 0; x < WolfensteinCeilingCount; ++x)
        bytes[pixelOffset(x, 0)] = CeilingIndices[static_cast<std::size_t>(x)];
    for (int x = 0; x < SpearCeilingCount; ++x)
        bytes[pixelOffset(x, 1)] = CeilingIndices[static_cast<std::size_t>(WolfensteinCeilingCount + x)];
    return bytes;
}

// The colour of a reference pixel: its colour-table entry, packed.
PackedColor referencePixelColor(const ReferenceBytes& bitmap, int x, int y)
{
    const std::size_t entry = ColorTableOffset + 4 * std::size_t{bitmap[pixelOffset(x, y)]};
    return packColor(bitmap[entry + 2], bitmap[entry + 1], bitmap[entry]);
}

}  // namespace

const std::array<std::uint8_t, ReferenceBitmapSize>& referenceBitmap()
{
    static const ReferenceBytes bitmap = composeReferenceBitmap();
    return bitmap;
}

BmpHeaderTemplate referenceBitmapHeader()
{
    BmpHeaderTemplate header{};
    std::copy_n(referenceBitmap().begin(), header.size(), header.begin());
    return header;
}

void buildReferenceTables(const std::string& programDir, Palette& palette, CeilingColorTable& ceilingColors,
                          BmpHeaderTemplate& bmpHeader)
{
    // Everything comes from the reference bitmap in memory: nothing is
    // written to the program's folder, and the bitmaps the program writes
    // have their head even when the palette cannot be read.
    const ReferenceBytes& bitmap = referenceBitmap();
    bmpHeader = referenceBitmapHeader();
    for (int x = 0; x < WolfensteinCeilingCount; ++x)
        ceilingColors[static_cast<std::size_t>(x)] = static_cast<std::int32_t>(referencePixelColor(bitmap, x, 0));
    for (int x = 0; x < SpearCeilingCount; ++x)
        ceilingColors[static_cast<std::size_t>(WolfensteinCeilingCount + x)]
            = static_cast<std::int32_t>(referencePixelColor(bitmap, x, 1));

    readPaletteFile(programDir + "wolfenstein.pal", palette);

    // Among equal palette colours the lowest index wins; a colour the palette
    // lacks stays packed (ceilingIndex still turns it into some index).
    for (std::int32_t& entry : ceilingColors) {
        const auto match = std::find(palette.begin(), palette.end(), static_cast<PackedColor>(entry));
        if (match != palette.end())
            entry = static_cast<std::int32_t>(match - palette.begin());
    }
}

std::uint8_t ceilingIndex(const CeilingColorTable& ceilingColors, std::int32_t ceilingValue)
{
    const std::int32_t value = std::clamp(ceilingValue, LowestCeilingValue, HighestCeilingValue);
    const std::int32_t entry = ceilingColors[static_cast<std::size_t>(value - LowestCeilingValue)];
    return static_cast<std::uint8_t>(entry & 0xFF);
}

}  // namespace pagelark
