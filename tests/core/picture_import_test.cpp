#include "archive/run_error.h"
#include "pictures/game_palette.h"
#include "pictures/picture_import.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace pagelark {
namespace {

// The palette indices that share a colour with a lower one, and that lower one.
constexpr std::array<std::pair<int, int>, 6> SharedColors
    = {{{21, 7}, {27, 8}, {55, 32}, {96, 95}, {249, 124}, {253, 125}}};

Palette gameColors()
{
    Palette palette{};
    for (std::size_t i = 0; i < palette.size(); ++i)
        palette[i] = packColor(gamePalette()[i].red, gamePalette()[i].green, gamePalette()[i].blue);
    return palette;
}

ArgbColor opaque(PackedColor color)
{
    return OpaqueAlpha | (color & 0xFF) << 16 | (color & 0xFF00) | (color >> 16 & 0xFF);
}

DecodedPicture truecolor(const std::function<ArgbColor(int x, int y)>& pixel, int width = 64)
{
    DecodedPicture picture{width, 64, false, {}, {}, {}};
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < width; ++x)
            picture.pixels.push_back(pixel(x, y));
    return picture;
}

TEST(PictureImport, TruecolourKeepsTheBasesIndexWhereTheColourIsUnchanged)
{
    const Palette palette = gameColors();
    // Every palette index, the members of each pair of equal colours among them.
    PixelGrid base{};
    for (int n = 0; n < GridCells; ++n)
        base[static_cast<std::size_t>(n)] = static_cast<std::uint8_t>(n * 5);
    const auto baseColor = [&](int x, int y) { return opaque(palette[base[gridCell(x, y)]]); };

    EXPECT_EQ(gridFromPicture(truecolor(baseColor), ItemKind::Wall, palette, &base), base);

    // Without a base the lower index of a shared colour is taken.
    PixelGrid lowerOfPairs = base;
    for (std::uint8_t& cell : lowerOfPairs)
        for (const auto& [higher, lower] : SharedColors)
            cell = cell == higher ? static_cast<std::uint8_t>(lower) : cell;
    EXPECT_EQ(gridFromPicture(truecolor(baseColor), ItemKind::Wall, palette, nullptr), lowerOfPairs);

    // Three edited pixels: one to another palette colour, one near but off
    // the palette (the nearest of a pair is its lower index), one to white.
    const auto edited = [&](int x, int y) {
        if (x == 1 && y == 2)
            return opaque(palette[40]);
        if (x == 30 && y == 0)
            return 0xFF545456U;  // next to 8 and 27's grey (84, 84, 84)
        if (x == 63 && y == 63)
            return 0xFFFFFFFFU;
        return baseColor(x, y);
    };
    PixelGrid expected = base;
    expected[gridCell(1, 2)] = 40;
    expected[gridCell(30, 0)] = 8;
    expected[gridCell(63, 63)] = 15;  // (252, 252, 252), the nearest to white
    EXPECT_EQ(gridFromPicture(truecolor(edited), ItemKind::Wall, palette, &base), expected);
}

TEST(PictureImport, ASpritesBackgroundIsAnyLessThanHalfOpaquePixelAndNoColourBecomesIt)
{
    const Palette palette = gameColors();
    PixelGrid base{};
    base.fill(EmptyIndex);
    // Opaque from alpha 128 on; the colour of entry 255 in a sprite is drawn
    // with another index even where the base had background.
    const auto pixel = [&](int x, int y) -> ArgbColor {
        if (x == 0)
            return y == 0 ? 0x7FFFFFFFU : 0x80FFFFFFU;
        return opaque(palette[EmptyIndex]);
    };
    const PixelGrid grid = gridFromPicture(truecolor(pixel), ItemKind::Sprite, palette, &base);
    EXPECT_EQ(grid[gridCell(0, 0)], EmptyIndex);
    EXPECT_EQ(grid[gridCell(0, 1)], 15);
    EXPECT_NE(grid[gridCell(5, 5)], EmptyIndex);

    // Indexed: a transparent colour-table entry is background, an index past
    // a short table and an opaque 255 stay what they are.
    DecodedPicture indexed{
        64, 64, true, std::vector<std::uint8_t>(GridCells, 3), {0xFF000000, 0xFF111111, 0xFF222222, 0x00333333}, {}};
    indexed.indices[1] = 200;
    indexed.indices[2] = 255;
    const PixelGrid sprite = gridFromPicture(indexed, ItemKind::Sprite, palette, nullptr);
    EXPECT_EQ(sprite[gridCell(0, 0)], EmptyIndex);
    EXPECT_EQ(sprite[gridCell(1, 0)], 200);
    EXPECT_EQ(sprite[gridCell(2, 0)], 255);
}

TEST(PictureImport, RefusesPicturesThatAreNoWallOrSprite)
{
    const Palette palette = gameColors();
    const auto white = [](int, int) { return 0xFFFFFFFFU; };
    DecodedPicture clearEntry{64, 64, true, std::vector<std::uint8_t>(GridCells, 0), {0x7F000000}, {}};
    DecodedPicture shortPixels = truecolor(white);
    shortPixels.pixels.resize(10);
    const std::vector<std::tuple<std::string, DecodedPicture, ItemKind>> refused = {
        {"a wall cannot be transparent: pixel (3, 5) is",
         truecolor([](int x, int y) { return x == 3 && y == 5 ? 0x00FFFFFFU : 0xFFFFFFFFU; }), ItemKind::Wall},
        {"a wall cannot be transparent: pixel (0, 0) is", clearEntry, ItemKind::Wall},
        {"the picture is 65 by 64 pixels; walls and sprites are 64 by 64", truecolor(white, 65), ItemKind::Sprite},
        {"the picture holds 10 pixels instead of 64 by 64", shortPixels, ItemKind::Sprite},
        {"a sound cannot be made from a picture", truecolor(white), ItemKind::Sound},
    };
    for (const auto& [reason, picture, kind] : refused) {
        try {
            gridFromPicture(picture, kind, palette, nullptr);
            ADD_FAILURE() << "made a grid: " << reason;
        } catch (const RunError& error) {
            EXPECT_EQ(error.text(), reason);
        }
    }
}

}  // namespace
}  // namespace pagelark
