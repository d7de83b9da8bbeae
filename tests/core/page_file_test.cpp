#include "archive/page_file.h"

#include "archive/byte_file.h"
#include "archive/chunk_table.h"
#include "archive/run_error.h"
#include "tests/support/odd_page_files.h"
#include "tests/support/sample_vswap.h"
#include "tests/support/temp_dir.h"
#include "tools/demo_vswap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace pagelark::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::size_t numberAt(const Bytes& bytes, std::size_t at, std::size_t size)
{
    std::size_t value = 0;
    for (std::size_t i = 0; i < size; ++i)
        value |= std::size_t{bytes.at(at + i)} << (8 * i);
    return value;
}

// The table of a file as it is stored, read here apart from the program's readers.
struct StoredTable {
    std::size_t count;
    std::vector<std::size_t> offsets;
    std::vector<std::size_t> lengths;
};

StoredTable storedTable(const Bytes& bytes)
{
    StoredTable table{numberAt(bytes, 0, 2), {}, {}};
    for (std::size_t i = 0; i < table.count; ++i) {
        table.offsets.push_back(numberAt(bytes, 6 + 4 * i, 4));
        table.lengths.push_back(numberAt(bytes, 6 + 4 * table.count + 2 * i, 2));
    }
    return table;
}

// Chunks in index order, each where the one before ends rounded up to 512,
// zero bytes between, nothing after the last.
void expectGamesLayout(const Bytes& bytes)
{
    const StoredTable table = storedTable(bytes);
    std::size_t end = 6 + 6 * table.count;
    for (std::size_t i = 0; i < table.count; ++i) {
        if (table.offsets[i] == 0 && i + 1 < table.count)
            continue;
        ASSERT_EQ(table.offsets[i], (end + 511) / 512 * 512) << "chunk " << i;
        ASSERT_LE(table.offsets[i], bytes.size()) << "chunk " << i;
        for (std::size_t at = end; at < table.offsets[i]; ++at)
            ASSERT_EQ(bytes[at], 0) << "byte " << at << " before chunk " << i;
        end = table.offsets[i] + table.lengths[i];
    }
    EXPECT_EQ(bytes.size(), end);
}

// Sounds in pages of 4096 bytes, the last holding the rest, one after the
// other up to the sound information, which has an entry for each and no more.
void expectGamesSounds(const Bytes& bytes, std::size_t sounds)
{
    const StoredTable table = storedTable(bytes);
    const std::size_t soundStart = numberAt(bytes, 4, 2);
    const std::size_t infoAt = table.offsets.back();
    ASSERT_EQ(table.lengths.back(), 4 * sounds);
    std::size_t page = 0;
    for (std::size_t k = 0; k < sounds; ++k) {
        ASSERT_EQ(numberAt(bytes, infoAt + 4 * k, 2), page) << "sound " << k;
        for (std::size_t left = numberAt(bytes, infoAt + 4 * k + 2, 2); left > 0;
             left -= std::min<std::size_t>(left, 4096))
            ASSERT_EQ(table.lengths[soundStart + page++], std::min<std::size_t>(left, 4096)) << "sound " << k;
    }
    EXPECT_EQ(soundStart + page, table.count - 1);
}

class PageFileTest : public ::testing::Test {
protected:
    ByteFile& open(const Bytes& bytes)
    {
        const std::string path = dir_.file("vswap" + std::to_string(files_.size()));
        testing::writeFileBytes(path, bytes);
        files_.push_back(std::make_unique<ByteFile>());
        files_.back()->openRead(path);
        return *files_.back();
    }

    Bytes rewritten(const Bytes& bytes)
    {
        ByteFile& file = open(bytes);
        return pageFileBytes(readPageFile(file), &file);
    }

    struct Read {
        VswapHeader header;
        std::unique_ptr<ChunkTable> table = std::make_unique<ChunkTable>();
    };
    Read readTable(const Bytes& bytes)
    {
        Read read;
        readChunkTable(open(bytes), read.header, *read.table);
        return read;
    }

    TempDir dir_;
    std::vector<std::unique_ptr<ByteFile>> files_;
};

