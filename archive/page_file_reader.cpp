// A page file read into the model it is edited and written from, with
// everything about its layout that writing it back needs.
#include "archive/byte_file.h"
#include "archive/chunk_table.h"
#include "archive/page_file.h"
#include "archive/page_file_limits.h"
#include "archive/run_error.h"
#include "archive/stored_table.h"

#include <algorithm>
#include <string>

namespace pagelark {

using namespace page_file_limits;

namespace {

std::int64_t alignedUp(std::int64_t at)
{
    const auto alignment = static_cast<std::int64_t>(ChunkAlignment);
    return (at + alignment - 1) / alignment * alignment;
}

// A chunk that lies in the file, by its index (the sound information's being
// the last) and its bytes there.
struct Stored {
    std::size_t index;
    std::int64_t offset;
    std::int64_t end;
};

// The chunks that lie in the file, in index order; a chunk that runs past
// the end of the file counts up to there.
std::vector<Stored> storedChunks(const PageFile& read, std::int64_t size)
{
    std::vector<Stored> stored;
    const auto add = [&](std::size_t index, const PageChunk& chunk) {
        if (!chunk.absent)
            stored.push_back({index, chunk.source->offset,
                              std::min<std::int64_t>(chunk.source->offset + chunk.source->length, size)});
    };
    for (std::size_t i = 0; i < read.chunks.size(); ++i)
        add(i, read.chunks[i]);
    if (read.soundInfo)
        add(read.chunks.size(), *read.soundInfo);
    return stored;
}

// Each chunk where the one before it in index order ends, rounded up.
bool laidOutAsTheGames(const std::vector<Stored>& stored, std::int64_t tableEnd)
{
    std::int64_t end = tableEnd;
    for (const Stored& chunk : stored) {
        if (chunk.offset != alignedUp(end))
            return false;
        end = chunk.end;
    }
    return true;
}

PageChunk& chunkAt(PageFile& read, std::size_t index)
{
    return index == read.chunks.size() ? *read.soundInfo : read.chunks[index];
}

// Every chunk's rank in the file and the bytes before it, and what follows
// the last. Chunks that share bytes, or lie in the table, have no places:
// they can only be laid out anew.
void notePlaces(PageFile& read, std::vector<Stored> stored, std::int64_t tableEnd, std::int64_t size)
{
    std::stable_sort(stored.begin(), stored.end(),
                     [](const Stored& a, const Stored& b) { return a.offset < b.offset; });
    std::int64_t end = tableEnd;
    for (const Stored& chunk : stored) {
        if (chunk.offset < end) {
            read.writtenAsRead = false;
            return;
        }
        end = chunk.end;
    }
    end = tableEnd;
    std::uint32_t rank = 0;
    for (const Stored& chunk : stored) {
        chunkAt(read, chunk.index).place = ChunkPlace{rank++, Filler{chunk.offset - end, end}};
        end = chunk.end;
    }
    read.trailing = Filler{std::max<std::int64_t>(size - end, 0), end};
}

}  // namespace

PageFile readPageFile(ByteFile& file)
{
    const StoredTable table = readStoredTable(file);
    const auto count = static_cast<std::size_t>(table.header.chunkCount);
    if (count == 0)
        throw RunError::message("Not a VSWAP file: no chunks, not even the sound information");
    PageFile read;
    read.spriteStart = static_cast<std::uint16_t>(table.header.spriteStart);
    read.soundStart = static_cast<std::uint16_t>(table.header.soundStart);
    read.chunks.resize(count - 1);
    read.soundInfo.emplace();
    for (std::size_t i = 0; i < count; ++i) {
        PageChunk& chunk = i == count - 1 ? *read.soundInfo : read.chunks[i];
        if (table.offsets[i] == 0) {
            chunk.absent = true;
            chunk.absentLength = table.lengths[i];
        } else {
            chunk.source = SourceBytes{table.offsets[i], table.lengths[i]};
        }
    }
    read.soundInfoTerminated = readSoundEntries(file, table.offsets[count - 1], [&](const SoundEntry& entry) {
        if (read.sounds.size() == MostSoundEntries)
            throw RunError::message("The sound information holds more than " + std::to_string(MostSoundEntries)
                                    + " entries, more than a chunk can");
        read.sounds.push_back(entry);
        return true;
    });
    // Written anew from its entries, as the reader found them, when it has no
    // bytes of its own here.
    if (read.soundInfo->absent) {
        read.soundInfo.reset();
        read.writtenAsRead = false;
    }

    const std::int64_t size = file.size();
    // A sound information cut short by the end of the file keeps what there
    // is of it; one beyond the end is written anew.
    if (read.soundInfo && read.soundInfo->source->offset + read.soundInfo->source->length > size) {
        if (read.soundInfo->source->offset < size)
            read.soundInfo->source->length = static_cast<std::uint16_t>(size - read.soundInfo->source->offset);
        else
            read.soundInfo.reset();
        read.writtenAsRead = false;
    }
    const auto tableEnd = static_cast<std::int64_t>(tableSize(count));
    std::vector<Stored> stored = storedChunks(read, size);
    read.keepsPlaces = !laidOutAsTheGames(stored, tableEnd);
    notePlaces(read, std::move(stored), tableEnd, size);
    // Laid out anew, the sound information is written from the entries the
    // reader found, wherever they ran, and nothing follows it: bytes after it
    // would be read as more entries.
    if (!read.writtenAsRead) {
        read.keepsPlaces = false;
        read.trailing = Filler{};
        if (read.soundInfo && !read.soundInfo->place)
            read.soundInfo.reset();
    }
    // A chunk cut short by the end of the file is refused when it is written.
    return read;
}

}  // namespace pagelark
