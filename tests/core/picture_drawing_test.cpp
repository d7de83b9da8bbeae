#include "pictures/game_palette.h"
#include "pictures/picture_drawing.h"

#include <gtest/gtest.h>

namespace pagelark {
namespace {

// 256 different colours, none of them the window colour.
Palette distinctPalette()
{
    Palette palette;
    for (std::uint32_t i = 0; i < 256; ++i)
        palette[i] = packColor(i, 255 - i, 7);
    return palette;
}

Palette gameColors()
{
    Palette palette;
    for (std::size_t i = 0; i < palette.size(); ++i)
        palette[i] = packColor(gamePalette()[i].red, gamePalette()[i].green, gamePalette()[i].blue);
    return palette;
}

PixelGrid patternGrid()
{
    PixelGrid grid;
    for (int x = 0; x < 64; ++x) {
        for (int y = 0; y < 64; ++y)
            grid[gridCell(x, y)] = static_cast<std::uint8_t>(x * 4 + y * 9);
    }
    return grid;
}

constexpr PackedColor WindowColor = packColor(240, 240, 240);

// Plain pictures, sprite or wall, show every cell as a 5 x 5 block.
void expectFiveTimesEnlarged(const Canvas& view, const PixelGrid& grid, const Palette& palette)
{
    for (int px = 0; px < 320; ++px) {
        for (int py = 0; py < 320; ++py)
            ASSERT_EQ(view.pixel(px, py), palette[grid[gridCell(px / 5, py / 5)]]) << px << "," << py;
    }
}

TEST(PictureDrawing, PlainPicturesAreFiveTimesEnlarged)
{
    const Palette palette = distinctPalette();
    const PixelGrid grid = patternGrid();
    Canvas offscreen(64, 64);
    Canvas view(ViewSide, ViewSide);
    drawSpritePicture(grid, palette, offscreen, view);
    expectFiveTimesEnlarged(view, grid, palette);

    clearPicture(view, WindowColor);
    EXPECT_EQ(view.pixel(0, 0), WindowColor);
    EXPECT_EQ(view.pixel(319, 319), WindowColor);
    drawWallPicture(grid, palette, false, WindowColor, view);
    expectFiveTimesEnlarged(view, grid, palette);
}

TEST(PictureDrawing, WallAgainstCeilingAndFloor)
{
    const Palette palette = distinctPalette();
    const PixelGrid grid = patternGrid();
    const PackedColor ceiling = packColor(1, 2, 3);
    Canvas view(ViewSide, ViewSide);
    view.fillRect({0, 0, 320, 320}, WindowColor);
    drawWallPicture(grid, palette, true, ceiling, view);

    auto wallPixel = [&](int px, int py) { return palette[grid[gridCell((px - 64) / 3, (py - 64) / 3)]]; };
    for (int px = 0; px < 320; ++px) {
        for (int py = 0; py < 320; ++py) {
            PackedColor expected;
            if (py < 64)
                expected = ceiling;
            else if (py >= 256)
                expected = palette[25];
            else if (px < 64)
                expected = wallPixel(px + 192, py);  // the wall's right 64 pixel columns
            else if (px >= 256)
                expected = wallPixel(px - 192, py);  // its left 64 pixel columns
            else
                expected = wallPixel(px, py);
            ASSERT_EQ(view.pixel(px, py), expected) << px << "," << py;
        }
    }
}

TEST(PictureDrawing, CanvasKeepsTheLow24BitsOfAColour)
{
    Palette palette = distinctPalette();
    palette[3] = 0x01000005;
    PixelGrid grid;
    grid.fill(3);
    Canvas view(ViewSide, ViewSide);
    drawWallPicture(grid, palette, false, 0, view);
    EXPECT_EQ(view.pixel(10, 10), 0x000005u);
    EXPECT_EQ(view.argbData()[0], 0xFF050000u);
    // Read back, the colour is no longer the palette's entry.
    EXPECT_EQ(colorIndexAt(view, 10, 10, palette), 0);
}

TEST(PictureDrawing, CanvasLeavesOutWhatLiesOutsideIt)
{
    Canvas canvas(4, 4);
    canvas.fillRect({-10, -10, 2, 100}, packColor(9, 9, 9));
    canvas.fillRect({50, 50, 60, 60}, packColor(1, 1, 1));
    canvas.setPixel(-1, 0, packColor(1, 1, 1));
    canvas.setPixel(4, 0, packColor(1, 1, 1));
    for (int x = 0; x < 4; ++x) {
        for (int y = 0; y < 4; ++y)
            EXPECT_EQ(canvas.pixel(x, y), x < 2 ? packColor(9, 9, 9) : 0u);
    }
    EXPECT_EQ(canvas.pixel(-1, 0), 0u);
    EXPECT_EQ(canvas.pixel(0, 4), 0u);
}

TEST(PictureDrawing, ColourIndexUnderThePointerIsTheHighestEqualEntry)
{
    const Palette palette = gameColors();
    Canvas view(ViewSide, ViewSide);
    PixelGrid grid;
    grid.fill(7);
    grid[gridCell(1, 0)] = 40;
    grid[gridCell(2, 0)] = 0;
    drawWallPicture(grid, palette, false, 0, view);
    EXPECT_EQ(colorIndexAt(view, 0, 0, palette), 21);  // 7 and 21 share (168, 168, 168)
    EXPECT_EQ(colorIndexAt(view, 5, 0, palette), 40);
    EXPECT_EQ(colorIndexAt(view, 10, 0, palette), 0);

    view.setPixel(0, 0, packColor(1, 2, 3));
    EXPECT_EQ(colorIndexAt(view, 0, 0, palette), 0);  // no entry has this colour
}

TEST(PictureDrawing, PointerPositionText)
{
    struct Case {
        bool picture;
        std::int32_t x;
        std::int32_t y;
        const char* text;
    };
    const Case cases[] = {
        {true, 319, 319, "63,63"},
        {true, 4, 5, "0,1"},
        {true, 12, 300, "2,60"},
        // Over a sound plot: hundredths of the length and the level.
        {false, 319, 31, "99,99"},
        {false, 0, 288, "0,0"},
        {false, 160, 160, "50,50"},
        // Above and below the level scale.
        {false, 0, 0, "0,99"},
        {false, 0, 30, "0,99"},
        {false, 0, 289, "0,0"},
        {false, 0, 319, "0,0"},
        // Positions the view never reports still give a text.
        {true, -7, -2147483647 - 1, "-1,-429496729"},
        {false, 2147483647, -5, "671088639,99"},
    };
    for (const Case& each : cases)
        EXPECT_EQ(pointerPositionText(each.picture, each.x, each.y), each.text)
            << (each.picture ? "picture " : "plot ") << each.x << "," << each.y;
}

TEST(PictureDrawing, CeilingLevelText)
{
    EXPECT_EQ(ceilingLevelText(10, false), "1:1");
    EXPECT_EQ(ceilingLevelText(19, false), "1:10");
    EXPECT_EQ(ceilingLevelText(20, false), "2:1");
    EXPECT_EQ(ceilingLevelText(69, false), "6:10");
    EXPECT_EQ(ceilingLevelText(70, true), "1");
    EXPECT_EQ(ceilingLevelText(90, true), "21");
    EXPECT_EQ(ceilingLevelText(-2147483647 - 1, true), "-2147483717");
}

}  // namespace
}  // namespace pagelark
