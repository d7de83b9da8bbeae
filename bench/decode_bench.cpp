// Decoding alone, one chunk per iteration, going round every wall or every
// sprite of the full-size file; against copying the same chunks' bytes from
// the file held in memory.
#include "archive/byte_file.h"
#include "archive/chunk_table.h"
#include "bench/bench_files.h"
#include "pictures/decoders.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <memory>

namespace pagelark::bench {

namespace {

struct Chunk {
    std::int32_t offset;
    std::int32_t length;
};

// The listed chunks of one kind in the full-size file.
std::vector<Chunk> chunksOfKind(ItemKind kind)
{
    ByteFile file;
    file.openRead(fullSizeVswapPath());
    VswapHeader header;
    const auto table = std::make_unique<ChunkTable>();
    readChunkTable(file, header, *table);
    std::vector<Chunk> chunks;
    for (std::int32_t i = 0; i < header.chunkCount; ++i) {
        if (table->isListed(i) && kindOfChunk(header, i) == kind)
            chunks.push_back({table->offset[i], table->length[i]});
    }
    return chunks;
}

void Decode(benchmark::State& state, ItemKind kind)
{
    try {
        const std::vector<Chunk> chunks = chunksOfKind(kind);
        ByteFile file;
        file.openRead(fullSizeVswapPath());
        PixelGrid grid{};
        std::size_t next = 0;
        for (auto _ : state) {
            if (kind == ItemKind::Wall)
                decodeWall(file, chunks[next].offset, grid);
            else
                benchmark::DoNotOptimize(decodeSprite(file, chunks[next].offset, std::nullopt, grid));
            benchmark::DoNotOptimize(grid.data());
            benchmark::ClobberMemory();
            next = (next + 1) % chunks.size();
        }
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }
}

void CopyBytes(benchmark::State& state, ItemKind kind)
{
    try {
        const std::vector<Chunk> chunks = chunksOfKind(kind);
        const std::vector<std::uint8_t> image = readWholeFile(fullSizeVswapPath());
        const auto longest = std::max_element(chunks.begin(), chunks.end(),
                                              [](const Chunk& a, const Chunk& b) { return a.length < b.length; });
        std::vector<std::uint8_t> target(static_cast<std::size_t>(longest->length));
        std::size_t next = 0;
        for (auto _ : state) {
            std::memcpy(target.data(), image.data() + chunks[next].offset,
                        static_cast<std::size_t>(chunks[next].length));
            benchmark::DoNotOptimize(target.data());
            benchmark::ClobberMemory();
            next = (next + 1) % chunks.size();
        }
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }
}

}  // namespace

BENCHMARK_CAPTURE(Decode, wall, ItemKind::Wall)->UseRealTime();
BENCHMARK_CAPTURE(CopyBytes, wall, ItemKind::Wall)->UseRealTime();
BENCHMARK_CAPTURE(Decode, sprite, ItemKind::Sprite)->UseRealTime();
BENCHMARK_CAPTURE(CopyBytes, sprite, ItemKind::Sprite)->UseRealTime();

}  // namespace pagelark::bench
