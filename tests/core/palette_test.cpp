#include "archive/run_error.h"
#include "pictures/palette.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace pagelark::testing {
namespace {

constexpr PackedColor OldColor = 0xABCDEF;

Palette filledPalette()
{
    Palette palette;
    palette.fill(OldColor);
    return palette;
}

Palette readText(const std::string& text)
{
    TempDir dir;
    writeFileText(dir.file("p.pal"), text);
    Palette palette = filledPalette();
    readPaletteFile(dir.file("p.pal"), palette);
    return palette;
}

// The text of the error that reading the file into the palette raises;
// "no error raised" when it raises none.
std::string readingError(const std::string& path, Palette& palette)
{
    try {
        readPaletteFile(path, palette);
    } catch (const RunError& error) {
        return error.what();
    }
    return "no error raised";
}

TEST(PaletteFile, HeaderAloneTurnsEveryColourBlack)
{
    const Palette palette = readText("JASC-PAL\n0100\n256\n");
    for (PackedColor color : palette)
        EXPECT_EQ(color, 0u);
}

TEST(PaletteFile, NumbersMissingOnALineComeFromTheNextAndExtraOnesAreIgnored)
{
    // The header lines are not examined.
    const Palette palette = readText(
        "1 2 3\nnot a number\n\n"
        "10 20\n"
        "30 40 50\n"
        "1 2 3 4\n"
        "5\t6  7\r\n"
        "8 9 10\r\n");
    EXPECT_EQ(palette[0], packColor(10, 20, 30));
    EXPECT_EQ(palette[1], packColor(1, 2, 3));
    EXPECT_EQ(palette[2], packColor(5, 6, 7));
    EXPECT_EQ(palette[3], packColor(8, 9, 10));
    EXPECT_EQ(palette[4], 0u);
}

TEST(PaletteFile, ValuesOutsideTheByteRangePackWithoutLimits)
{
    const Palette palette = readText("h\nh\nh\n256 4 0\n-1 0 0\n0 0 256\n");
    EXPECT_EQ(palette[0], packColor(0, 5, 0));
    EXPECT_EQ(palette[1], 0xFFFFFFFFu);
    EXPECT_EQ(palette[2], 0x01000000u);
}

TEST(PaletteFile, ANonNumberStopsTheReadingAndKeepsTheColoursBeforeIt)
{
    TempDir dir;
    writeFileText(dir.file("p.pal"), "h\nh\nh\n1 2 3\n4 x 6\n7 8 9\n");
    Palette palette = filledPalette();
    EXPECT_EQ(readingError(dir.file("p.pal"), palette), "Invalid numeric input");
    EXPECT_EQ(palette[0], packColor(1, 2, 3));
    EXPECT_EQ(palette[1], OldColor);
    EXPECT_EQ(palette[2], OldColor);
}

TEST(PaletteFile, MissingFileIsFileNotFound)
{
    TempDir dir;
    Palette palette = filledPalette();
    EXPECT_EQ(readingError(dir.file("absent.pal"), palette), "File not found");
    EXPECT_EQ(palette[0], OldColor);
}

}  // namespace
}  // namespace pagelark::testing
