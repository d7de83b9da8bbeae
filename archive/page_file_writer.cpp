// A page file written out: checked against every limit first, then laid out
// as the games lay theirs out or as the file read had it, and streamed.
#include "archive/byte_file.h"
#include "archive/chunk_table.h"
#include "archive/little_endian.h"
#include "archive/page_file.h"
#include "archive/page_file_limits.h"
#include "archive/run_error.h"

#include <algorithm>
#include <string>

namespace pagelark {

using namespace page_file_limits;
using little_endian::putLong;
using little_endian::putWord;

namespace {

using Bytes = std::vector<std::uint8_t>;

std::size_t alignedUp(std::size_t at) { return (at + ChunkAlignment - 1) / ChunkAlignment * ChunkAlignment; }

// Whether the sound entries are written anew rather than as the file had them.
bool writesEntries(const PageFile& file) { return !file.soundInfo || file.soundsChanged; }

// Every limit but the sources'. Entries kept as the file had them are the
// file's own business: the reader reads them as it did.
void checkLimits(const PageFile& file, std::size_t soundInfoLength)
{
    checkChunkCount(file.chunks.size() + 1);
    if (file.soundStart >= ChunkSlots)
        throw RunError::message("Sounds start at chunk " + std::to_string(file.soundStart) + ", at most "
                                + std::to_string(ChunkSlots - 1));
    for (std::size_t i = 0; i < file.chunks.size(); ++i)
        checkChunkLength(i, file.chunks[i].length());
    if (soundInfoLength > LongestChunk)
        throw RunError::message("The sound information of " + std::to_string(file.sounds.size()) + " entries is "
                                + std::to_string(soundInfoLength) + " bytes long, at most "
                                + std::to_string(LongestChunk));
    for (std::size_t k = 0; k < file.sounds.size() && writesEntries(file); ++k) {
        const SoundEntry& entry = file.sounds[k];
        if (entry.firstPage == 0 && entry.length == 0)
            throw RunError::message("Sound " + std::to_string(k)
                                    + " has an entry of four zero bytes, which would end the sound information");
        checkSoundStart(k, file.soundStart, entry.firstPage);
    }
}

void checkSource(const std::string& what, std::int64_t offset, std::int64_t length, ByteFile* source)
{
    if (source == nullptr)
        throw RunError::message(what + " is to be copied from a file, and none is open");
    const std::int64_t end = offset + length;
    if (offset < 0 || end > source->size())
        throw RunError::message(what + " lies beyond the end of the file: bytes " + std::to_string(offset) + " to "
                                + std::to_string(end) + " of " + std::to_string(source->size()));
}

void checkSources(const PageFile& file, ByteFile* source)
{
    for (std::size_t i = 0; i < file.chunks.size(); ++i) {
        const PageChunk& chunk = file.chunks[i];
        if (!chunk.absent && chunk.source)
            checkSource("Chunk " + std::to_string(i), chunk.source->offset, chunk.source->length, source);
        if (chunk.place && chunk.place->before.sourceAt && chunk.place->before.length > 0)
            checkSource("The bytes before chunk " + std::to_string(i), *chunk.place->before.sourceAt,
                        chunk.place->before.length, source);
    }
    if (file.soundInfo && file.soundInfo->place && file.soundInfo->place->before.sourceAt
        && file.soundInfo->place->before.length > 0)
        checkSource("The bytes before the sound information", *file.soundInfo->place->before.sourceAt,
                    file.soundInfo->place->before.length, source);
    if (file.trailing.sourceAt && file.trailing.length > 0)
        checkSource("The bytes after the last chunk", *file.trailing.sourceAt, file.trailing.length, source);
}

Bytes bytesOf(const PageChunk& chunk, ByteFile* source, const std::string& what)
{
    if (!chunk.source)
        return chunk.bytes;
    checkSource(what, chunk.source->offset, chunk.source->length, source);
    Bytes bytes(chunk.source->length);
    source->seek(chunk.source->offset);
    source->readBytes(bytes.data(), bytes.size());
    return bytes;
}

// The sound information: its bytes as the file had them while no sound
// changed, otherwise the entries, over the start of those bytes where they
// fit, and then an entry of zeros if the file had one.
Bytes soundInfoBytes(const PageFile& file, ByteFile* source)
{
    const Bytes entries = soundEntryBytes(file.sounds, file.soundInfoTerminated);
    if (!file.soundInfo)
        return entries;
    Bytes info = bytesOf(*file.soundInfo, source, "The sound information");
    if (!writesEntries(file))
        return info;
    if (info.size() < SoundEntrySize * file.sounds.size())
        return entries;
    std::copy_n(entries.begin(), std::min(entries.size(), info.size()), info.begin());
    return info;
}

// The chunks that take room, by index (the sound information's being
// chunks.size()), in the order they are written.
std::vector<std::size_t> writingOrder(const PageFile& file)
{
    const std::size_t info = file.chunks.size();
    std::vector<std::size_t> order;
    if (!file.keepsPlaces) {
        for (std::size_t i = 0; i < info; ++i)
            if (!file.chunks[i].absent)
                order.push_back(i);
        order.push_back(info);
        return order;
    }
    // A chunk without a place follows the nearest placed chunk before it in
    // index order, after those that follow it already.
    std::vector<std::pair<std::uint32_t, std::size_t>> placed;
    std::vector<std::vector<std::size_t>> followers(info + 2);
    std::size_t lastPlaced = info + 1;  // none yet: the front
    for (std::size_t i = 0; i <= info; ++i) {
        const PageChunk* chunk = i < info ? &file.chunks[i] : (file.soundInfo ? &*file.soundInfo : nullptr);
        if (chunk != nullptr && chunk->absent)
            continue;
        if (chunk != nullptr && chunk->place) {
            placed.emplace_back(chunk->place->rank, i);
            lastPlaced = i;
        } else if (i < info) {
            followers[lastPlaced].push_back(i);
        }
    }
    std::sort(placed.begin(), placed.end());
    order = followers[info + 1];
    for (const auto& [rank, index] : placed) {
        order.push_back(index);
        order.insert(order.end(), followers[index].begin(), followers[index].end());
    }
    if (!file.soundInfo || !file.soundInfo->place)
        order.push_back(info);
    return order;
}

struct Piece {
    std::size_t index;
    std::size_t offset;
    Filler before;
};

}  // namespace

void writePageFile(const PageFile& file, ByteFile* source,
                   const std::function<void(const std::uint8_t*, std::size_t)>& out)
{
    const Bytes info = soundInfoBytes(file, source);
    checkLimits(file, info.size());
    checkSources(file, source);

    const std::size_t count = file.chunks.size() + 1;
    const auto lengthOf
        = [&](std::size_t index) { return index == file.chunks.size() ? info.size() : file.chunks[index].length(); };
    const auto placeOf = [&](std::size_t index) -> const ChunkPlace* {
        const PageChunk* chunk = index < file.chunks.size() ? &file.chunks[index]
            : file.soundInfo                                ? &*file.soundInfo
                                                            : nullptr;
        return chunk != nullptr && chunk->place ? &*chunk->place : nullptr;
    };
    std::vector<Piece> pieces;
    std::size_t end = tableSize(count);
    for (const std::size_t index : writingOrder(file)) {
        const ChunkPlace* place = placeOf(index);
        Filler before;
        if (file.keepsPlaces) {
            if (place != nullptr)
                before = place->before;
        } else {
            before.length = static_cast<std::int64_t>(alignedUp(end) - end);
            // The bytes the file had there, while nothing before has moved.
            if (place != nullptr && place->before.sourceAt == static_cast<std::int64_t>(end)
                && place->before.length == before.length)
                before.sourceAt = end;
        }
        const std::size_t offset = end + static_cast<std::size_t>(before.length);
        if (offset > static_cast<std::size_t>(FurthestOffset))
            throw RunError::message("Chunk " + std::to_string(index) + " would start at byte " + std::to_string(offset)
                                    + ", beyond what the table's offsets reach");
        pieces.push_back({index, offset, before});
        end = offset + lengthOf(index);
    }

    Bytes table(tableSize(count), 0);
    putWord(table, 0, count);
    putWord(table, 2, file.spriteStart);
    putWord(table, 4, file.soundStart);
    for (std::size_t i = 0; i < count; ++i)
        putWord(table, HeaderSize + 4 * count + 2 * i, lengthOf(i));
    for (const Piece& piece : pieces)
        putLong(table, HeaderSize + 4 * piece.index, piece.offset);
    out(table.data(), table.size());

    Bytes copied;
    const Bytes zeros(64 * 1024, 0);
    const auto putFiller = [&](const Filler& filler) {
        for (std::int64_t done = 0; done < filler.length;) {
            const auto run = static_cast<std::size_t>(
                std::min<std::int64_t>(filler.length - done, static_cast<std::int64_t>(zeros.size())));
            if (filler.sourceAt) {
                copied.resize(run);
                source->seek(*filler.sourceAt + done);
                source->readBytes(copied.data(), run);
                out(copied.data(), run);
            } else {
                out(zeros.data(), run);
            }
            done += static_cast<std::int64_t>(run);
        }
    };
    for (const Piece& piece : pieces) {
        putFiller(piece.before);
        if (piece.index == file.chunks.size()) {
            out(info.data(), info.size());
            continue;
        }
        const PageChunk& chunk = file.chunks[piece.index];
        if (!chunk.source) {
            out(chunk.bytes.data(), chunk.bytes.size());
            continue;
        }
        copied.resize(chunk.source->length);
        source->seek(chunk.source->offset);
        source->readBytes(copied.data(), copied.size());
        out(copied.data(), copied.size());
    }
    putFiller(file.trailing);
}

Bytes pageFileBytes(const PageFile& file, ByteFile* source)
{
    Bytes bytes;
    writePageFile(file, source,
                  [&](const std::uint8_t* data, std::size_t size) { bytes.insert(bytes.end(), data, data + size); });
    return bytes;
}

}  // namespace pagelark
