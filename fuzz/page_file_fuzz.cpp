// An arbitrary page file read with readPageFile, written back, and read
// again by the program's reader: a file the model says it keeps comes back
// byte for byte; any other keeps every chunk's bytes and table length, the
// sound entries mean to the reader what they meant in the input, and a
// second rewrite changes nothing. A write that is refused writes nothing.

#include "archive/byte_file.h"
#include "archive/chunk_table.h"
#include "archive/page_file.h"
#include "archive/run_error.h"
#include "fuzz/input_file.h"
#include "fuzz/require.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <span>
#include <vector>

namespace {

using namespace pagelark;
using fuzz::require;
using Bytes = std::vector<std::uint8_t>;

// Chunks of a small input can overlap and stand for hundreds of megabytes
// together; such inputs are not rewritten.
constexpr std::size_t MostRewrittenChunkBytes = 4 * 1024 * 1024;

std::size_t wordAt(const Bytes& bytes, std::size_t at) { return bytes[at] | std::size_t{bytes[at + 1]} << 8; }

// What the reader makes of a file; false when it stops at an error.
struct ReaderView {
    VswapHeader header;
    std::unique_ptr<ChunkTable> table = std::make_unique<ChunkTable>();
};

bool readWithReader(ByteFile& file, ReaderView& view)
{
    view.table->clear();
    try {
        readChunkTable(file, view.header, *view.table);
    } catch (const RunError&) {
        return false;
    }
    return true;
}

// Every chunk where the table says, with the bytes it had in the input.
void checkChunks(const PageFile& read, std::span<const std::uint8_t> input, const Bytes& out, const ReaderView& after)
{
    const std::size_t count = read.chunks.size() + 1;
    require(after.header.chunkCount == static_cast<std::int32_t>(count));
    require(after.header.spriteStart == read.spriteStart && after.header.soundStart == read.soundStart);
    for (std::size_t i = 0; i < read.chunks.size(); ++i) {
        const PageChunk& chunk = read.chunks[i];
        require(wordAt(out, 6 + 4 * count + 2 * i) == chunk.length());
        const std::int32_t offset = after.table->offset[i];
        require((offset == 0) == chunk.absent);
        if (chunk.absent)
            continue;
        const auto from = input.begin() + chunk.source->offset;
        require(std::equal(from, from + chunk.source->length, out.begin() + offset));
    }
}

// The reader finds the same sounds where it found them in the input: the
// same lengths and numbers in every slot but the sound information's own,
// whose length in the table follows from its entries now.
void checkSounds(const ReaderView& before, const ReaderView& after)
{
    const std::int32_t info = before.header.chunkCount - 1;
    for (std::int32_t slot = 0; slot < ChunkSlots; ++slot) {
        require(after.table->itemNumber[slot] == before.table->itemNumber[slot]);
        require(slot == info || after.table->length[slot] == before.table->length[slot]);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> input(data, size);
    ByteFile file;
    file.openRead(fuzz::writeInputFile(input));
    PageFile read;
    try {
        read = readPageFile(file);
    } catch (const RunError&) {
        return 0;
    }
    std::size_t chunkBytes = 0;
    for (const PageChunk& chunk : read.chunks)
        chunkBytes += chunk.length();
    if (chunkBytes > MostRewrittenChunkBytes)
        return 0;
    Bytes out;
    try {
        writePageFile(read, &file, [&](const std::uint8_t* bytes, std::size_t count) {
            out.insert(out.end(), bytes, bytes + count);
        });
    } catch (const RunError&) {
        require(out.empty());
        return 0;
    }
    require(!read.writtenAsRead || std::equal(out.begin(), out.end(), input.begin(), input.end()));
    static ReaderView before;
    const bool readerReadInput = readWithReader(file, before);

    // The input's file is written over from here on.
    ByteFile rewritten;
    rewritten.openRead(fuzz::writeInputFile(out));
    static ReaderView after;
    require(readWithReader(rewritten, after));
    checkChunks(read, input, out, after);
    if (readerReadInput)
        checkSounds(before, after);
    const PageFile again = readPageFile(rewritten);
    require(again.sounds == read.sounds && again.soundInfoTerminated == read.soundInfoTerminated);
    require(pageFileBytes(again, &rewritten) == out);
    return 0;
}
