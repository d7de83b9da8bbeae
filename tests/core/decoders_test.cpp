#include "archive/byte_file.h"
#include "archive/run_error.h"
#include "pictures/decoders.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <vector>

namespace pagelark {
namespace {

using Bytes = std::vector<std::uint8_t>;

void putBytes(Bytes& bytes, std::size_t at, std::initializer_list<std::uint8_t> values)
{
    if (bytes.size() < at + values.size())
        bytes.resize(at + values.size());
    std::copy(values.begin(), values.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
}

void putWord(Bytes& bytes, std::size_t at, std::uint16_t value)
{
    putBytes(bytes, at, {static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint8_t>(value >> 8)});
}

// A run command as the sprite format stores it: rows doubled.
void putRun(Bytes& bytes, std::size_t at, int endRow, std::int16_t source, int startRow)
{
    putWord(bytes, at, static_cast<std::uint16_t>(endRow * 2));
    putWord(bytes, at + 2, static_cast<std::uint16_t>(source));
    putWord(bytes, at + 4, static_cast<std::uint16_t>(startRow * 2));
}

// A sprite header for one column x whose commands start at byte 6.
Bytes oneColumnSprite(std::uint8_t x)
{
    Bytes bytes;
    putBytes(bytes, 0, {x, 0, x, 0});
    putWord(bytes, 4, 6);
    return bytes;
}

class Decoders : public ::testing::Test {
protected:
    ByteFile& open(const Bytes& bytes)
    {
        testing::writeFileBytes(dir_.file("chunks"), bytes);
        file_.openRead(dir_.file("chunks"));
        return file_;
    }

    // Every cell is the fill value except the ones listed.
    void expectGrid(std::uint8_t fill, std::initializer_list<std::pair<int, std::uint8_t>> cells)
    {
        PixelGrid expected;
        expected.fill(fill);
        for (const auto& [cell, value] : cells)
            expected[static_cast<std::size_t>(cell)] = value;
        for (int i = 0; i < GridCells; ++i)
            EXPECT_EQ(grid[i], expected[i]) << "cell (" << i / 64 << ", " << i % 64 << ")";
    }

    // The grid holds the fill a decode starts from, and nothing else.
    void expectBackground(std::optional<std::uint8_t> ceiling)
    {
        for (int x = 0; x < GridSide; ++x)
            for (int y = 0; y < GridSide; ++y)
                ASSERT_EQ(grid[gridCell(x, y)], !ceiling ? 255 : y < 32 ? *ceiling : 25) << x << ", " << y;
    }

    PixelGrid grid{};

private:
    testing::TempDir dir_;
    ByteFile file_;
};

TEST_F(Decoders, SpriteOfOneRunAfterOtherChunks)
{
    const Bytes bytes
        = {0x77, 0x77, 0x77, 0x77, 0x77,  // another chunk's bytes
           0x20, 0x00, 0x20, 0x00, 0x06, 0x00, 0x1A, 0x00, 0x04, 0x00, 0x14, 0x00, 0x00, 0x00, 0xAA, 0xBB, 0xCC};
    ByteFile& file = open(bytes);
    EXPECT_TRUE(decodeSprite(file, 5, std::nullopt, grid));
    expectGrid(255, {{gridCell(32, 10), 0xAA}, {gridCell(32, 11), 0xBB}, {gridCell(32, 12), 0xCC}});

    EXPECT_TRUE(decodeSprite(file, 5, std::uint8_t{29}, grid));
    for (int x = 0; x < 64; ++x) {
        for (int y = 0; y < 64; ++y) {
            const std::uint8_t background = y < 32 ? 29 : 25;
            const bool drawn = x == 32 && y >= 10 && y <= 12;
            EXPECT_EQ(grid[gridCell(x, y)], drawn ? 0xAA + (y - 10) * 0x11 : background);
        }
    }
}

TEST_F(Decoders, SpriteHeaderUsesTheLowBytesOnly)
{
    Bytes bytes;
    putBytes(bytes, 0, {0x05, 0x01, 0x05, 0x02});
    putWord(bytes, 4, 6);
    putRun(bytes, 6, 1, 14, 0);
    putBytes(bytes, 10, {0x00, 0x7F});  // high byte of the start row: ignored
    putWord(bytes, 12, 0);
    putBytes(bytes, 14, {0x42});
    EXPECT_TRUE(decodeSprite(open(bytes), 0, std::nullopt, grid));
    expectGrid(255, {{gridCell(5, 0), 0x42}});
}

TEST_F(Decoders, SpriteColumnRange)
{
    Bytes right = oneColumnSprite(63);
    putRun(right, 6, 2, 20, 0);
    putWord(right, 12, 0);
    putBytes(right, 20, {1, 2});
    EXPECT_TRUE(decodeSprite(open(right), 0, std::nullopt, grid));
    expectGrid(255, {{gridCell(63, 0), 1}, {gridCell(63, 1), 2}});

    // Column 0 alone, a reversed range and columns beyond 63 are refused,
    // leaving the background fill.
    for (auto [first, last] : std::initializer_list<std::pair<int, int>>{{0, 0}, {5, 4}, {64, 64}, {0, 64}}) {
        Bytes refused = right;
        refused[0] = static_cast<std::uint8_t>(first);
        refused[2] = static_cast<std::uint8_t>(last);
        grid.fill(0x11);
        EXPECT_FALSE(decodeSprite(open(refused), 0, std::nullopt, grid)) << first << ".." << last;
        expectGrid(255, {});
    }
}

TEST_F(Decoders, ColumnOffsetsUpTo4096)
{
    Bytes bytes;
    putBytes(bytes, 0, {16, 0, 17, 0});
    putWord(bytes, 4, 8);
    putWord(bytes, 6, 4096);
    putRun(bytes, 8, 1, 20, 0);
    putWord(bytes, 14, 0);
    putBytes(bytes, 20, {9});
    putWord(bytes, 4096, 0);
    EXPECT_TRUE(decodeSprite(open(bytes), 0, std::nullopt, grid));
    expectGrid(255, {{gridCell(16, 0), 9}});

    putWord(bytes, 6, 4097);
    putWord(bytes, 4097, 0);
    EXPECT_FALSE(decodeSprite(open(bytes), 0, std::nullopt, grid));
    expectGrid(255, {});  // not even the valid first column is drawn
}

TEST_F(Decoders, RowsBelowTheGridAreReadButNotStored)
{
    Bytes bytes = oneColumnSprite(63);  // the last column: a row beyond 63 would leave the grid
    putRun(bytes, 6, 70, 40, 60);
    putRun(bytes, 12, 120, 0, 100);
    putWord(bytes, 18, 0);
    for (std::uint8_t i = 0; i < 20; ++i)
        putBytes(bytes, 100 + i, {static_cast<std::uint8_t>(i + 1)});
    EXPECT_TRUE(decodeSprite(open(bytes), 0, std::nullopt, grid));
    expectGrid(255, {{gridCell(63, 60), 1}, {gridCell(63, 61), 2}, {gridCell(63, 62), 3}, {gridCell(63, 63), 4}});
}

TEST_F(Decoders, CommandsThatDrawNothingAreFollowedByTheNext)
{
    Bytes bytes;
    putBytes(bytes, 0, {7, 0, 8, 0});
    putWord(bytes, 4, 8);
    putWord(bytes, 6, 50);
    // Column 7: end row 0 although the list goes on (high byte set, then
    // low byte 1), an end above the start, then a real run.
    putWord(bytes, 8, 0x0100);
    putWord(bytes, 10, 40);
    putWord(bytes, 12, 5 * 2);
    putWord(bytes, 14, 0x0001);
    putWord(bytes, 16, 40);
    putWord(bytes, 18, 0);
    putRun(bytes, 20, 4, 40, 6);
    putRun(bytes, 26, 3, 40, 1);
    putWord(bytes, 32, 0);
    putBytes(bytes, 41, {7, 8});
    // Column 8: its list ends at once.
    putWord(bytes, 50, 0);
    EXPECT_TRUE(decodeSprite(open(bytes), 0, std::nullopt, grid));
    expectGrid(255, {{gridCell(7, 1), 7}, {gridCell(7, 2), 8}});
}

TEST_F(Decoders, NegativeRunSourcePointsBackwards)
{
    // The sprite starts at 20.
    Bytes bytes(20, 0x77);
    putBytes(bytes, 20, {3, 0, 3, 0});
    putWord(bytes, 24, 40);
    putRun(bytes, 20 + 40, 22, -10, 20);
    putWord(bytes, 20 + 46, 0);
    putBytes(bytes, 20 + 10, {0xA1, 0xA2});
    EXPECT_TRUE(decodeSprite(open(bytes), 20, std::nullopt, grid));
    expectGrid(255, {{gridCell(3, 20), 0xA1}, {gridCell(3, 21), 0xA2}});

    // So far back that the position would lie before the file's start.
    putWord(bytes, 20 + 42, static_cast<std::uint16_t>(-100));
    EXPECT_THROW(decodeSprite(open(bytes), 20, std::nullopt, grid), RunError);
}

TEST_F(Decoders, SpriteReadingPastTheEndOfTheFile)
{
    auto expectReadBeyondEnd = [&](const Bytes& bytes, std::int32_t offset) {
        try {
            decodeSprite(open(bytes), offset, std::nullopt, grid);
            ADD_FAILURE() << "no error raised";
        } catch (const RunError& error) {
            EXPECT_EQ(error.code(), 100);
            EXPECT_STREQ(error.what(), "Read beyond end of file");
        }
    };

    Bytes farColumn = oneColumnSprite(4);
    putWord(farColumn, 4, 4000);
    expectReadBeyondEnd(farColumn, 0);
    expectReadBeyondEnd(farColumn, static_cast<std::int32_t>(farColumn.size()));

    // The pixels run out after three rows: those stay drawn.
    Bytes shortPixels = oneColumnSprite(4);
    putRun(shortPixels, 6, 10, 20, 0);
    putWord(shortPixels, 12, 0);
    putBytes(shortPixels, 20, {1, 2, 3});
    expectReadBeyondEnd(shortPixels, 0);
    expectGrid(255, {{gridCell(4, 0), 1}, {gridCell(4, 1), 2}, {gridCell(4, 2), 3}});
}

TEST_F(Decoders, ShortWallRepeatsItsLastByte)
{
    Bytes bytes(1000);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i % 251);
    ByteFile& file = open(bytes);
    decodeWall(file, 900, grid);
    for (int n = 0; n < GridCells; ++n)
        ASSERT_EQ(grid[n], bytes[n < 100 ? 900 + n : 999]) << n;

    grid.fill(0x55);
    decodeWall(file, 1000, grid);
    expectGrid(0, {});
    EXPECT_THROW(decodeWall(file, -1, grid), RunError);
}

}  // namespace
}  // namespace pagelark

