// PNG files and contact sheets from pagelark-cli, decoded again with Qt's
// image reader and compared with the bitmaps of the same chunks.
#include "pictures/game_palette.h"
#include "pictures/sprite_encoder.h"
#include "sheets/contact_sheet.h"
#include "tests/cli/run_cli.h"
#include "tests/support/temp_dir.h"
#include "tests/support/vswap_writer.h"
#include "tools/picture.h"

#include <QImage>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace pagelark::testing {
namespace {

using tools::VswapWriter;
using Chunk = VswapWriter::Chunk;

// Two walls whose cells differ everywhere (index 255 among them), a sprite,
// a sprite with a column whose run reaches past the bottom row, and a chunk
// that holds no sprite.
std::vector<std::uint8_t> pictureVswap()
{
    VswapWriter writer;
    for (int w = 0; w < 2; ++w) {
        std::vector<std::uint8_t> wall(4096);
        for (std::size_t n = 0; n < wall.size(); ++n)
            wall[n] = static_cast<std::uint8_t>(n * 7 + 200 * w);
        writer.wall({wall, false, {}});
    }
    tools::Picture picture;
    picture.fill(tools::Transparent);
    for (int x = 20; x < 40; ++x)
        for (int y = 5; y < 50; ++y)
            picture[tools::pictureCell(x, y)] = static_cast<std::int16_t>((x * 3 + y) % 255);
    writer.sprite({encodeSprite(tools::spriteGrid(picture)), false, {}});
    // Column 10: one run from row 60 to row 70 (rows doubled in the command),
    // its pixels at byte 14, right after the command (source 14 - 60).
    writer.sprite({{10, 0, 10, 0, 6, 0, 140, 0, 0xD2, 0xFF, 120, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, false, {}});
    writer.sprite({{5, 0, 2, 0, 0, 0}, false, {}});
    return writer.build();
}

// Palette index of picture cell (x, y) in a written bitmap.
std::uint8_t bitmapIndex(const std::vector<std::uint8_t>& bitmap, int x, int y)
{
    return bitmap[1078 + static_cast<std::size_t>((63 - y) * 64 + x)];
}

QRgb gameRgb(int index)
{
    const RgbColor color = gamePalette()[static_cast<std::size_t>(index)];
    return qRgb(color.red, color.green, color.blue);
}

const QRgb Background = qRgb(SheetBackground & 0xFF, (SheetBackground >> 8) & 0xFF, SheetBackground >> 16);

class ExtractPng : public ::testing::Test {
protected:
    void SetUp() override { testing::writeFileBytes(dir.file("VSWAP.TST"), pictureVswap()); }

    std::string out(const std::string& name) { return dir.file(name); }

    TempDir dir;
};

TEST_F(ExtractPng, PixelsAreTheBitmapsPixelsInThePaletteWithTheSpritesBackgroundTransparent)
{
    std::filesystem::create_directory(out("bmp"));
    std::filesystem::create_directory(out("png"));
    ASSERT_EQ(runCli({"save", dir.file("VSWAP.TST"), out("bmp")}).status, 0);
    const CommandResult run = runCli({"save", "--format", "png", dir.file("VSWAP.TST"), out("png")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("/png/vswap-layout.txt\n4 files written, 1 sprite skipped"), std::string::npos) << run.out;

    for (const std::string name : {"wall0000", "wall0001", "sprite0000", "sprite0001"}) {
        const bool sprite = name.starts_with("sprite");
        const auto bitmap = testing::readFileBytes(out("bmp/" + name + ".bmp"));
        const QImage png(QString::fromStdString(out("png/" + name + ".png")));
        ASSERT_EQ(png.format(), QImage::Format_Indexed8) << name;
        ASSERT_EQ(png.size(), QSize(64, 64));
        ASSERT_EQ(png.colorCount(), 256);
        for (int i = 0; i < 256; ++i) {
            const bool clear = sprite && i == 255;
            ASSERT_EQ(png.color(i), clear ? (gameRgb(i) & RGB_MASK) : gameRgb(i)) << name << " colour " << i;
        }
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                ASSERT_EQ(png.pixelIndex(x, y), bitmapIndex(bitmap, x, y)) << name << " at " << x << ", " << y;
    }
    // The damaged column is clipped at the bottom row in both.
    const QImage damaged(QString::fromStdString(out("png/sprite0001.png")));
    EXPECT_EQ(damaged.pixelIndex(10, 63), 4);
    EXPECT_EQ(qAlpha(damaged.pixel(10, 59)), 0);
}

TEST_F(ExtractPng, AnotherPaletteColoursThePicturesAndABadOneIsNamed)
{
    std::string text = "JASC-PAL\n0100\n256\n";
    for (int i = 0; i < 256; ++i)
        text += std::to_string(255 - i) + " " + std::to_string(i) + " 7\n";
    testing::writeFileText(out("mine.pal"), text);
    const CommandResult run
        = runCli({"save", "--format", "png", "--palette", out("mine.pal"), dir.file("VSWAP.TST"), out(""), "0"});
    ASSERT_EQ(run.status, 0) << run.err;
    const QImage wall(QString::fromStdString(out("wall0000.png")));
    EXPECT_EQ(wall.color(3), qRgb(252, 3, 7));
    EXPECT_EQ(wall.color(255), qRgb(0, 255, 7));

    testing::writeFileText(out("bad.pal"), "h\nh\nh\n1 2 three\n");
    for (const std::string& palette : {out("bad.pal"), out("missing.pal")}) {
        const CommandResult bad
            = runCli({"save", "--format", "png", "--palette", palette, dir.file("VSWAP.TST"), out("")});
        EXPECT_EQ(bad.status, 1);
        EXPECT_EQ(bad.err.rfind("pagelark-cli: " + palette + ": ", 0), 0u) << bad.err;
    }
}

TEST_F(ExtractPng, SheetHasACellPerPictureEachHoldingItsPicture)
{
    const CommandResult walls
        = runCli({"sheet", "--columns", "1", "--scale", "3", dir.file("VSWAP.TST"), out("walls.png")});
    ASSERT_EQ(walls.status, 0) << walls.err;
    const SheetGeometry wallGeometry{{1, 3}, 2};
    const QImage wallSheet(QString::fromStdString(out("walls.png")));
    ASSERT_EQ(wallSheet.size(), QSize(wallGeometry.width(), wallGeometry.height()));
    ASSERT_EQ(wallSheet.format(), QImage::Format_Indexed8);
    for (int y = 0; y < 64; y += 9)
        for (int x = 0; x < 64; x += 7)
            ASSERT_EQ(wallSheet.pixel(wallGeometry.pictureLeft(1) + 3 * x + 1, wallGeometry.pictureTop(1) + 3 * y + 2),
                      gameRgb(static_cast<std::uint8_t>((x * 64 + y) * 7 + 200)))
                << x << ", " << y;

    // Under each picture, its label.
    int labelPixels = 0;
    for (int y = 0; y < SheetGeometry::LabelHeight; ++y)
        for (int x = 0; x < wallGeometry.pictureSide(); ++x)
            labelPixels += wallSheet.pixel(wallGeometry.pictureLeft(0) + x,
                                           wallGeometry.pictureTop(0) + wallGeometry.pictureSide() + y)
                != Background;
    EXPECT_GT(labelPixels, 20);

    // Sprites: the background shows where a sprite has no pixels, and the
    // chunk that holds no sprite gets a crossed-out cell of its own.
    const CommandResult sprites = runCli({"sheet", "--kind", "sprites", dir.file("VSWAP.TST"), out("sprites.png")});
    ASSERT_EQ(sprites.status, 0) << sprites.err;
    const SheetGeometry spriteGeometry{{3, 2}, 3};
    const QImage spriteSheet(QString::fromStdString(out("sprites.png")));
    ASSERT_EQ(spriteSheet.size(), QSize(spriteGeometry.width(), spriteGeometry.height()));
    const int left = spriteGeometry.pictureLeft(0);
    const int top = spriteGeometry.pictureTop(0);
    EXPECT_EQ(spriteSheet.pixel(left + 2 * 25, top + 2 * 10), gameRgb((25 * 3 + 10) % 255));
    EXPECT_EQ(spriteSheet.pixel(left + 2 * 5, top + 2 * 10), Background);
    const int side = spriteGeometry.pictureSide();
    EXPECT_NE(spriteSheet.pixel(spriteGeometry.pictureLeft(2) + side / 2, spriteGeometry.pictureTop(2) + side / 2),
              Background);
    EXPECT_EQ(spriteSheet.pixel(spriteGeometry.pictureLeft(1) + side / 2, spriteGeometry.pictureTop(1) + side / 2),
              Background);
}

TEST_F(ExtractPng, SheetOptionsAreChecked)
{
    for (const std::vector<std::string>& args : {std::vector<std::string>{"sheet", "--columns", "0", "a", "b.png"},
                                                 {"sheet", "--scale", "17", "a", "b.png"},
                                                 {"sheet", "--kind", "sounds", "a", "b.png"},
                                                 {"sheet", "a"},
                                                 {"save", "--format", "gif", "a", "b"}})
        EXPECT_EQ(runCli(args).status, 2) << args[1];
}

}  // namespace
}  // namespace pagelark::testing
