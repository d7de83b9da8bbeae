#include "archive/run_error.h"
#include "pictures/game_palette.h"
#include "pictures/picture_import.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
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

// A grid that holds every palette index: cell n holds n * 5, and 5 and 256
// have no common factor.
PixelGrid everyIndex()
{
    PixelGrid grid{};
    for (int n = 0; n < GridCells; ++n)
        grid[static_cast<std::size_t>(n)] = static_cast<std::uint8_t>(n * 5);
    return grid;
}

TEST(PictureImport, TruecolourKeepsTheBasesIndexWhereTheColourIsUnchanged)
{
    const Palette palette = gameColors();
    // Every palette index, the members of each pair of equal colours among them.
    const PixelGrid base = everyIndex();
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
}

DecodedPicture indexed(std::vector<ArgbColor> table, const std::function<std::uint8_t(int x, int y)>& index)
{
    DecodedPicture picture{64, 64, true, {}, std::move(table), {}};
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            picture.indices.push_back(index(x, y));
    return picture;
}

TEST(PictureImport, AnIndexedPictureKeepsItsIndicesOnlyWhenItsColourTableIsThePalette)
{
    const Palette palette = gameColors();
    std::vector<ArgbColor> gameTable;
    for (const PackedColor color : palette)
        gameTable.push_back(opaque(color));
    std::vector<ArgbColor> clearBackground = gameTable;
    clearBackground[EmptyIndex] = 0;  // its colour is nobody's
    const std::vector<ArgbColor> firstFour(gameTable.begin(), gameTable.begin() + 4);
    // An editor's own table, in its own order: the colours of 40, 27 (which is 8's too) and 1.
    const std::vector<ArgbColor> ownTable = {opaque(palette[40]), opaque(palette[27]), opaque(palette[1])};
    PixelGrid base{};
    base.fill(27);
    struct Case {
        std::string what;
        DecodedPicture picture;
        ItemKind kind;
        const PixelGrid* base;
        std::function<std::uint8_t(int x, int y)> expected;
    };
    const auto everyIndex = [](int x, int y) { return static_cast<std::uint8_t>(x + 64 * y); };
    const auto ownIndices = [](int x, int) { return static_cast<std::uint8_t>(x % 3); };
    const std::vector<Case> cases = {
        {"the palette", indexed(gameTable, everyIndex), ItemKind::Wall, nullptr, everyIndex},
        {"the palette, a transparent background", indexed(clearBackground, everyIndex), ItemKind::Sprite, nullptr,
         everyIndex},
        // An index beyond a short table is the palette's too.
        {"the palette's first entries", indexed(firstFour, [](int x, int) { return x == 5 ? 200 : x % 4; }),
         ItemKind::Wall, nullptr, [](int x, int) { return x == 5 ? 200 : x % 4; }},
        {"a table of its own", indexed(ownTable, ownIndices), ItemKind::Wall, nullptr,
         [](int x, int) {
             return std::array<std::uint8_t, 3>{40, 8, 1}[static_cast<std::size_t>(x % 3)];
         }},
        {"a table of its own and a base", indexed(ownTable, ownIndices), ItemKind::Sprite, &base,
         [](int x, int) {
             return std::array<std::uint8_t, 3>{40, 27, 1}[static_cast<std::size_t>(x % 3)];
         }},
        // A 1-bit picture in green: not index 1, the palette's blue.
        {"two colours of its own", indexed({OpaqueAlpha, opaque(palette[2])}, [](int, int) { return 1; }),
         ItemKind::Wall, nullptr, [](int, int) { return 2; }},
    };
    for (const Case& entry : cases) {
        PixelGrid expected{};
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                expected[gridCell(x, y)] = entry.expected(x, y);
        EXPECT_EQ(gridFromPicture(entry.picture, entry.kind, palette, entry.base), expected) << entry.what;
    }
}

// The mean over the 8 x 8 blocks of the distance between a block's mean
// colour in the picture and in the grid.
double meanBlockError(const DecodedPicture& picture, const PixelGrid& grid, const Palette& palette)
{
    double sum = 0;
    for (int block = 0; block < 64; ++block) {
        std::array<double, 3> difference{};
        for (int n = 0; n < 64; ++n) {
            const int x = block % 8 * 8 + n % 8;
            const int y = block / 8 * 8 + n / 8;
            const ArgbColor wanted = picture.pixels[static_cast<std::size_t>(y * 64 + x)];
            const PackedColor shown = palette[grid[gridCell(x, y)]];
            for (int channel = 0; channel < 3; ++channel)
                difference[static_cast<std::size_t>(channel)]
                    += static_cast<double>(static_cast<int>(wanted >> (16 - 8 * channel) & 0xFF)
                                           - static_cast<int>(shown >> (8 * channel) & 0xFF));
        }
        sum += std::hypot(difference[0], difference[1], difference[2]) / 64;
    }
    return sum / 64;
}

TEST(PictureImport, DitheringKeepsTheMeanColourOfASmoothGradient)
{
    const Palette palette = gameColors();
    // Red across, green down, blue along the diagonal.
    const DecodedPicture gradient = truecolor([](int x, int y) {
        return OpaqueAlpha | static_cast<ArgbColor>(x * 255 / 63) << 16 | static_cast<ArgbColor>(y * 255 / 63) << 8
            | static_cast<ArgbColor>((63 - x + y) * 255 / 126);
    });
    const PixelGrid nearest = gridFromPicture(gradient, ItemKind::Wall, palette, nullptr);
    const PixelGrid dithered = gridFromPicture(gradient, ItemKind::Wall, palette, nullptr, ColorMatching::Dithered);
    const double nearestError = meanBlockError(gradient, nearest, palette);
    const double ditheredError = meanBlockError(gradient, dithered, palette);
    EXPECT_GT(nearestError, 15);
    EXPECT_LT(ditheredError, 3.2) << "nearest colours: " << nearestError;
    EXPECT_EQ(gridFromPicture(gradient, ItemKind::Wall, palette, nullptr, ColorMatching::Dithered), dithered);
}

TEST(PictureImport, DitheringLeavesExactColoursBackgroundAndTheBaseAlone)
{
    const Palette palette = gameColors();
    const PixelGrid every = everyIndex();
    const auto exact = [&](int x, int y) { return opaque(palette[every[gridCell(x, y)]]); };
    EXPECT_EQ(gridFromPicture(truecolor(exact), ItemKind::Wall, palette, &every, ColorMatching::Dithered), every);

    // A sprite: a clear left half whose colour is white, beside a palette
    // colour, which the background's colour leaves as it is.
    const DecodedPicture halves = truecolor([&](int x, int) { return x < 32 ? 0x00FFFFFFU : opaque(palette[40]); });
    const PixelGrid grid = gridFromPicture(halves, ItemKind::Sprite, palette, nullptr, ColorMatching::Dithered);
    for (int x = 0; x < 64; ++x)
        EXPECT_EQ(grid[gridCell(x, 7)], x < 32 ? EmptyIndex : 40) << x;

    // Entry 255's colour is drawn with others, dithered too.
    const DecodedPicture background = truecolor([&](int, int) { return opaque(palette[EmptyIndex]); });
    const PixelGrid drawn = gridFromPicture(background, ItemKind::Sprite, palette, nullptr, ColorMatching::Dithered);
    EXPECT_EQ(std::count(drawn.begin(), drawn.end(), EmptyIndex), 0);
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
        {"pixel (3, 0) has colour 2 of a colour table of 2",
         indexed({OpaqueAlpha, 0xFFFFFFFF}, [](int x, int) { return x == 3 ? 2 : 1; }), ItemKind::Sprite},
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
