#include "archive/run_error.h"
#include "pictures/game_palette.h"
#include "pictures/reference_tables.h"
#include "tests/support/game_ceilings.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <utility>

namespace pagelark::testing {
namespace {

std::uint32_t read32(const std::uint8_t* bytes)
{
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

PackedColor gameColor(std::size_t index)
{
    const RgbColor color = gamePalette()[index];
    return packColor(color.red, color.green, color.blue);
}

std::string shippedPalette() { return std::string(PAGELARK_DATA_DIR) + "/wolfenstein.pal"; }

TEST(ReferenceBitmap, HeaderFields)
{
    const auto& bitmap = referenceBitmap();
    EXPECT_EQ(bitmap[0], 'B');
    EXPECT_EQ(bitmap[1], 'M');
    // Each 32-bit field of the file and information headers, by its offset.
    const std::pair<std::size_t, std::uint32_t> fields[] = {
        {2, 5174}, {6, 0},     {10, 1078},          {14, 40},
        {18, 64},  {22, 64},   {26, 1u | 8u << 16},  // one plane, 8 bits per pixel
        {30, 0},   {34, 4096}, {38, 2867},          {42, 2867},
        {46, 256}, {50, 256},
    };
    for (const auto& [offset, value] : fields)
        EXPECT_EQ(read32(&bitmap[offset]), value) << "offset " << offset;
}

TEST(ReferenceBitmap, ColourTableIsTheGamePaletteAsBlueGreenRed)
{
    const auto& bitmap = referenceBitmap();
    auto entry = [&](std::size_t i) {
        const std::uint8_t* e = &bitmap[54 + 4 * i];
        return std::array<int, 4>{e[0], e[1], e[2], e[3]};
    };
    EXPECT_EQ(entry(0), (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_EQ(entry(25), (std::array<int, 4>{112, 112, 112, 0}));
    EXPECT_EQ(entry(29), (std::array<int, 4>{56, 56, 56, 0}));
    EXPECT_EQ(entry(255), (std::array<int, 4>{136, 0, 152, 0}));
    for (std::size_t i = 0; i < 256; ++i) {
        for (int component : entry(i))
            EXPECT_EQ(component % 4, 0) << "index " << i;
    }
}

TEST(ReferenceTables, BuiltWithTheShippedPalette)
{
    TempDir dir;
    std::filesystem::copy_file(shippedPalette(), dir.file("wolfenstein.pal"));
    Palette palette{};
    CeilingColorTable ceiling{};
    BmpHeaderTemplate header{};
    buildReferenceTables(dir.withSeparator(), palette, ceiling, header);

    // (0, 112, 112) is both 125 and 253: the lowest index is taken.
    EXPECT_EQ(ceiling, GameCeilingIndices);
    for (std::size_t i = 0; i < palette.size(); ++i)
        EXPECT_EQ(palette[i], gameColor(i)) << "index " << i;
    EXPECT_TRUE(std::equal(header.begin(), header.end(), referenceBitmap().begin()));
    EXPECT_FALSE(std::filesystem::exists(dir.file("temp.bmp")));
}

TEST(ReferenceTables, MatchingTakesTheLowestEqualPaletteIndex)
{
    TempDir dir;
    // Index 3 gets the commonest ceiling colour (56, 56, 56), otherwise black.
    writeFileText(dir.file("wolfenstein.pal"), "h\nh\nh\n0 0 0\n0 0 0\n0 0 0\n56 56 56\n");
    Palette palette{};
    CeilingColorTable ceiling{};
    BmpHeaderTemplate header{};
    buildReferenceTables(dir.withSeparator(), palette, ceiling, header);

    EXPECT_EQ(ceiling[0], 3);                                          // value 10: (56, 56, 56)
    EXPECT_EQ(ceiling[9], static_cast<std::int32_t>(gameColor(191)));  // value 19: not in the palette
    EXPECT_EQ(ceilingIndex(ceiling, 19), gameColor(191) & 0xFF);
}

TEST(ReferenceTables, NeverTouchAFileInTheProgramsFolder)
{
    TempDir dir;
    // A user's file, and a link that points at another one, under the name a
    // temporary bitmap would take.
    writeFileText(dir.file("temp.bmp"), "mine");
    std::filesystem::create_directory(dir.file("program"));
    std::filesystem::copy_file(shippedPalette(), dir.file("program/wolfenstein.pal"));
    std::filesystem::create_symlink(dir.file("temp.bmp"), dir.file("program/temp.bmp"));

    Palette palette{};
    CeilingColorTable ceiling{};
    BmpHeaderTemplate header{};
    buildReferenceTables(dir.file("program") + "/", palette, ceiling, header);
    EXPECT_EQ(ceiling, GameCeilingIndices);
    EXPECT_EQ(readFileText(dir.file("temp.bmp")), "mine");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("program/temp.bmp")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.file("program")), {}), 2);
}

TEST(ReferenceTables, MissingPaletteStopsAfterTheCeilingColoursAndTheHeader)
{
    TempDir dir;
    Palette palette{};
    CeilingColorTable ceiling{};
    BmpHeaderTemplate header{};
    try {
        buildReferenceTables(dir.withSeparator(), palette, ceiling, header);
        FAIL() << "no error raised";
    } catch (const RunError& error) {
        EXPECT_STREQ(error.what(), "File not found");
    }
    for (std::size_t k = 0; k < ceiling.size(); ++k)
        EXPECT_EQ(ceiling[k], static_cast<std::int32_t>(gameColor(GameCeilingIndices[k]))) << "entry " << k;
    // Bitmaps written afterwards still have their head.
    EXPECT_TRUE(std::equal(header.begin(), header.end(), referenceBitmap().begin()));
}

TEST(CeilingIndex, ClampsTheValueAndKeepsTheLowByte)
{
    CeilingColorTable ceiling{};
    for (std::size_t k = 0; k < ceiling.size(); ++k)
        ceiling[k] = static_cast<std::int32_t>(k);
    ceiling[5] = 0x123456;
    EXPECT_EQ(ceilingIndex(ceiling, 15), 0x56);
    EXPECT_EQ(ceilingIndex(ceiling, 90), 80);
    // Values typed into the field while editing lie outside the table.
    EXPECT_EQ(ceilingIndex(ceiling, -2147483647 - 1), 0);
    EXPECT_EQ(ceilingIndex(ceiling, 91), 80);
}

}  // namespace
}  // namespace pagelark::testing
