// Picture files read back into grids: the program's own bitmaps and PNGs,
// PNGs of other kinds, and files that are no wall or sprite.
#include "archive/run_error.h"
#include "pictures/bitmap_writer.h"
#include "pictures/game_palette.h"
#include "pictures/picture_import.h"
#include "pictures/picture_import_qt.h"
#include "pictures/png_chunks.h"
#include "pictures/png_files_qt.h"
#include "tests/support/gif_bytes.h"
#include "tests/support/png_bytes.h"
#include "tests/support/temp_dir.h"

#include <QBuffer>
#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <string>
#include <tuple>
#include <vector>

namespace pagelark::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

Palette gameColors()
{
    Palette palette{};
    for (std::size_t i = 0; i < palette.size(); ++i)
        palette[i] = packColor(gamePalette()[i].red, gamePalette()[i].green, gamePalette()[i].blue);
    return palette;
}

// A PNG whose header gives another size than its pixels have.
Bytes withSize(Bytes png, std::uint32_t width, std::uint32_t height)
{
    for (int i = 0; i < 4; ++i) {
        png[16 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(width >> (24 - 8 * i));
        png[20 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(height >> (24 - 8 * i));
    }
    const std::uint32_t crc = pngCrc(std::span(png).subspan(12, 17));
    for (int i = 0; i < 4; ++i)
        png[29 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    return png;
}

// A PNG of two colours in a column pattern of any bit depth and colour type:
// samples one value per pixel, so greyscale or palette.
Bytes twoValuePng(int depth, testing::PngPicture::ColorType type, std::uint8_t left, std::uint8_t right,
                  Bytes palette = {}, Bytes transparency = {})
{
    testing::PngPicture png;
    png.bitDepth = depth;
    png.colorType = type;
    png.palette = std::move(palette);
    png.transparency = std::move(transparency);
    for (int n = 0; n < GridCells; ++n)
        png.samples.push_back(n % 64 < 32 ? left : right);
    return testing::pngFileBytes(png);
}

Bytes rgbOf(std::initializer_list<PackedColor> colors)
{
    Bytes bytes;
    for (const PackedColor color : colors)
        bytes.insert(bytes.end(),
                     {static_cast<std::uint8_t>(color), static_cast<std::uint8_t>(color >> 8),
                      static_cast<std::uint8_t>(color >> 16)});
    return bytes;
}

DecodedPicture decodedFile(const Bytes& bytes, const std::string& name)
{
    TempDir dir;
    testing::writeFileBytes(dir.file(name), bytes);
    return readPictureFile(dir.file(name));
}

TEST(PictureFiles, TheProgramsOwnBitmapsAndPngsReadBackToTheSameGrid)
{
    const Palette palette = gameColors();
    PixelGrid wall{};
    PixelGrid sprite{};
    for (int n = 0; n < GridCells; ++n) {
        wall[static_cast<std::size_t>(n)] = static_cast<std::uint8_t>(n * 5);
        sprite[static_cast<std::size_t>(n)] = n % 3 == 0 ? EmptyIndex : static_cast<std::uint8_t>(n % 255);
    }
    TempDir dir;
    for (const auto& [grid, kind] : {std::pair{wall, ItemKind::Wall}, std::pair{sprite, ItemKind::Sprite}}) {
        writeBitmapFile(dir.file("bitmap"), grid, referenceBitmapHeader());
        // Named for the other format: the content decides.
        const std::vector<std::pair<std::string, Bytes>> files = {
            {"picture.png", testing::readFileBytes(dir.file("bitmap"))},
            {"picture.bmp", indexedPngBytes(grid, palette, kind == ItemKind::Sprite)},
        };
        for (const auto& [name, bytes] : files) {
            const DecodedPicture picture = decodedFile(bytes, name);
            EXPECT_TRUE(picture.indexed) << name;
            EXPECT_EQ(gridFromPicture(picture, kind, palette, nullptr), grid) << name;
        }
    }
}

TEST(PictureFiles, TruecolourPicturesKeepTheBasesIndicesWhereTheirColoursAreUnchanged)
{
    const Palette palette = gameColors();
    PixelGrid base{};
    QImage truecolor(64, 64, QImage::Format_RGB32);
    for (int n = 0; n < GridCells; ++n) {
        const auto index = static_cast<std::uint8_t>(n * 5);
        base[static_cast<std::size_t>(n)] = index;
        const PackedColor color = palette[index];
        truecolor.setPixel(n / 64, n % 64, qRgb(color & 0xFF, (color >> 8) & 0xFF, color >> 16));
    }
    const DecodedPicture colors = decodePictureBytes(pngBytes(truecolor));
    EXPECT_FALSE(colors.indexed);
    EXPECT_EQ(gridFromPicture(colors, ItemKind::Wall, palette, &base), base);
}

// What image editors write: indexed pictures of every depth whose colour
// tables are their own, in their own order, greyscale pictures of low depth
// (which Qt reads as indexed too), and 8-bit BMPs of a few colours.
TEST(PictureFiles, IndexedPicturesWithColourTablesOfTheirOwnAreMatchedByColour)
{
    const Palette palette = gameColors();
    using testing::PngPicture;
    // The palette's green (2), red (40), a grey (27, which is 8's too) and
    // white's nearest (15).
    const Bytes greenRed = rgbOf({palette[2], palette[40]});
    QImage ownBmp(64, 64, QImage::Format_Indexed8);
    ownBmp.setColorTable({qRgb(0, 0, 0), qRgb(152, 0, 0), qRgb(0, 168, 0)});
    for (int n = 0; n < GridCells; ++n)
        ownBmp.setPixel(n % 64, n / 64, n % 64 < 32 ? 2 : 1);
    QByteArray bmp;
    QBuffer bmpBuffer(&bmp);
    bmpBuffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(ownBmp.save(&bmpBuffer, "BMP"));

    struct Case {
        std::string what;
        Bytes file;
        ItemKind kind;
        std::uint8_t left;
        std::uint8_t right;
    };
    const std::vector<Case> cases = {
        {"1-bit palette", twoValuePng(1, PngPicture::Palette, 0, 1, greenRed), ItemKind::Wall, 2, 40},
        {"1-bit palette, all green", twoValuePng(1, PngPicture::Palette, 1, 1, rgbOf({0, palette[2]})), ItemKind::Wall,
         2, 2},
        {"2-bit palette", twoValuePng(2, PngPicture::Palette, 3, 2, rgbOf({0, 0, palette[27], palette[2]})),
         ItemKind::Wall, 2, 8},
        {"4-bit palette with transparency", twoValuePng(4, PngPicture::Palette, 0, 1, greenRed, {0}), ItemKind::Sprite,
         EmptyIndex, 40},
        {"8-bit palette", twoValuePng(8, PngPicture::Palette, 1, 0, greenRed), ItemKind::Wall, 40, 2},
        {"1-bit grey", twoValuePng(1, PngPicture::Grey, 0, 1), ItemKind::Wall, 0, 15},
        {"2-bit grey", twoValuePng(2, PngPicture::Grey, 3, 0), ItemKind::Wall, 15, 0},
        {"4-bit grey with transparency", twoValuePng(4, PngPicture::Grey, 15, 7, {}, {0, 7}), ItemKind::Sprite, 15,
         EmptyIndex},
        {"8-bit BMP", Bytes(bmp.begin(), bmp.end()), ItemKind::Wall, 2, 40},
    };
    for (const Case& entry : cases) {
        PixelGrid expected{};
        for (int x = 0; x < 64; ++x)
            std::fill_n(expected.begin() + gridCell(x, 0), 64, x < 32 ? entry.left : entry.right);
        const DecodedPicture picture = decodePictureBytes(entry.file);
        EXPECT_TRUE(picture.indexed) << entry.what;
        EXPECT_EQ(gridFromPicture(picture, entry.kind, palette, nullptr), expected) << entry.what;
    }
}

TEST(PictureFiles, RefusesFilesThatHoldNo64By64Picture)
{
    QImage wide(65, 64, QImage::Format_RGB32);
    wide.fill(Qt::white);
    // Decoding this one would take 2.7 GB; its size alone refuses it.
    const Bytes huge = withSize(twoValuePng(8, testing::PngPicture::Grey, 0, 0), 30000, 30000);
    const std::string refusal = "not a picture file Pagelark can read: ";
    const std::vector<std::pair<Bytes, std::string>> refused = {
        {pngBytes(wide), "the picture is 65 by 64 pixels; walls and sprites are 64 by 64"},
        {huge, "the picture is 30000 by 30000 pixels; walls and sprites are 64 by 64"},
        {Bytes(huge.begin(), huge.begin() + 40), refusal + "its size cannot be read before its pixels"},
        {{'h', 'e', 'l', 'l', 'o'}, refusal + "its content is no picture format known here"},
        {Bytes(MaxPictureFileBytes + 1, 'B'),
         "the file is 4194305 bytes long, more than a 64 by 64 picture file ever needs"},
    };
    for (const auto& [bytes, reason] : refused) {
        try {
            decodedFile(bytes, "picture.png");
            ADD_FAILURE() << "decoded: " << reason;
        } catch (const RunError& error) {
            EXPECT_EQ(error.text(), reason);
        }
    }
}

// Files cut short or damaged, which Qt's readers would take with their
// missing pixels filled in (GIF, JPEG) or their transparency dropped (a
// damaged tRNS chunk), or refuse with a reason of their own.
TEST(PictureFiles, RefusesPicturesWhosePixelsCannotAllBeDecoded)
{
    const Palette palette = gameColors();
    std::vector<std::uint8_t> indices(GridCells);
    for (std::size_t n = 0; n < indices.size(); ++n)
        indices[n] = static_cast<std::uint8_t>(n % 7);
    std::vector<std::uint32_t> colors;
    for (const std::size_t index : {0, 40, 2, 1, 15, 8, 100})
        colors.push_back((palette[index] & 0xFF) << 16 | (palette[index] & 0xFF00) | palette[index] >> 16);
    const Bytes gif = testing::gifFileBytes(64, 64, colors, indices);
    ASSERT_EQ(gridFromPicture(decodePictureBytes(gif), ItemKind::Wall, palette, nullptr)[gridCell(1, 0)], 40);
    // The codes start after the header, the colour table, the picture's own
    // header, the code size and the first block's length.
    constexpr std::size_t CodesAt = 13 + 768 + 10 + 1 + 1;
    Bytes badCode = gif;
    badCode[CodesAt] = 0xFF;  // code 511 where the table holds 258
    badCode[CodesAt + 1] = 0xFF;
    const Bytes fewPixels = testing::gifFileBytes(64, 64, {0, 0xFCFCFC}, std::vector<std::uint8_t>(3000, 1));

    const Bytes sprite = indexedPngBytes(PixelGrid{}, palette, true);
    Bytes clearDamaged = sprite;
    const auto transparency
        = static_cast<std::size_t>(std::search(sprite.begin(), sprite.end(), "tRNS", "tRNS" + 4) - sprite.begin());
    clearDamaged[transparency + 4] ^= 1;
    // Damaged pixel data whose chunk's check sum is right: the decoder's own refusal.
    Bytes pixelsDamaged = twoValuePng(8, testing::PngPicture::Grey, 3, 200);
    const std::size_t pixelsAt = 8 + 25 + 8;
    pixelsDamaged[pixelsAt + 100] ^= 0xFF;
    const std::uint32_t length = static_cast<std::uint32_t>(pixelsDamaged.size() - pixelsAt - 4 - 12);
    const std::uint32_t crc = pngCrc(std::span(pixelsDamaged).subspan(pixelsAt - 4, 4 + length));
    for (int i = 0; i < 4; ++i)
        pixelsDamaged[pixelsAt + length + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));

    QImage photo(64, 64, QImage::Format_RGB32);
    for (int n = 0; n < GridCells; ++n)
        photo.setPixel(n % 64, n / 64, qRgb(n % 64 * 4, n / 64 * 4, n % 7 * 30));
    QByteArray jpeg;
    QBuffer jpegBuffer(&jpeg);
    jpegBuffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(photo.save(&jpegBuffer, "JPEG"));
    const Bytes wholeJpeg(jpeg.begin(), jpeg.end());
    ASSERT_NO_THROW(decodePictureBytes(wholeJpeg));

    const auto cut = [](const Bytes& bytes, std::size_t keep) {
        return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(keep));
    };
    const std::string undecodable = "the picture's pixels cannot all be decoded: ";
    const std::vector<std::tuple<std::string, Bytes, std::string>> refused = {
        {"a GIF cut in its pixels", cut(gif, gif.size() / 2), undecodable + "the file ends inside them"},
        {"a GIF cut at its last pixels", cut(gif, gif.size() - 6), undecodable + "the file ends inside them"},
        {"a GIF with a code beyond its table", badCode, undecodable + "its compressed pixels are damaged"},
        {"a GIF of fewer pixels than its size", fewPixels, undecodable + "its compressed pixels end early"},
        {"a PNG with a damaged tRNS chunk", clearDamaged,
         "the picture file is damaged: its tRNS chunk does not match its check sum"},
        {"a PNG cut in its pixels", cut(sprite, sprite.size() - 40), undecodable + "the file ends inside them"},
        {"a PNG of damaged pixel data", pixelsDamaged, undecodable + "Unable to read image data"},
        {"a JPEG cut in its pixels", cut(wholeJpeg, wholeJpeg.size() - 100), undecodable + "the file ends inside them"},
    };
    for (const auto& [what, bytes, reason] : refused) {
        try {
            gridFromPicture(decodePictureBytes(bytes), ItemKind::Sprite, palette, nullptr);
            ADD_FAILURE() << "decoded " << what;
        } catch (const RunError& error) {
            EXPECT_EQ(error.text(), reason) << what;
        }
    }
}

}  // namespace
}  // namespace pagelark::testing
