#pragma once

#include "archive/stored_table.h"

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
//
// Files made by other tools, and the games' own shareware files, differ:
// chunks packed without alignment or in another order, bytes between them or
// after the last, a sound information longer than its entries. A file read
// keeps all of that, so that what is written back differs from what was read
// only in the chunks replaced and in what had to move for them.
constexpr std::size_t ChunkAlignment = 512;
constexpr std::size_t SoundPageSize = 4096;
// What a table's 16-bit length can record, for a chunk and for a sound.
constexpr std::size_t LongestChunk = 0xFFFF;

// Where a chunk's bytes lie in the file it was read from.
struct SourceBytes {
    std::int64_t offset = 0;
    std::uint16_t length = 0;
};

// Bytes that belong to no chunk: zeros, or a run of the source file.
struct Filler {
    std::int64_t length = 0;
    std::optional<std::int64_t> sourceAt;  // none: zero bytes
};

// Where a file read had a chunk: its rank in the order of the file, and the
// bytes between it and the chunk before it there (or the table), which start
// where that chunk ended.
struct ChunkPlace {
    std::uint32_t rank = 0;
    Filler before;
};

// One chunk, and where its bytes come from when the file is written: held
// here, or read from the source file. An absent chunk has neither.
struct PageChunk {
    bool absent = false;
    std::uint16_t absentLength = 0;  // the length an absent chunk has in the table
    std::vector<std::uint8_t> bytes;
    std::optional<SourceBytes> source;  // when set, bytes is not used
    std::optional<ChunkPlace> place;    // where it was, in a file kept as it was laid out

    // What the table records.
    std::size_t length() const;
};

// A chunk of these bytes.
PageChunk heldChunk(std::vector<std::uint8_t> bytes);

struct PageFile {
    std::uint16_t spriteStart = 0;
    std::uint16_t soundStart = 0;
    std::vector<PageChunk> chunks;     // every chunk before the sound information
    std::vector<SoundEntry> sounds;    // the sound information, written as the last chunk
    bool soundInfoTerminated = false;  // an entry of four zero bytes after the last; the games have none
    // The sound information's own bytes as the file had them, written as they
    // are while no sound changed its length or place; with none, or after a
    // change, the entries are written (over the start of these bytes when
    // they have room).
    std::optional<PageChunk> soundInfo;
    bool soundsChanged = false;
    // Chunks written in the order and with the bytes between them that their
    // places give (a chunk without a place right after the chunk before it
    // in index order), rather than as the games lay them out. Laid out as the
    // games lay them, the bytes between two chunks are those the file had
    // there while the chunk after them has not moved, zeros once it has.
    bool keepsPlaces = false;
    Filler trailing;  // after the last chunk
    // Whether writing the file unchanged gives back the bytes it was read
    // from; not so for chunks that share bytes or lie inside the table.
    bool writtenAsRead = true;
};

// The file of these walls, sprites and whole sounds: each sound cut into
// pages, its entry at the running total of the pages before it. Raises a
// RunError on a limit (see writePageFile) and for a sound that is empty or
// longer than LongestChunk.
PageFile pageFileOf(const std::vector<PageChunk>& walls, const std::vector<PageChunk>& sprites,
                    const std::vector<std::vector<std::uint8_t>>& sounds);

// The header, the table as stored (an absent chunk's length included), the
// sound information and the layout of an open file; every chunk refers to
// the file, nothing is copied. The sound entries are read as the reader
// reads them: from the information's offset up to an entry of four zero
// bytes or the end of the file. A file laid out as the games lay theirs out
// keeps that layout and whatever follows its last chunk; any other keeps
// every chunk's place and the bytes between. Refuses what the reader
// refuses, a file without chunks, and a sound information that holds more
// entries than a chunk can.
PageFile readPageFile(ByteFile& file);

// A change of a page file that can be made and taken back: a run of chunks
// put in the place of another, and the sound entries before and after. The
// chunks are the file's own, places included, so that taking a change back
// gives back the bytes there were, however the file was laid out.
struct ChunkSplice {
    std::size_t first = 0;
    std::vector<PageChunk> before;
    std::vector<PageChunk> after;
    std::vector<SoundEntry> soundsBefore;
    std::vector<SoundEntry> soundsAfter;
    bool soundsChangedBefore = false;
    bool soundsChangedAfter = false;
};

// The changes replaceChunk, replaceSound and appendSound make, checked as
// they check them, and the file left as it is.
ChunkSplice chunkReplacement(const PageFile& file, std::int32_t index, std::vector<std::uint8_t> bytes);
ChunkSplice soundReplacement(const PageFile& file, std::int32_t soundNumber, const std::vector<std::uint8_t>& samples);
ChunkSplice soundAddition(const PageFile& file, const std::vector<std::uint8_t>& samples);
// Makes a change of the file as it was when the change was worked out, or
// takes it back from the file as the change left it.
void makeSplice(PageFile& file, const ChunkSplice& splice);
void takeBackSplice(PageFile& file, const ChunkSplice& splice);

// Replaces wall or sprite chunk `index` with these bytes, in its place.
void replaceChunk(PageFile& file, std::int32_t index, std::vector<std::uint8_t> bytes);

// Replaces the pages of sound `soundNumber` with pages of these samples and
// sets its length. With more or fewer pages than before, the pages after it
// and the entries of the sounds that start there move with them. Checks
// every limit before it changes anything.
void replaceSound(PageFile& file, std::int32_t soundNumber, const std::vector<std::uint8_t>& samples);

// Adds a sound after the last, its pages before the sound information.
void appendSound(PageFile& file, const std::vector<std::uint8_t>& samples);

// The pages sound entry `entry` takes.
std::size_t pagesOfSound(const SoundEntry& entry);

// The entries as the sound information stores them, then four zero bytes
// when it is terminated.
std::vector<std::uint8_t> soundEntryBytes(const std::vector<SoundEntry>& sounds, bool terminated);

// Writes the file to `out` chunk by chunk, the bytes of chunks and fillers
// that refer to a source read from `source` (which may be null when none
// does). Before the first byte goes out it checks every limit and raises a
// RunError naming it: the reader's table holds ChunkSlots chunks, the sound
// information included, and no sound start of ChunkSlots or more; a chunk is
// at most LongestChunk bytes; and, for sound entries written anew, the
// reader files a sound whose first page lies beyond chunk 4096 in the wrong
// slot and an entry of four zero bytes would end the sound information
// early; what refers to the source lies inside it; no offset passes what the
// reader takes.
void writePageFile(const PageFile& file, ByteFile* source,
                   const std::function<void(const std::uint8_t*, std::size_t)>& out);

// The bytes writePageFile writes.
std::vector<std::uint8_t> pageFileBytes(const PageFile& file, ByteFile* source = nullptr);

}  // namespace pagelark
