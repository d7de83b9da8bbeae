#include "archive/run_error.h"
#include "sheets/contact_sheet.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

namespace pagelark {
namespace {

// What checkSheetSize says of a layout: "" when it fits.
std::string refusal(SheetLayout layout, int count, ItemKind kind)
{
    try {
        checkSheetSize(layout, count, kind);
        return "";
    } catch (const RunError& error) {
        return error.text();
    }
}

struct SizeCase {
    SheetLayout layout;
    int count;
    ItemKind kind;
    std::string expected;
};

TEST(SheetSize, SidesUpTo16384FitAndALargerSheetIsRefusedWithOptionsThatFit)
{
    const auto tooLarge = [](const std::string& size, const std::string& advice) {
        return "a sheet of " + size + " pixels is too large (at most 16384 a side); " + advice;
    };
    const std::vector<SizeCase> cases = {
        // 23 columns of 712 pixels and the margin are exactly 16384 wide; 22 rows fit.
        {{23, 11}, 23 * 22, ItemKind::Wall, ""},
        {{24, 11},
         23 * 22,
         ItemKind::Wall,
         tooLarge("17096 x 16024", "with --scale 11 at most 23 columns fit: --scale 11 --columns 23 fits")},
        {{23, 11},
         23 * 22 + 1,
         ItemKind::Wall,
         tooLarge("16384 x 16752",
                  "with --scale 11 at most 23 columns fit, and 507 walls need --scale 10 or less: "
                  "--scale 10 --columns 23 fits")},
        // 186 rows of 88 pixels fit, 187 do not.
        {{1, 1}, 186, ItemKind::Sprite, ""},
        {{1, 1},
         187,
         ItemKind::Sprite,
         tooLarge("80 x 16464", "with --scale 1, 187 sprites need at least 2 columns: --scale 1 --columns 2 fits")},
        {{256, 16},
         436,
         ItemKind::Sprite,
         tooLarge("264200 x 2104",
                  "with --scale 16 at most 15 columns fit, and 436 sprites need --scale 11 or less: "
                  "--scale 11 --columns 23 fits")},
        // More columns than pictures count as one per picture.
        {{256, 16}, 15, ItemKind::Wall, ""},
        {{256, 1},
         ChunkSlots,
         ItemKind::Wall,
         tooLarge("18440 x 2120", "with --scale 1 at most 227 columns fit: --scale 1 --columns 227 fits")},
    };
    for (const SizeCase& c : cases) {
        const std::string text = refusal(c.layout, c.count, c.kind);
        EXPECT_EQ(text, c.expected) << c.layout.columns << " columns, scale " << c.layout.scale;
        // Whatever is suggested fits.
        std::smatch suggested;
        if (std::regex_search(text, suggested, std::regex("--scale (\\d+) --columns (\\d+) fits$"))) {
            EXPECT_EQ(refusal({std::stoi(suggested[2]), std::stoi(suggested[1])}, c.count, c.kind), "") << text;
        }
    }
    for (const SheetLayout layout : {SheetLayout{0, 1}, SheetLayout{257, 1}, SheetLayout{1, 0}, SheetLayout{1, 17}})
        EXPECT_EQ(refusal(layout, 1, ItemKind::Wall).rfind("a sheet takes 1 to 256 columns", 0), 0u);
    EXPECT_EQ(largestFittingLayout(436, MostSheetColumns)->scale, 11);
    EXPECT_EQ(largestFittingLayout(436, MostSheetColumns)->columns, 23);
}

// Covers ten pixels of the label rows 4 to 11 at exactly half, the next ten just under.
void halfCovered(const std::string&, int width, int, std::span<std::uint8_t> coverage)
{
    for (int y = 4; y < 12; ++y)
        for (int x = 0; x < 20; ++x)
            coverage[static_cast<std::size_t>(y * width + x)] = x < 10 ? 128 : 127;
}

struct ColourCase {
    const char* name;
    Palette palette;
    PackedColor background;  // what the background comes out as
    std::size_t tableSize;
};

std::vector<ColourCase> colourCases()
{
    // 256 distinct greys, none the background's own: it takes the nearest.
    Palette greys;
    for (std::uint32_t i = 0; i < 256; ++i)
        greys[i] = packColor(i, i, i);
    greys[0x6E] = packColor(0x6E, 0x6E, 0x6F);
    // Pairs of equal colours, one of them with bits above a colour's: room for every sheet colour.
    Palette pairs;
    for (std::uint32_t i = 0; i < 256; ++i)
        pairs[i] = packColor(i & ~1u, 3, 0) | (i == 7 ? 0x5000000u : 0u);
    return {{"distinct", greys, packColor(0x6E, 0x6E, 0x6F), 256}, {"pairs", pairs, SheetBackground, 128 + 3}};
}

TEST(ContactSheet, CellsHoldTheirPicturesColoursWithinATableOfAtMost256)
{
    std::vector<SheetPicture> pictures(3);
    pictures[0] = {3, ItemKind::Wall, 3, PixelGrid{}};
    for (int cell = 0; cell < GridCells; ++cell)
        (*pictures[0].grid)[static_cast<std::size_t>(cell)] = static_cast<std::uint8_t>(cell * 5);
    pictures[1] = {9, ItemKind::Sprite, 1, PixelGrid{}};
    pictures[1].grid->fill(EmptyIndex);
    (*pictures[1].grid)[gridCell(30, 40)] = 77;
    pictures[2] = {10, ItemKind::Sprite, 2, std::nullopt};

    for (const ColourCase& c : colourCases()) {
        const IndexedSheet sheet = composeContactSheet(pictures, c.palette, {2, 2}, halfCovered);
        const SheetGeometry geometry = sheetGeometry({2, 2}, 3);
        ASSERT_EQ(sheet.width, geometry.width());
        ASSERT_EQ(sheet.height, geometry.height());
        EXPECT_EQ(sheet.colours.size(), c.tableSize) << c.name;
        const auto at = [&](int k, int x, int y) {
            return sheet.colour(geometry.pictureLeft(k) + x, geometry.pictureTop(k) + y);
        };
        for (int y = 0; y < geometry.pictureSide(); ++y)
            for (int x = 0; x < geometry.pictureSide(); ++x)
                ASSERT_EQ(at(0, x, y), c.palette[(*pictures[0].grid)[gridCell(x / 2, y / 2)]] & 0xFFFFFF)
                    << c.name << " at " << x << ", " << y;
        EXPECT_EQ(at(1, 61, 81), c.palette[77] & 0xFFFFFF) << c.name;
        EXPECT_EQ(at(1, 10, 10), c.background) << c.name;
        EXPECT_EQ(sheet.colour(0, 0), c.background) << c.name;
        // The cell without a picture: its frame and the crossing of its diagonals.
        const int side = geometry.pictureSide();
        EXPECT_NE(at(2, 0, 0), c.background) << c.name;
        EXPECT_EQ(at(2, side / 2, side / 2), at(2, 0, 0)) << c.name;
        EXPECT_EQ(at(2, side / 2, 10), c.background) << c.name;
        // Labels: half covered takes the label colour, less keeps the background.
        EXPECT_EQ(at(2, 5, side + 6), SheetLabelColour) << c.name;
        EXPECT_EQ(at(2, 15, side + 6), c.background) << c.name;
        if (c.tableSize < 256) {
            EXPECT_EQ(at(2, 0, 0), SheetCrossColour) << c.name;
        }
    }
}

}  // namespace
}  // namespace pagelark
