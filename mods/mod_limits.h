#pragma once

// What a mod may hold, so that no mod, however it was made, makes the
// program read, inflate or write without bound. A mod made by diff stays
// within them, and diff refuses to make one that does not.

#include "archive/chunk_table.h"
#include "archive/page_file.h"
#include "sounds/wav_writer.h"

#include <cstddef>
#include <cstdint>

namespace pagelark::mod_limits {

// A mod file is read whole before it is opened as a zip.
constexpr std::int64_t MostModFileBytes = 64 * 1024 * 1024;
constexpr std::size_t MostManifestBytes = 1024 * 1024;
// A chunk's bytes, or a sound's samples in their WAV file.
constexpr std::size_t MostChunkMemberBytes = LongestChunk + WavHeaderSize;
// A picture is only there to be looked at, and never inflated by patch; an
// indexed 64 x 64 PNG takes a few KiB.
constexpr std::size_t MostPictureBytes = 1024 * 1024;
// A run of bytes outside the chunks: a gap, or what follows the last chunk.
constexpr std::size_t MostRunBytes = 1024 * 1024;
// The zeros or original bytes after the last chunk of a result.
constexpr std::int64_t MostTrailingBytes = 16 * 1024 * 1024;

// One entry for each chunk a page file can have; one run for each gap
// before a chunk and one after the last.
constexpr std::size_t MostEntries = ChunkSlots;
constexpr std::size_t MostRuns = ChunkSlots + 1;
// The manifest, a picture and the bytes of each entry, and each run.
constexpr std::size_t MostMembers = 1 + 2 * MostEntries + MostRuns;

// All members together, as their stated sizes give them and as inflated.
constexpr std::uint64_t MostInflatedBytes = 64 * 1024 * 1024;
// Past this much, a mod must not inflate to more than MostInflationRatio
// times its own size: pictures and chunks of real games do not come near.
constexpr std::uint64_t RatioCheckedFrom = 4 * 1024 * 1024;
constexpr std::uint64_t MostInflationRatio = 100;

}  // namespace pagelark::mod_limits