TEST_F(PageFileTest, TheDemoAndFullSizeFilesAreLaidOutAsTheGamesAndRewrittenByteForByte)
{
    const Bytes demo = tools::buildDemoVswap();
    expectGamesLayout(demo);
    expectGamesSounds(demo, 2);
    EXPECT_EQ(rewritten(demo), demo);

    const Bytes full = testing::fullSizeVswap();
    EXPECT_EQ(storedTable(full).count, 663u);
    expectGamesLayout(full);
    expectGamesSounds(full, testing::FullSizeSounds);
    EXPECT_EQ(rewritten(full), full);
}

// A wall at 300, an absent sprite of recorded length 77, a sound page at 60
// before the wall, and a terminated sound information at 400 with four more
// bytes after it; 0xEE between them. With a page at 302, inside the wall.
Bytes oddlyLaidOut(std::size_t pageAt)
{
    Bytes odd(412, 0xEE);
    const std::vector<std::pair<std::size_t, std::size_t>> words
        = {{0, 4},  {2, 1},  {4, 2},   {6, 300}, {8, 0},   {10, 0},  {12, 0},  {14, pageAt}, {16, 0},  {18, 400},
           {20, 0}, {22, 5}, {24, 77}, {26, 3},  {28, 12}, {400, 0}, {402, 3}, {404, 0},     {406, 0}, {408, 0xABAB}};
    for (const auto& [at, value] : words) {
        odd[at] = static_cast<std::uint8_t>(value & 0xFF);
        odd[at + 1] = static_cast<std::uint8_t>(value >> 8);
    }
    const Bytes wall = {1, 2, 3, 4, 5};
    std::copy(wall.begin(), wall.end(), odd.begin() + 300);
    if (pageAt == 60)
        std::copy_n(Bytes{9, 8, 7}.begin(), 3, odd.begin() + 60);
    return odd;
}

TEST_F(PageFileTest, AFileLaidOutOtherwiseKeepsItsLayoutAndTheBytesBetweenItsChunks)
{
    const Bytes odd = oddlyLaidOut(60);
    EXPECT_EQ(rewritten(odd), odd);

    // A longer wall moves what follows it in the file, and nothing before it.
    ByteFile& file = open(odd);
    PageFile edited = readPageFile(file);
    replaceChunk(edited, 0, {1, 2, 3, 4, 5, 6, 7});
    const Bytes grown = pageFileBytes(edited, &file);
    ASSERT_EQ(grown.size(), odd.size() + 2);
    const StoredTable table = storedTable(grown);
    EXPECT_EQ(table.offsets, (std::vector<std::size_t>{300, 0, 60, 402}));
    EXPECT_EQ(table.lengths, (std::vector<std::size_t>{7, 77, 3, 12}));
    EXPECT_EQ(Bytes(grown.begin() + 30, grown.begin() + 300), Bytes(odd.begin() + 30, odd.begin() + 300));
    EXPECT_EQ(Bytes(grown.begin() + 307, grown.end()), Bytes(odd.begin() + 305, odd.end()));
}

TEST_F(PageFileTest, AFileWhoseChunksShareBytesIsLaidOutAnewWithEveryChunkKept)
{
    const Bytes odd = oddlyLaidOut(302);
    ByteFile& file = open(odd);
    EXPECT_FALSE(readPageFile(file).writtenAsRead);
    const Bytes out = rewritten(odd);
    expectGamesLayout(out);
    const StoredTable table = storedTable(out);
    EXPECT_EQ(table.offsets, (std::vector<std::size_t>{512, 0, 1024, 1536}));
    EXPECT_EQ(table.lengths, (std::vector<std::size_t>{5, 77, 3, 8}));
    EXPECT_EQ(Bytes(out.begin() + 512, out.begin() + 517), (Bytes{1, 2, 3, 4, 5}));
    EXPECT_EQ(Bytes(out.begin() + 1024, out.begin() + 1027), (Bytes{3, 4, 5}));
    // The sound information is written from the entries the reader found.
    EXPECT_EQ(Bytes(out.begin() + 1536, out.end()), (Bytes{0, 0, 3, 0, 0, 0, 0, 0}));
    EXPECT_EQ(rewritten(out), out);

    // Written anew without entries, it still ends as the reader found it end.
    PageFile none;
    none.soundInfoTerminated = true;
    EXPECT_EQ(storedTable(pageFileBytes(none)).lengths, (std::vector<std::size_t>{4}));
}

