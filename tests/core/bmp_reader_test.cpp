#include "archive/run_error.h"
#include "pictures/bitmap_writer.h"
#include "pictures/bmp_reader.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace pagelark {
namespace {

using Bytes = std::vector<std::uint8_t>;

void put(Bytes& bytes, std::size_t at, std::uint32_t value, std::size_t size = 4)
{
    for (std::size_t i = 0; i < size; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A truecolour bitmap: the file header, an information header of headerSize
// bytes with the masks (when given) right after its first 40 bytes, then the rows.
Bytes truecolorBmp(std::int32_t width, std::int32_t height, std::uint16_t bits, std::uint32_t headerSize,
                   std::uint32_t compression, const std::vector<std::uint32_t>& masks, const Bytes& rows)
{
    const std::size_t pixelsAt = 14 + std::max<std::size_t>(headerSize, 40 + 4 * masks.size());
    Bytes bytes(pixelsAt);
    bytes[0] = 'B';
    bytes[1] = 'M';
    put(bytes, 10, static_cast<std::uint32_t>(pixelsAt));
    put(bytes, 14, headerSize);
    put(bytes, 18, static_cast<std::uint32_t>(width));
    put(bytes, 22, static_cast<std::uint32_t>(height));
    bytes[26] = 1;
    bytes[28] = static_cast<std::uint8_t>(bits);
    put(bytes, 30, compression);
    for (std::size_t i = 0; i < masks.size(); ++i)
        put(bytes, 54 + 4 * i, masks[i]);
    bytes.insert(bytes.end(), rows.begin(), rows.end());
    return bytes;
}

Bytes writtenBitmap(const PixelGrid& grid)
{
    testing::TempDir dir;
    writeBitmapFile(dir.file("w.bmp"), grid, referenceBitmapHeader());
    return testing::readFileBytes(dir.file("w.bmp"));
}

TEST(BmpReader, ReadsTruecolourRowsEitherWayUpWithTheirPadding)
{
    // 3 x 2, 24-bit, bottom-up: each row 9 bytes of blue, green, red and 3 of padding.
    const Bytes rows24 = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0, 11, 12, 13, 14, 15, 16, 17, 18, 19, 0, 0, 0};
    const DecodedPicture bottomUp = decodeBmp(truecolorBmp(3, 2, 24, 40, 0, {}, rows24));
    EXPECT_FALSE(bottomUp.indexed);
    EXPECT_EQ(bottomUp.pixels,
              (std::vector<ArgbColor>{0xFF0D0C0B, 0xFF100F0E, 0xFF131211, 0xFF030201, 0xFF060504, 0xFF090807}));

    // 2 x 2, 32-bit, top-down. Without bit fields the fourth byte is no alpha;
    // with an alpha mask in a version 5 header it is.
    const Bytes rows32 = {1, 2, 3, 0, 4, 5, 6, 0x7F, 7, 8, 9, 0x80, 10, 11, 12, 0xFF};
    EXPECT_EQ(decodeBmp(truecolorBmp(2, -2, 32, 40, 0, {}, rows32)).pixels,
              (std::vector<ArgbColor>{0xFF030201, 0xFF060504, 0xFF090807, 0xFF0C0B0A}));
    const std::vector<std::uint32_t> masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
    EXPECT_EQ(decodeBmp(truecolorBmp(2, -2, 32, 124, 3, masks, rows32)).pixels,
              (std::vector<ArgbColor>{0x00030201, 0x7F060504, 0x80090807, 0xFF0C0B0A}));
}

TEST(BmpReader, ReadsIndexedPixelsOfOneFourAndEightBitsFromTheHighBitsDown)
{
    // Top-down, 10 x 2; the colour table as long as the pixels can name,
    // its entries blue, green, red and a reserved byte.
    struct Case {
        std::uint16_t bits;
        Bytes rows;  // each padded to 4 bytes
        std::vector<std::uint8_t> indices;
    };
    const std::vector<Case> cases = {
        {1, {0xB0, 0x40, 0, 0, 0xFF, 0xC0, 0, 0}, {1, 0, 1, 1, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
        {4,
         {0x12, 0x3F, 0x00, 0xE5, 0xA0, 0, 0, 0, 0x01, 0x23, 0x45, 0x67, 0x89, 0, 0, 0},
         {1, 2, 3, 15, 0, 0, 14, 5, 10, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
    };
    for (const Case& entry : cases) {
        const std::size_t colors = std::size_t{1} << entry.bits;
        Bytes tableAndRows;
        for (std::size_t i = 0; i < colors; ++i)
            tableAndRows.insert(tableAndRows.end(), {static_cast<std::uint8_t>(i), 0, 0, 0});
        tableAndRows.insert(tableAndRows.end(), entry.rows.begin(), entry.rows.end());
        Bytes bmp = truecolorBmp(10, -2, entry.bits, 40, 0, {}, tableAndRows);
        put(bmp, 10, static_cast<std::uint32_t>(54 + colors * 4));
        const DecodedPicture picture = decodeBmp(bmp);
        EXPECT_TRUE(picture.indexed) << entry.bits;
        EXPECT_EQ(picture.indices, entry.indices) << entry.bits;
        ASSERT_EQ(picture.colorTable.size(), colors) << entry.bits;
        EXPECT_EQ(picture.colorTable.back(), 0xFF000000 | (colors - 1)) << entry.bits;
    }
}

TEST(BmpReader, RefusesWhatItCannotReadAndDamagedFilesWithAReason)
{
    const Bytes good = writtenBitmap(PixelGrid{});
    const auto patched = [&](std::size_t at, std::uint32_t value, std::size_t size = 4) {
        Bytes bytes = good;
        put(bytes, at, value, size);
        return bytes;
    };
    const auto cut = [&](std::size_t length) { return Bytes(good.begin(), good.begin() + static_cast<long>(length)); };
    const std::vector<std::pair<Bytes, std::string>> refused = {
        {{'P', 'K', 3, 4}, "it does not start with \"BM\""},
        {cut(16), "the file ends inside its header"},
        {cut(1000), "its pixels start at byte 1078 of a file of 1000 bytes"},
        {cut(5173), "the pixels of 64 by 64 pixels run past the end of the file"},
        {patched(22, 6400), "the pixels of 64 by 6400 pixels run past the end of the file"},
        {patched(18, 0x7FFFFFFF), "the pixels of 2147483647 by 64 pixels run past the end of the file"},
        {patched(22, 0x80000000), "a size of 64 by -2147483648 pixels"},
        {patched(10, 0xFFFFFFFF), "its pixels start at byte 4294967295 of a file of 5174 bytes"},
        {patched(10, 100), "its colour table of 256 colours runs into its pixels"},
        {patched(46, 300), "300 colours"},
        {patched(28, 2, 2), "2-bit pixels"},
        {patched(30, 1), "RLE-compressed pixels"},
        {patched(14, 12), "an OS/2 bitmap header"},
        {truecolorBmp(1, 1, 32, 40, 3, {0xF0F00000, 0xFF00, 0xFF}, {0, 0, 0, 0}),
         "a colour mask of bits that are not side by side"},
        {truecolorBmp(1, 1, 24, 40, 3, {}, {0, 0, 0, 0}), "compression method 3 for 24-bit pixels"},
    };
    for (const auto& [bytes, reason] : refused) {
        try {
            decodeBmp(bytes);
            ADD_FAILURE() << "read: " << reason;
        } catch (const RunError& error) {
            EXPECT_EQ(error.text(), "not a BMP file Pagelark can read: " + reason);
        }
    }

    // Every cut of a good file is refused, never read past its end (the
    // sanitizer build sees each cut in an allocation of its own length).
    for (std::size_t length = 0; length < good.size(); ++length)
        EXPECT_THROW(decodeBmp(cut(length)), RunError) << length;
}

}  // namespace
}  // namespace pagelark
