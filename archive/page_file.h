#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace pagelark {

class ByteFile;

// A page file as the games lay it out: the header (chunk count, sprite start,
// sound start), every chunk's offset, every chunk's length, then the chunks
// in index order, each starting where the one before it ends (the first
// where the table ends) rounded up to a multiple of ChunkAlignment, the gaps
// zero bytes, and nothing after the last chunk. An absent chunk has offset 0
// and takes no room. The last chunk is the sound information: one 4-byte
// entry per sound, its first page counted from the sound start and its
// length; sounds lie in pages of SoundPageSize bytes, one chunk each, the
// last page holding the rest.
constexpr std::size_t ChunkAlignment = 512;
constexpr std::size_t SoundPageSize = 4096;
// What a table's 16-bit length can record, for a chunk and for a sound.
constexpr std::size_t LongestChunk = 0xFFFF;

// Where a chunk's bytes lie in the file it was read from.
struct SourceBytes {
    std::int64_t offset = 0;
    std::uint16_t length = 0;
};

// One chunk, and where its bytes come from when the file is written: held
// here, or read from the source file. An absent chunk has neither.
struct PageChunk {
    bool absent = false;
    std::uint16_t absentLength = 0;  // the length an absent chunk has in the table
    std::vector<std::uint8_t> bytes;
    std::optional<SourceBytes> source;  // when set, bytes is not used

    // What the table records.
    std::size_t length() const;
};

// A chunk of these bytes.
PageChunk heldChunk(std::vector<std::uint8_t> bytes);

struct SoundEntry {
    std::uint16_t firstPage = 0;  // counted from the sound start
    std::uint16_t length = 0;     // of the whole sound
    bool operator==(const SoundEntry&) const = default;
};

struct PageFile {
    std::uint16_t spriteStart = 0;
    std::uint16_t soundStart = 0;
    std::vector<PageChunk> chunks;     // every chunk before the sound information
    std::vector<SoundEntry> sounds;    // the sound information, written as the last chunk
    bool soundInfoTerminated = false;  // an entry of four zero bytes after the last; the games have none
};

// The file of these walls, sprites and whole sounds: each sound cut into
// pages, its entry at the running total of the pages before it. Raises a
// RunError on a limit (see writePageFile) and for a sound that is empty or
// longer than LongestChunk.
PageFile pageFileOf(const std::vector<PageChunk>& walls, const std::vector<PageChunk>& sprites,
                    const std::vector<std::vector<std::uint8_t>>& sounds);

// The header, the table as stored (an absent chunk's length included) and the
// sound information of an open file; every chunk refers to the file, nothing
// is copied. The sound information is read as the reader reads it: entries
// from its offset up to an entry of four zero bytes or the end of the file.
// Written back, a file laid out as the games lay theirs out comes out byte for
// byte the same; any other file comes out laid out that way, every chunk with
// its bytes, and its sound information as the reader saw it (its recorded
// length and whatever followed a zero entry are not kept). Refuses what the
// reader refuses, a file without chunks, and a sound information that holds
// more entries than a chunk can.
PageFile readPageFile(ByteFile& file);

// Replaces wall or sprite chunk `index` with these bytes.
void replaceChunk(PageFile& file, std::int32_t index, std::vector<std::uint8_t> bytes);

// Replaces the pages of sound `soundNumber` with pages of these samples and
// sets its length. With more or fewer pages than before, the pages after it
// and the entries of the sounds that start there move with them. Checks
// every limit before it changes anything.
void replaceSound(PageFile& file, std::int32_t soundNumber, const std::vector<std::uint8_t>& samples);

// Writes the file, laid out as the games lay theirs out, to `out` chunk by
// chunk, the bytes of chunks that refer to a source read from `source`
// (which may be null when none does). Before the first byte goes out it
// checks every limit and raises a RunError naming it: the reader's table
// holds ChunkSlots chunks, the sound information included, and no sound
// start of ChunkSlots or more; a chunk is at most LongestChunk bytes; the
// reader files a sound whose first page lies beyond chunk 4096 in the wrong
// slot; an entry of four zero bytes would end the sound information early;
// a source chunk lies inside its file.
void writePageFile(const PageFile& file, ByteFile* source,
                   const std::function<void(const std::uint8_t*, std::size_t)>& out);

// The bytes writePageFile writes.
std::vector<std::uint8_t> pageFileBytes(const PageFile& file, ByteFile* source = nullptr);

}  // namespace pagelark
