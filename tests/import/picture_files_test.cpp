// Picture files read back into grids: the program's own bitmaps and PNGs,
// PNGs of other kinds, and files that are no wall or sprite.
#include "archive/run_error.h"
#include "export/picture_import_qt.h"
#include "export/png_files_qt.h"
#include "pictures/bitmap_writer.h"
#include "pictures/game_palette.h"
#include "pictures/picture_import.h"
#include "tests/support/temp_dir.h"

#include <QImage>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pagelark {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::TempDir;

Palette gameColors()
{
    Palette palette{};
    for (std::size_t i = 0; i < palette.size(); ++i)
        palette[i] = packColor(gamePalette()[i].red, gamePalette()[i].green, gamePalette()[i].blue);
    return palette;
}

void appendBigEndian(Bytes& bytes, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

// A PNG of a kind Qt does not write: the header chunk as given, the rows
// (each with its filter byte) in one data chunk.
Bytes craftedPng(std::uint32_t width, std::uint32_t height, std::uint8_t depth, std::uint8_t colorType,
                 const QByteArray& rows)
{
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const auto chunk = [&png](const char* type, const Bytes& body) {
        Bytes typed(type, type + 4);
        typed.insert(typed.end(), body.begin(), body.end());
        std::uint32_t crc = 0xFFFFFFFF;
        for (const std::uint8_t byte : typed) {
            crc ^= byte;
            for (int bit = 0; bit < 8; ++bit)
                crc = (crc & 1) != 0 ? (crc >> 1) ^ 0xEDB88320 : crc >> 1;
        }
        appendBigEndian(png, static_cast<std::uint32_t>(body.size()));
        png.insert(png.end(), typed.begin(), typed.end());
        appendBigEndian(png, ~crc);
    };
    Bytes header;
    appendBigEndian(header, width);
    appendBigEndian(header, height);
    header.insert(header.end(), {depth, colorType, 0, 0, 0});
    chunk("IHDR", header);
    const QByteArray deflated = qCompress(rows).mid(4);  // without Qt's own length prefix
    chunk("IDAT", Bytes(deflated.begin(), deflated.end()));
    chunk("IEND", {});
    return png;
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

TEST(PictureFiles, OnlyAPalettePngKeepsItsIndices)
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

    // A 4-bit greyscale PNG comes from Qt as an indexed image, but its
    // indices are shades of grey, not palette indices.
    QByteArray rows;
    for (int y = 0; y < 64; ++y)
        rows += '\0' + QByteArray(32, '\x11');  // no filter, then two pixels of 1 a byte
    const DecodedPicture grey = decodePictureBytes(craftedPng(64, 64, 4, 0, rows));
    EXPECT_FALSE(grey.indexed);
    EXPECT_EQ(grey.pixels.front(), 0xFF111111U);

    // A 1-bit palette PNG is indices 0 and 1.
    QImage mono(64, 64, QImage::Format_Mono);
    mono.setColorTable({qRgb(9, 9, 9), qRgb(200, 0, 0)});
    mono.fill(1);
    const DecodedPicture twoColors = decodePictureBytes(pngBytes(mono));
    EXPECT_TRUE(twoColors.indexed);
    EXPECT_EQ(twoColors.indices, Bytes(GridCells, 1));
}

TEST(PictureFiles, RefusesFilesThatHoldNo64By64Picture)
{
    QImage wide(65, 64, QImage::Format_RGB32);
    wide.fill(Qt::white);
    // Decoding this one would take 2.7 GB; its size alone refuses it.
    const Bytes huge = craftedPng(30000, 30000, 8, 2, QByteArray(100, '\0'));
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

}  // namespace
}  // namespace pagelark
