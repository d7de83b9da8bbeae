#include "tools/sprite_encoder.h"

#include "archive/byte_file.h"
#include "pictures/decoders.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <stdexcept>

namespace pagelark::tools {
namespace {

using pagelark::testing::TempDir;

constexpr std::int32_t ChunkOffset = 100;  // not 0, so offsets taken from the file start would show
constexpr std::uint8_t Ceiling = 7;

Picture emptyPicture()
{
    Picture picture;
    picture.fill(Transparent);
    return picture;
}

struct Decoded {
    bool drawn;
    PixelGrid grid;
};

Decoded decode(const std::vector<std::uint8_t>& chunk, std::optional<std::uint8_t> ceiling)
{
    TempDir dir;
    std::vector<std::uint8_t> bytes(ChunkOffset + chunk.size(), 0xEE);
    std::copy(chunk.begin(), chunk.end(), bytes.begin() + ChunkOffset);
    pagelark::testing::writeFileBytes(dir.file("sprite"), bytes);
    ByteFile file;
    file.openRead(dir.file("sprite"));
    Decoded decoded{};
    decoded.drawn = decodeSprite(file, ChunkOffset, ceiling, decoded.grid);
    return decoded;
}

PixelGrid expectedGrid(const Picture& picture, std::optional<std::uint8_t> ceiling)
{
    PixelGrid grid{};
    for (int x = 0; x < GridSide; ++x) {
        for (int y = 0; y < GridSide; ++y) {
            const std::int16_t cell = picture[pictureCell(x, y)];
            std::uint8_t background = EmptyIndex;
            if (ceiling)
                background = y < GridSide / 2 ? *ceiling : FloorIndex;
            grid[gridCell(x, y)] = cell == Transparent ? background : static_cast<std::uint8_t>(cell);
        }
    }
    return grid;
}

void expectRoundTrip(const Picture& picture)
{
    const std::vector<std::uint8_t> chunk = encodeSprite(picture);
    for (std::optional<std::uint8_t> ceiling : {std::optional<std::uint8_t>{}, std::optional{Ceiling}}) {
        const Decoded decoded = decode(chunk, ceiling);
        EXPECT_TRUE(decoded.drawn);
        EXPECT_EQ(decoded.grid, expectedGrid(picture, ceiling)) << "with background " << ceiling.has_value();
    }
}

TEST(SpriteEncoder, WritesOneColumnWithOneRunInTheLayoutTheDecoderReads)
{
    Picture picture = emptyPicture();
    picture[pictureCell(32, 10)] = 0xAA;
    picture[pictureCell(32, 11)] = 0xBB;
    picture[pictureCell(32, 12)] = 0xCC;
    const std::vector<std::uint8_t> expected{0x20, 0x00, 0x20, 0x00, 0x06, 0x00, 0x1A, 0x00, 0x04,
                                             0x00, 0x14, 0x00, 0x00, 0x00, 0xAA, 0xBB, 0xCC};
    EXPECT_EQ(encodeSprite(picture), expected);
}

TEST(SpriteEncoder, PicturesDecodeBackUnchanged)
{
    {
        SCOPED_TRACE("fully opaque, every palette index including 0 and 255");
        Picture full;
        for (std::size_t i = 0; i < full.size(); ++i)
            full[i] = static_cast<std::int16_t>((i * 7) % 256);
        expectRoundTrip(full);
        // One run per column: header, 64 offsets, one command and a closing word each, the pixels.
        EXPECT_EQ(encodeSprite(full).size(), 4u + 2 * 64 + 64 * 8 + 4096);
    }
    {
        SCOPED_TRACE("separate columns with empty ones between, runs at the top and bottom rows");
        Picture sparse = emptyPicture();
        for (int y : {0, 1, 2, 20, 40, 41, 63})
            sparse[pictureCell(3, y)] = static_cast<std::int16_t>(100 + y);
        sparse[pictureCell(63, 63)] = 255;  // its pixels lie before row 63 of the chunk: a negative source
        expectRoundTrip(sparse);
    }
    {
        SCOPED_TRACE("alternate rows in 21 columns: many runs, the last command list near byte 4096");
        Picture striped = emptyPicture();
        for (int x = 0; x <= 20; ++x)
            for (int y = x % 2; y < GridSide; y += 2)
                striped[pictureCell(x, y)] = static_cast<std::int16_t>(x + y);
        expectRoundTrip(striped);
    }
    {
        SCOPED_TRACE("a picture in column 0 alone gets an empty column 1, so it is drawn");
        Picture leftEdge = emptyPicture();
        leftEdge[pictureCell(0, 5)] = 9;
        const std::vector<std::uint8_t> chunk = encodeSprite(leftEdge);
        ASSERT_GE(chunk.size(), 4u);
        EXPECT_EQ(chunk[0], 0);
        EXPECT_EQ(chunk[2], 1);
        expectRoundTrip(leftEdge);
    }
}

TEST(SpriteEncoder, RefusesPicturesNoSpriteChunkCanHold)
{
    EXPECT_THROW(encodeSprite(emptyPicture()), std::invalid_argument);

    Picture outOfPalette = emptyPicture();
    outOfPalette[pictureCell(10, 10)] = 256;
    EXPECT_THROW(encodeSprite(outOfPalette), std::invalid_argument);
    outOfPalette[pictureCell(10, 10)] = -2;
    EXPECT_THROW(encodeSprite(outOfPalette), std::invalid_argument);

    // 32 runs in every column: the later columns' commands would start past byte 4096.
    Picture checkerboard = emptyPicture();
    for (int x = 0; x < GridSide; ++x)
        for (int y = x % 2; y < GridSide; y += 2)
            checkerboard[pictureCell(x, y)] = 1;
    EXPECT_THROW(encodeSprite(checkerboard), std::length_error);
}

}  // namespace
}  // namespace pagelark::tools
