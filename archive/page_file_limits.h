#pragma once

// The limits a page file is written within, shared by its reader, its
// editing and its writer.

#include "archive/page_file.h"

#include <cstddef>
#include <cstdint>

namespace pagelark::page_file_limits {

constexpr std::size_t HeaderSize = 6;
constexpr std::size_t TableBytesPerChunk = 6;  // a 32-bit offset and a 16-bit length
constexpr std::size_t SoundEntrySize = 4;
// The reader files a sound whose first page lies beyond this chunk in its last slot.
constexpr std::size_t HighestSoundChunk = 4096;
// Entries a sound information chunk can hold, its length being 16 bits.
constexpr std::size_t MostSoundEntries = LongestChunk / SoundEntrySize;
// The reader takes an offset as a signed 32-bit number.
constexpr std::int64_t FurthestOffset = 0x7FFFFFFF;

constexpr std::size_t tableSize(std::size_t chunkCount) { return HeaderSize + TableBytesPerChunk * chunkCount; }
constexpr std::size_t pagesOf(std::size_t soundLength) { return (soundLength + SoundPageSize - 1) / SoundPageSize; }

void checkChunkCount(std::size_t count);
void checkSoundLength(std::size_t soundNumber, std::size_t length);
void checkChunkLength(std::size_t index, std::size_t length);
void checkSoundStart(std::size_t soundNumber, std::size_t soundStart, std::size_t firstPage);

}  // namespace pagelark::page_file_limits