namespace pagelark {
namespace {

// A column of count one-row runs, row k mod 64 of index k mod 256, the
// pixels after the commands; only the last command ends the list.
Bytes columnOfRuns(int count)
{
    Bytes bytes = oneColumnSprite(7);
    const std::size_t pixels = 6 + 6 * static_cast<std::size_t>(count) + 2;
    for (int k = 0; k < count; ++k) {
        const int row = k % 64;
        putRun(bytes, 6 + 6 * static_cast<std::size_t>(k), row + 1,
               static_cast<std::int16_t>(pixels + static_cast<std::size_t>(k) - static_cast<std::size_t>(row)), row);
        putBytes(bytes, pixels + static_cast<std::size_t>(k), {static_cast<std::uint8_t>(k)});
    }
    putWord(bytes, 6 + 6 * static_cast<std::size_t>(count), 0);
    return bytes;
}

TEST_F(Decoders, ColumnListsLongerThanASpriteCanNeedAreDamaged)
{
    // Four times as many runs as a column has rows still decode; later runs
    // overwrite earlier ones.
    EXPECT_TRUE(decodeSprite(open(columnOfRuns(256)), 0, std::nullopt, grid));
    EXPECT_EQ(grid[gridCell(7, 0)], 192);
    EXPECT_EQ(grid[gridCell(7, 63)], 255);
    EXPECT_EQ(grid[gridCell(6, 0)], 255);

    // One more, and the sprite is not one: the background alone, as for a bad header.
    EXPECT_FALSE(decodeSprite(open(columnOfRuns(257)), 0, std::uint8_t{29}, grid));
    expectBackground(29);
}

TEST_F(Decoders, EndlessColumnListsInALargeFileFailWithoutWalkingIt)
{
    // 64 columns share one list of commands that never ends: every word of
    // the 8 MiB file after the header is 0x0202, an end row 1 that never ends
    // a list. Walking it to the end of the file once per column would take
    // minutes; the decode gives up after a bounded number of commands.
    Bytes bytes(8 * 1024 * 1024, 0x02);
    putBytes(bytes, 0, {0, 0, 63, 0});
    for (std::size_t k = 0; k < 64; ++k)
        putWord(bytes, 4 + 2 * k, 200);
    EXPECT_FALSE(decodeSprite(open(bytes), 0, std::nullopt, grid));
    expectBackground(std::nullopt);
}

}  // namespace
}  // namespace pagelark
