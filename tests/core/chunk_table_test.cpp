#include "archive/byte_file.h"
#include "archive/chunk_table.h"
#include "archive/list_line.h"
#include "archive/run_error.h"
#include "tests/support/temp_dir.h"
#include "tests/support/vswap_writer.h"

#include <gtest/gtest.h>

#include <vector>

namespace pagelark::testing {
namespace {

using tools::VswapWriter;
using Chunk = VswapWriter::Chunk;

Chunk bytesOf(std::size_t count, std::uint8_t value = 1)
{
    return {std::vector<std::uint8_t>(count, value), false, {}};
}
Chunk absentChunk() { return {{}, true, {}}; }

struct ReadTable {
    VswapHeader header;
    ChunkTable table;
    std::vector<std::string> lines;
};

ReadTable readBytes(const std::vector<std::uint8_t>& bytes)
{
    TempDir dir;
    testing::writeFileBytes(dir.file("VSWAP.TST"), bytes);
    ByteFile file;
    file.openRead(dir.file("VSWAP.TST"));
    ReadTable result;
    readChunkTable(file, result.header, result.table);
    result.lines = listLines(result.header, result.table);
    return result;
}

std::string errorText(const std::vector<std::uint8_t>& bytes)
{
    try {
        readBytes(bytes);
    } catch (const RunError& error) {
        return error.text();
    }
    return "no error";
}

void putWord(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint16_t value)
{
    bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

TEST(ListLine, NumberFieldsAreFourCharactersRightAligned)
{
    EXPECT_EQ(listNumberField(0), "   0");
    EXPECT_EQ(listNumberField(24), "  24");
    EXPECT_EQ(listNumberField(600), " 600");
    EXPECT_EQ(listNumberField(6143), "6143");
    // Longer numbers lose digits at both ends: the field is cut from nine characters.
    EXPECT_EQ(listNumberField(12345), "2345");
    EXPECT_EQ(listNumberField(123456), "345");
    EXPECT_EQ(listNumberField(123456789), "");

    EXPECT_EQ(formatListLine(0, ItemKind::Wall, 0), "   0 wall      0");
    EXPECT_EQ(formatListLine(130, ItemKind::Sprite, 24), " 130 sprite   24");
    EXPECT_EQ(formatListLine(600, ItemKind::Sound, 5), " 600 sound     5");
    // Every line is its two fields around the kind word, however it is put together.
    for (std::int32_t number : {1, 9, 10, 99, 100, 999, 1000, 9999, 10000, 65535})
        EXPECT_EQ(formatListLine(number, ItemKind::Sprite, 6143 - number % 6144),
                  listNumberField(number) + " sprite " + listNumberField(6143 - number % 6144));
}

TEST(ListLine, ReadersTakeTheIndexAndTheItemNumberBack)
{
    EXPECT_EQ(chunkIndexOfLine(" 130 sprite   24  Guard standing"), 130);
    EXPECT_EQ(itemNumberOfLine(" 130 sprite   24  Guard standing"), 24);
    EXPECT_EQ(itemNumberOfLine(" 600 sound     5"), 5);
    EXPECT_EQ(itemNumberOfLine("  12"), 0);
    EXPECT_EQ(chunkIndexOfLine("x 12"), 0);
}

TEST(ChunkTableReading, ListsWallsSpritesAndTheFirstPageOfEachSound)
{
    VswapWriter writer;
    writer.wall(bytesOf(4096)).wall(bytesOf(4096));
    writer.sprite(bytesOf(40)).sprite(bytesOf(50)).sprite(bytesOf(60));
    // Sound 0 runs over two pages, sound 1 has one page of 300 bytes.
    writer.soundPage(bytesOf(4096)).soundPage(bytesOf(904)).soundPage(bytesOf(300));
    writer.sound(0, 5000).sound(2, 300);
    const ReadTable read = readBytes(writer.build());

    EXPECT_EQ(read.header.chunkCount, 9);
    EXPECT_EQ(read.header.spriteStart, 2);
    EXPECT_EQ(read.header.soundStart, 5);
    EXPECT_EQ(read.lines,
              (std::vector<std::string>{
                  "   0 wall      0",
                  "   1 wall      1",
                  "   2 sprite    0",
                  "   3 sprite    1",
                  "   4 sprite    2",
                  "   5 sound     0",
                  "   7 sound     1",
              }));
    // The first page of a sound carries the whole sound's length.
    EXPECT_EQ(read.table.length[5], 5000);
    EXPECT_EQ(read.table.length[7], 300);
    EXPECT_EQ(read.table.itemNumber[6], -1);
    EXPECT_EQ(read.table.itemNumber[8], -1);  // the sound information chunk
    EXPECT_EQ(read.table.length[4], 60);
    EXPECT_GT(read.table.offset[3], read.table.offset[2]);
}

TEST(ChunkTableReading, LeavesOutAbsentShortAndUnnamedChunks)
{
    VswapWriter writer;
    writer.wall(bytesOf(4096)).wall(absentChunk()).wall(bytesOf(1)).wall(bytesOf(0)).wall(bytesOf(2));
    writer.sprite(bytesOf(10));
    // No entry names page 0, so the first sound chunk stays unlisted.
    writer.soundPage(bytesOf(100)).soundPage(bytesOf(100));
    writer.sound(1, 100);
    const ReadTable read = readBytes(writer.build());
    EXPECT_EQ(read.lines,
              (std::vector<std::string>{
                  "   0 wall      0",
                  "   4 wall      4",
                  "   5 sprite    0",
                  "   7 sound     0",
              }));
    EXPECT_EQ(read.table.length[6], 0);
}

TEST(ChunkTableReading, SoundInformationEndsAtTheFileEndWithoutATerminator)
{
    VswapWriter writer;
    writer.wall(bytesOf(64));
    writer.soundPage(bytesOf(10)).soundPage(bytesOf(20));
    writer.sound(0, 10).sound(1, 20).terminateSoundInfo(false);
    const ReadTable read = readBytes(writer.build());
    ASSERT_EQ(read.lines.size(), 3u);
    EXPECT_EQ(read.lines[2], "   2 sound     1");
    EXPECT_EQ(read.table.length[2], 20);
}

TEST(ChunkTableReading, SoundsBeyondSlot4096GoToTheLastSlot)
{
    VswapWriter writer;
    writer.wall(bytesOf(64));
    writer.soundPage(bytesOf(10));
    writer.sound(0, 10).sound(5000, 77);
    const ReadTable read = readBytes(writer.build());
    EXPECT_EQ(read.table.itemNumber[ChunkSlots - 1], 1);
    EXPECT_EQ(read.table.length[ChunkSlots - 1], 77);
    // Chunk 6143 lies beyond chunkCount here, so it is not listed.
    EXPECT_EQ(read.lines.size(), 2u);
}

TEST(ChunkTableReading, KindRulesOverrideInOrder)
{
    const VswapHeader header{10, 6, 4};  // sprites would start after the sounds
    EXPECT_EQ(kindOfChunk(header, 3), ItemKind::Wall);
    EXPECT_EQ(kindOfChunk(header, 4), ItemKind::Sound);
    EXPECT_EQ(kindOfChunk(header, 7), ItemKind::Sound);
    const VswapHeader ordered{10, 2, 6};
    EXPECT_EQ(kindOfChunk(ordered, 2), ItemKind::Sprite);
}

TEST(ChunkTableReading, EmptyFileTableListsNothing)
{
    std::vector<std::uint8_t> bytes(6, 0);
    const ReadTable read = readBytes(bytes);
    EXPECT_EQ(read.header.chunkCount, 0);
    EXPECT_TRUE(read.lines.empty());
}

TEST(ChunkTableDamage, FileCutInsideTheTablesIsReadBeyondEndOfFile)
{
    VswapWriter writer;
    writer.wall(bytesOf(4096)).sprite(bytesOf(20)).soundPage(bytesOf(30)).sound(0, 30);
    const std::vector<std::uint8_t> whole = writer.build();
    for (std::size_t cut : {std::size_t{0}, std::size_t{3}, std::size_t{8}, std::size_t{6 + 4 * 4 + 3}}) {
        const std::vector<std::uint8_t> bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut));
        EXPECT_EQ(errorText(bytes), "Read beyond end of file") << cut;
    }
    // Cut inside a sound information entry.
    const std::vector<std::uint8_t> cutEntry(whole.begin(), whole.end() - 6);
    EXPECT_EQ(errorText(cutEntry), "Read beyond end of file");
}

TEST(ChunkTableDamage, HeadersBeyondTheTableAreRefused)
{
    std::vector<std::uint8_t> bytes(6, 0);
    putWord(bytes, 0, 7000);
    EXPECT_EQ(errorText(bytes), "Not a VSWAP file: 7000 chunks, at most 6144");
    putWord(bytes, 0, 10);
    putWord(bytes, 4, 6144);
    EXPECT_EQ(errorText(bytes), "Not a VSWAP file: sounds start at chunk 6144, at most 6143");
}

TEST(ChunkTableDamage, FullTableWithStrayIndicesStaysInside)
{
    // 6144 chunks, sprites starting after the sounds, offsets pointing anywhere.
    // Two bytes more, so the stray sound entries end exactly at the file's end.
    std::vector<std::uint8_t> bytes(6 + 6 * 6144 + 2, 0xFF);
    putWord(bytes, 0, 6144);
    putWord(bytes, 2, 6000);
    putWord(bytes, 4, 10);
    // The last offset (sound information) points at the header itself.
    for (std::size_t i = 0; i < 4; ++i)
        bytes[6 + 4 * 6143 + i] = 0;
    const ReadTable read = readBytes(bytes);
    EXPECT_EQ(read.header.chunkCount, 6144);
    // Offsets with the top bit set are negative and so never listed.
    EXPECT_EQ(read.table.offset[0], -1);
    EXPECT_EQ(read.lines.size(), 0u);
}

TEST(ChunkTableDamage, NegativeSoundInformationOffsetIsAnIoError)
{
    VswapWriter writer;
    writer.wall(bytesOf(64)).soundPage(bytesOf(10)).sound(0, 10);
    std::vector<std::uint8_t> bytes = writer.build();
    const std::size_t lastOffset = 6 + 4 * 2;
    for (std::size_t i = 0; i < 4; ++i)
        bytes[lastOffset + i] = 0xFF;
    EXPECT_EQ(errorText(bytes), "I/O error 22");
}

}  // namespace
}  // namespace pagelark::testing