// A page count rounded the wrong way at a page's edge would move the sounds
// after it, or leave a page too many.
TEST_F(PageFileTest, SoundsOfWholePagesTakeJustTheirPages)
{
    for (const std::size_t before : {4095u, 4096u, 4097u, 8192u}) {
        for (const std::size_t after : {1u, 4096u, 4097u, 8192u, 8193u}) {
            SCOPED_TRACE(std::to_string(before) + " to " + std::to_string(after));
            PageFile file = pageFileOf({}, {}, {Bytes(before, 1), Bytes(10, 2)});
            replaceSound(file, 0, Bytes(after, 3));
            const std::size_t pages = (after + 4095) / 4096;
            ASSERT_EQ(file.chunks.size(), pages + 1);
            EXPECT_EQ(file.sounds,
                      (std::vector<SoundEntry>{{0, static_cast<std::uint16_t>(after)},
                                               {static_cast<std::uint16_t>(pages), 10}}));
            EXPECT_EQ(file.chunks[pages - 1].bytes.size(), after - 4096 * (pages - 1));
            EXPECT_EQ(file.chunks.back().bytes, Bytes(10, 2));
        }
    }
}

// Changes taken back in the order opposite to the one they were made in give
// back the file's bytes, whatever its layout.
TEST_F(PageFileTest, ChangesTakenBackGiveBackTheFile)
{
    std::vector<testing::OddPageFile> files = testing::oddPageFiles();
    files.push_back({"full size", testing::fullSizeVswap()});
    for (const testing::OddPageFile& shape : files) {
        SCOPED_TRACE(shape.name);
        ByteFile& file = open(shape.bytes);
        PageFile edited = readPageFile(file);
        std::vector<ChunkSplice> changes;
        const auto change = [&](ChunkSplice splice) {
            makeSplice(edited, splice);
            changes.push_back(std::move(splice));
        };
        change(chunkReplacement(edited, 0, Bytes(4096, 0x77)));
        if (!edited.sounds.empty())
            change(soundReplacement(edited, 0, Bytes(std::max<std::size_t>(edited.sounds[0].length, 2) - 1, 0x66)));
        if (shape.name == "full size")
            change(soundReplacement(edited, 30, Bytes(9000, 0x65)));  // a page more, the sounds after it moved
        change(soundAddition(edited, Bytes(5, 0x55)));
        for (auto splice = changes.rbegin(); splice != changes.rend(); ++splice)
            takeBackSplice(edited, *splice);
        EXPECT_EQ(pageFileBytes(edited, &file), shape.bytes);
    }
}

