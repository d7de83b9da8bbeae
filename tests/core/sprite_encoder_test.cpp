#include "pictures/sprite_encoder.h"

#include "archive/byte_file.h"
#include "archive/chunk_table.h"
#include "pictures/decoders.h"
#include "tests/support/sample_vswap.h"
#include "tests/support/temp_dir.h"
#include "tools/demo_vswap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace pagelark::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

PixelGrid emptyGrid()
{
    PixelGrid grid;
    grid.fill(EmptyIndex);
    return grid;
}

PixelGrid gridWith(std::initializer_list<std::pair<std::pair<int, int>, std::uint8_t>> cells)
{
    PixelGrid grid = emptyGrid();
    for (const auto& [at, value] : cells)
        grid[gridCell(at.first, at.second)] = value;
    return grid;
}

// The sprite decoded from a chunk at a place in a file other than its start,
// as the reader finds it; nothing when the reader refuses it.
std::optional<PixelGrid> decoded(const Bytes& chunk)
{
    constexpr std::int32_t ChunkAt = 100;
    TempDir dir;
    Bytes file(ChunkAt + chunk.size(), 0xEE);
    std::copy(chunk.begin(), chunk.end(), file.begin() + ChunkAt);
    testing::writeFileBytes(dir.file("sprite"), file);
    ByteFile in;
    in.openRead(dir.file("sprite"));
    PixelGrid grid{};
    if (!decodeSprite(in, ChunkAt, std::nullopt, grid))
        return std::nullopt;
    return grid;
}

TEST(SpriteEncoder, LaysOutTheChunkAsTheGamesDo)
{
    const struct {
        const char* what;
        PixelGrid grid;
        Bytes chunk;
    } cases[] = {
        {"one run in column 32: an odd pool, a pad byte, a negative pool position",
         gridWith({{{32, 10}, 0xAA}, {{32, 11}, 0xBB}, {{32, 12}, 0xCC}}),
         {0x20, 0x00, 0x20, 0x00, 0x0A, 0x00, 0xAA, 0xBB, 0xCC, 0x00, 0x1A, 0x00, 0xFC, 0xFF, 0x14, 0x00, 0x00, 0x00}},
        {"two runs in column 31, an empty column, a run in column 33",
         gridWith({{{31, 0}, 0xAA}, {{31, 1}, 0xBB}, {{31, 63}, 0xCC}, {{33, 5}, 0xDD}}),
         {0x1F, 0x00, 0x21, 0x00, 0x0E, 0x00, 0x1C, 0x00, 0x1E, 0x00, 0xAA, 0xBB, 0xCC,
          0xDD, 0x04, 0x00, 0x0A, 0x00, 0x00, 0x00, 0x80, 0x00, 0xCD, 0xFF, 0x7E, 0x00,
          0x00, 0x00, 0x00, 0x00, 0x0C, 0x00, 0x08, 0x00, 0x0A, 0x00, 0x00, 0x00}},
        {"no opaque pixel: columns 0 and 1, both empty",
         emptyGrid(),
         {0x00, 0x00, 0x01, 0x00, 0x08, 0x00, 0x0A, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {"column 0 alone: an empty column 1 after it",
         gridWith({{{0, 5}, 9}}),
         {0x00, 0x00, 0x01, 0x00, 0x0A, 0x00, 0x12, 0x00, 0x09, 0x00,
          0x0C, 0x00, 0x03, 0x00, 0x0A, 0x00, 0x00, 0x00, 0x00, 0x00}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(encodeSprite(c.grid), c.chunk) << c.what;
}

TEST(SpriteEncoder, EdgeGridsDecodeBackAndEncodeToTheSameBytes)
{
    PixelGrid column63 = emptyGrid();
    PixelGrid alternateRows = emptyGrid();
    PixelGrid full{};
    for (int y = 0; y < GridSide; ++y) {
        column63[gridCell(63, y)] = static_cast<std::uint8_t>(y);
        for (int x = 0; x < GridSide; ++x) {
            if (x < 17 && (x + y) % 2 == 0)  // 32 runs in each of 17 columns: near a page
                alternateRows[gridCell(x, y)] = static_cast<std::uint8_t>(x * 12 + y % 3);  // 0 to 242
            full[gridCell(x, y)] = static_cast<std::uint8_t>((x * 64 + y) % 255);           // 0 to 254
        }
    }
    const struct {
        const char* what;
        PixelGrid grid;
        std::size_t size;
    } cases[] = {
        {"empty", emptyGrid(), 12},
        {"column 0 only", gridWith({{{0, 0}, 0}, {{0, 63}, 254}}), 4 + 4 + 2 + 14 + 2},
        {"column 63 only", column63, 4 + 2 + 64 + 8},
        {"one pixel", gridWith({{{40, 40}, 17}}), 4 + 2 + 1 + 1 + 8},
        {"alternate rows", alternateRows, 4 + 34 + 17 * 32 + 17 * (32 * 6 + 2)},
    };
    for (const auto& c : cases) {
        const Bytes chunk = encodeSprite(c.grid);
        EXPECT_EQ(chunk.size(), c.size) << c.what;
        const std::optional<PixelGrid> grid = decoded(chunk);
        ASSERT_TRUE(grid) << c.what;
        EXPECT_EQ(*grid, c.grid) << c.what;
        EXPECT_EQ(encodeSprite(*grid), chunk) << c.what;
    }

    // Fully opaque it is larger than a page, and its column offsets lie beyond
    // byte 4096, where the reader no longer follows them: the caller's check.
    const Bytes chunk = encodeSprite(full);
    EXPECT_EQ(chunk.size(), 4740u);
    EXPECT_EQ(chunk[4] | chunk[5] << 8, 4 + 128 + 4096);
    EXPECT_FALSE(decoded(chunk));
}

// Every sprite of a file, decoded and encoded again, gives the chunk's bytes.
void expectSpritesEncodeToTheirOwnBytes(const Bytes& vswap, int sprites)
{
    TempDir dir;
    testing::writeFileBytes(dir.file("vswap"), vswap);
    ByteFile file;
    file.openRead(dir.file("vswap"));
    VswapHeader header;
    ChunkTable table;
    readChunkTable(file, header, table);
    ASSERT_EQ(header.soundStart - header.spriteStart, sprites);
    for (std::int32_t index = header.spriteStart; index < header.soundStart; ++index) {
        PixelGrid grid{};
        ASSERT_TRUE(decodeSprite(file, table.offset[index], std::nullopt, grid)) << index;
        const auto at = vswap.begin() + table.offset[index];
        EXPECT_EQ(encodeSprite(grid), Bytes(at, at + table.length[index])) << "chunk " << index;
    }
}

TEST(SpriteEncoder, SpritesOfTheDemoAndFullSizeFilesEncodeToTheirOwnBytes)
{
    expectSpritesEncodeToTheirOwnBytes(tools::buildDemoVswap(), tools::demo::SpriteCount);
    expectSpritesEncodeToTheirOwnBytes(testing::fullSizeVswap(), testing::FullSizeSprites);
}

}  // namespace
}  // namespace pagelark::testing