TEST_F(PageFileTest, LimitsAreRefusedBeforeAnyByteGoesOut)
{
    const auto chunks = [](std::size_t count) { return std::vector<PageChunk>(count, heldChunk({1, 2})); };
    const auto sounds
        = [](std::size_t count, std::size_t length) { return std::vector<Bytes>(count, Bytes(length, 0x80)); };
    PageFile longChunk;
    longChunk.chunks = {heldChunk(Bytes(65536))};
    PageFile zeroEntry;
    zeroEntry.sounds = {{3, 10}, {0, 0}};
    PageFile longSoundInfo;
    longSoundInfo.sounds.assign(16384, {0, 1});
    PageFile lateSounds;
    lateSounds.soundStart = 6144;
    PageFile growing = pageFileOf(chunks(4000), {}, sounds(97, 1));
    const std::vector<SoundEntry> growingSounds = growing.sounds;
    // 6144 chunks of 65535 bytes each at byte 100 of a file of 36,874 bytes.
    Bytes crafted(6 + 6 * 6144 + 4, 0);
    crafted[0] = 0x00;
    crafted[1] = 0x18;
    for (std::size_t i = 0; i < 6144; ++i) {
        crafted[6 + 4 * i] = 100;
        crafted[6 + 4 * 6144 + 2 * i] = 0xFF;
        crafted[6 + 4 * 6144 + 2 * i + 1] = 0xFF;
    }
    crafted[6 + 4 * 6143] = 0x06;
    crafted[6 + 4 * 6143 + 1] = 0x90;  // the sound information right after the table
    crafted[crafted.size() - 2] = 1;
    ByteFile& craftedFile = open(crafted);
    const PageFile craftedRead = readPageFile(craftedFile);
    ASSERT_EQ(craftedRead.chunks.size(), 6143u);
    for (const PageChunk& chunk : craftedRead.chunks)
        ASSERT_TRUE(chunk.source && chunk.bytes.capacity() == 0) << "nothing is copied on reading";
    EXPECT_EQ(craftedRead.sounds, (std::vector<SoundEntry>{{0, 1}}));

    bool wrote = false;
    const auto write = [&](const PageFile& file, ByteFile* source = nullptr) {
        writePageFile(file, source, [&](const std::uint8_t*, std::size_t) { wrote = true; });
    };
    const struct {
        const char* what;
        std::function<void()> action;
        std::string message;
    } cases[] = {
        {"pages count", [&] { pageFileOf(chunks(6100), {}, sounds(3, 65535)); },
         "A page file holds at most 6144 chunks, the sound information included; this one would hold 6149"},
        {"sound start", [&] { write(lateSounds); }, "Sounds start at chunk 6144, at most 6143"},
        {"long chunk", [&] { write(longChunk); }, "Chunk 0 is 65536 bytes long, at most 65535"},
        {"empty sound",
         [&] {
             pageFileOf({}, {}, {Bytes(10), {}});
         },
         "Sound 1 is empty"},
        {"long sound", [&] { pageFileOf({}, {}, {Bytes(65536)}); }, "Sound 0 is 65536 bytes long, at most 65535"},
        {"late sound", [&] { pageFileOf(chunks(4000), {}, sounds(98, 1)); },
         "Sound 97 would start at chunk 4097, beyond chunk 4096 where the reader looks for sounds"},
        {"growing sound", [&] { replaceSound(growing, 0, Bytes(4097)); },
         "Sound 96 would start at chunk 4097, beyond chunk 4096 where the reader looks for sounds"},
        {"zero entry", [&] { write(zeroEntry); },
         "Sound 1 has an entry of four zero bytes, which would end the sound information"},
        {"long sound information", [&] { write(longSoundInfo); },
         "The sound information of 16384 entries is 65536 bytes long, at most 65535"},
        {"source", [&] { write(craftedRead, &craftedFile); },
         "Chunk 0 lies beyond the end of the file: bytes 100 to 65635 of 36874"},
    };
    for (const auto& c : cases) {
        try {
            c.action();
            ADD_FAILURE() << c.what << ": no error";
        } catch (const RunError& error) {
            EXPECT_EQ(error.text(), c.message) << c.what;
        }
        EXPECT_FALSE(wrote) << c.what;
    }
    EXPECT_EQ(growing.sounds, growingSounds) << "a refused replacement changes nothing";
    EXPECT_EQ(growing.chunks.size(), 4097u);
}

TEST_F(PageFileTest, ASoundThatGainsAPageMovesTheLaterSoundsAndKeepsEveryOtherChunk)
{
    const Bytes original = testing::fullSizeVswap();
    ByteFile& file = open(original);
    PageFile edited = readPageFile(file);
    const Bytes longer(9000, 0x5A);
    const Bytes wall(4096, 0x33);
    replaceSound(edited, 30, longer);  // 5000 bytes on two pages before, three now
    replaceChunk(edited, 7, wall);
    const Bytes out = pageFileBytes(edited, &file);
    expectGamesLayout(out);
    expectGamesSounds(out, testing::FullSizeSounds);

    const Read before = readTable(original);
    const Read after = readTable(out);
    ASSERT_EQ(after.header.chunkCount, 664);
    ASSERT_EQ(after.header.soundStart, before.header.soundStart);
    const auto bytesOf = [](const Bytes& bytes, const Read& read, std::int32_t index) {
        const auto at = bytes.begin() + read.table->offset[index];
        return Bytes(at, at + read.table->length[index]);
    };
    for (std::int32_t index = 0; index < before.header.soundStart; ++index)
        EXPECT_EQ(bytesOf(out, after, index), index == 7 ? wall : bytesOf(original, before, index)) << index;
    std::int32_t movedBy = 0;
    for (std::int32_t index = before.header.soundStart; index < before.header.chunkCount - 1; ++index) {
        if (!before.table->isListed(index))
            continue;
        const std::int32_t k = before.table->itemNumber[index];
        ASSERT_TRUE(after.table->isListed(index + movedBy)) << "sound " << k;
        ASSERT_EQ(after.table->itemNumber[index + movedBy], k);
        EXPECT_EQ(bytesOf(out, after, index + movedBy), k == 30 ? longer : bytesOf(original, before, index))
            << "sound " << k;
        movedBy = k >= 30 ? 1 : 0;
    }
    EXPECT_EQ(movedBy, 1);
}

}  // namespace
}  // namespace pagelark::testing
