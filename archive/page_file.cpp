#include "archive/page_file.h"

#include "archive/byte_file.h"
#include "archive/chunk_table.h"
#include "archive/run_error.h"

#include <algorithm>
#include <string>
#include <utility>

namespace pagelark {

namespace {

constexpr std::size_t HeaderSize = 6;
constexpr std::size_t TableBytesPerChunk = 6;  // a 32-bit offset and a 16-bit length
constexpr std::size_t SoundEntrySize = 4;
// The reader files a sound whose first page lies beyond this chunk in its last slot.
constexpr std::size_t HighestSoundChunk = 4096;
// Entries a sound information chunk can hold, its length being 16 bits.
constexpr std::size_t MostSoundEntries = LongestChunk / SoundEntrySize;

// The largest file the limits allow, every chunk as long as it can be and
// after the longest gap, stays below 2 GiB: no offset can pass the table's 32
// bits, nor the 31 the reader keeps of them.
static_assert(HeaderSize + TableBytesPerChunk * ChunkSlots + ChunkSlots * (LongestChunk + ChunkAlignment - 1)
              < (std::uint64_t{1} << 31));

using Bytes = std::vector<std::uint8_t>;

std::size_t alignedUp(std::size_t at) { return (at + ChunkAlignment - 1) / ChunkAlignment * ChunkAlignment; }

std::size_t pagesOf(std::size_t soundLength) { return (soundLength + SoundPageSize - 1) / SoundPageSize; }

std::size_t soundInfoLength(const PageFile& file)
{
    return SoundEntrySize * (file.sounds.size() + (file.soundInfoTerminated ? 1 : 0));
}

void putWord(Bytes& out, std::size_t at, std::size_t value)
{
    out[at] = static_cast<std::uint8_t>(value & 0xFF);
    out[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

void putLong(Bytes& out, std::size_t at, std::size_t value)
{
    putWord(out, at, value & 0xFFFF);
    putWord(out, at + 2, value >> 16);
}

std::uint16_t readWord(ByteFile& file)
{
    const std::uint8_t low = file.readByte();
    const std::uint8_t high = file.readByte();
    return static_cast<std::uint16_t>(low | (high << 8));
}

std::uint32_t readLong(ByteFile& file)
{
    const std::uint32_t low = readWord(file);
    return low | (std::uint32_t{readWord(file)} << 16);
}

void checkChunkCount(std::size_t count)
{
    if (count > static_cast<std::size_t>(ChunkSlots))
        throw RunError::message("A page file holds at most " + std::to_string(ChunkSlots)
                                + " chunks, the sound information included; this one would hold "
                                + std::to_string(count));
}

void checkSoundLength(std::size_t soundNumber, std::size_t length)
{
    if (length == 0)
        throw RunError::message("Sound " + std::to_string(soundNumber) + " is empty");
    if (length > LongestChunk)
        throw RunError::message("Sound " + std::to_string(soundNumber) + " is " + std::to_string(length)
                                + " bytes long, at most " + std::to_string(LongestChunk));
}

void checkChunkLength(std::size_t index, std::size_t length)
{
    if (length > LongestChunk)
        throw RunError::message("Chunk " + std::to_string(index) + " is " + std::to_string(length)
                                + " bytes long, at most " + std::to_string(LongestChunk));
}

void checkSoundStart(std::size_t soundNumber, std::size_t soundStart, std::size_t firstPage)
{
    if (soundStart + firstPage > HighestSoundChunk)
        throw RunError::message("Sound " + std::to_string(soundNumber) + " would start at chunk "
                                + std::to_string(soundStart + firstPage) + ", beyond chunk "
                                + std::to_string(HighestSoundChunk) + " where the reader looks for sounds");
}

// Every limit but the sources'.
void checkLimits(const PageFile& file)
{
    checkChunkCount(file.chunks.size() + 1);
    if (file.soundStart >= ChunkSlots)
        throw RunError::message("Sounds start at chunk " + std::to_string(file.soundStart) + ", at most "
                                + std::to_string(ChunkSlots - 1));
    for (std::size_t i = 0; i < file.chunks.size(); ++i)
        checkChunkLength(i, file.chunks[i].length());
    if (soundInfoLength(file) > LongestChunk)
        throw RunError::message("The sound information of " + std::to_string(file.sounds.size()) + " entries is "
                                + std::to_string(soundInfoLength(file)) + " bytes long, at most "
                                + std::to_string(LongestChunk));
    for (std::size_t k = 0; k < file.sounds.size(); ++k) {
        const SoundEntry& entry = file.sounds[k];
        if (entry.firstPage == 0 && entry.length == 0)
            throw RunError::message("Sound " + std::to_string(k)
                                    + " has an entry of four zero bytes, which would end the sound information");
        checkSoundStart(k, file.soundStart, entry.firstPage);
    }
}

void checkSources(const PageFile& file, ByteFile* source)
{
    for (std::size_t i = 0; i < file.chunks.size(); ++i) {
        const PageChunk& chunk = file.chunks[i];
        if (chunk.absent || !chunk.source)
            continue;
        if (source == nullptr)
            throw RunError::message("Chunk " + std::to_string(i) + " is to be copied from a file, and none is open");
        const std::int64_t end = chunk.source->offset + chunk.source->length;
        if (chunk.source->offset < 0 || end > source->size())
            throw RunError::message("Chunk " + std::to_string(i) + " lies beyond the end of the file: bytes "
                                    + std::to_string(chunk.source->offset) + " to " + std::to_string(end) + " of "
                                    + std::to_string(source->size()));
    }
}

Bytes soundInfoBytes(const PageFile& file)
{
    Bytes info(soundInfoLength(file), 0);
    for (std::size_t k = 0; k < file.sounds.size(); ++k) {
        putWord(info, SoundEntrySize * k, file.sounds[k].firstPage);
        putWord(info, SoundEntrySize * k + 2, file.sounds[k].length);
    }
    return info;
}

std::vector<PageChunk> pagesOfSound(const Bytes& samples)
{
    std::vector<PageChunk> pages;
    for (std::size_t at = 0; at < samples.size(); at += SoundPageSize) {
        const auto from = samples.begin() + static_cast<std::ptrdiff_t>(at);
        const auto to = from + static_cast<std::ptrdiff_t>(std::min(SoundPageSize, samples.size() - at));
        pages.push_back(heldChunk(Bytes(from, to)));
    }
    return pages;
}

}  // namespace

PageChunk heldChunk(Bytes bytes)
{
    PageChunk chunk;
    chunk.bytes = std::move(bytes);
    return chunk;
}

std::size_t PageChunk::length() const
{
    if (absent)
        return absentLength;
    if (source)
        return source->length;
    return bytes.size();
}

PageFile pageFileOf(const std::vector<PageChunk>& walls, const std::vector<PageChunk>& sprites,
                    const std::vector<Bytes>& sounds)
{
    std::size_t pages = 0;
    for (std::size_t k = 0; k < sounds.size(); ++k) {
        checkSoundLength(k, sounds[k].size());
        pages += pagesOf(sounds[k].size());
    }
    // Before anything is copied, so a table too long is refused cheaply.
    checkChunkCount(walls.size() + sprites.size() + pages + 1);

    PageFile file;
    file.spriteStart = static_cast<std::uint16_t>(walls.size());
    file.soundStart = static_cast<std::uint16_t>(walls.size() + sprites.size());
    file.chunks = walls;
    file.chunks.insert(file.chunks.end(), sprites.begin(), sprites.end());
    std::size_t firstPage = 0;
    for (const Bytes& sound : sounds) {
        file.sounds.push_back({static_cast<std::uint16_t>(firstPage), static_cast<std::uint16_t>(sound.size())});
        const std::vector<PageChunk> soundPages = pagesOfSound(sound);
        file.chunks.insert(file.chunks.end(), soundPages.begin(), soundPages.end());
        firstPage += soundPages.size();
    }
    checkLimits(file);
    return file;
}

PageFile readPageFile(ByteFile& file)
{
    file.seek(0);
    const std::size_t count = readWord(file);
    PageFile read;
    read.spriteStart = readWord(file);
    read.soundStart = readWord(file);
    if (count > static_cast<std::size_t>(ChunkSlots))
        throw RunError::message("Not a VSWAP file: " + std::to_string(count) + " chunks, at most "
                                + std::to_string(ChunkSlots));
    if (read.soundStart >= ChunkSlots)
        throw RunError::message("Not a VSWAP file: sounds start at chunk " + std::to_string(read.soundStart)
                                + ", at most " + std::to_string(ChunkSlots - 1));
    if (count == 0)
        throw RunError::message("Not a VSWAP file: no chunks, not even the sound information");

    std::vector<std::uint32_t> offsets(count);
    for (std::uint32_t& offset : offsets)
        offset = readLong(file);
    read.chunks.resize(count - 1);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint16_t length = readWord(file);
        if (i == count - 1)
            break;  // the sound information's length follows from its entries
        PageChunk& chunk = read.chunks[i];
        if (offsets[i] == 0) {
            chunk.absent = true;
            chunk.absentLength = length;
        } else {
            chunk.source = SourceBytes{offsets[i], length};
        }
    }

    file.seek(offsets[count - 1]);
    while (!file.eof()) {
        const SoundEntry entry{readWord(file), readWord(file)};
        if (entry.firstPage == 0 && entry.length == 0) {
            read.soundInfoTerminated = true;
            break;
        }
        if (read.sounds.size() == MostSoundEntries)
            throw RunError::message("The sound information holds more than " + std::to_string(MostSoundEntries)
                                    + " entries, more than a chunk can");
        read.sounds.push_back(entry);
    }
    return read;
}

void replaceChunk(PageFile& file, std::int32_t index, Bytes bytes)
{
    if (index < 0 || index >= file.soundStart || static_cast<std::size_t>(index) >= file.chunks.size())
        throw RunError::message("Chunk " + std::to_string(index) + " is no wall or sprite of this file");
    checkChunkLength(static_cast<std::size_t>(index), bytes.size());
    file.chunks[static_cast<std::size_t>(index)] = heldChunk(std::move(bytes));
}

void replaceSound(PageFile& file, std::int32_t soundNumber, const Bytes& samples)
{
    if (soundNumber < 0 || static_cast<std::size_t>(soundNumber) >= file.sounds.size())
        throw RunError::message("The file has no sound " + std::to_string(soundNumber));
    const auto number = static_cast<std::size_t>(soundNumber);
    checkSoundLength(number, samples.size());
    const SoundEntry replaced = file.sounds[number];
    const std::size_t oldPages = pagesOf(replaced.length);
    const std::size_t newPages = pagesOf(samples.size());
    const std::size_t firstChunk = file.soundStart + std::size_t{replaced.firstPage};
    if (firstChunk + oldPages > file.chunks.size())
        throw RunError::message("Sound " + std::to_string(number) + " lies beyond the last chunk");
    checkChunkCount(file.chunks.size() - oldPages + newPages + 1);
    // The entries of the sounds after it, moved with their pages.
    std::vector<SoundEntry> sounds = file.sounds;
    for (std::size_t k = 0; k < sounds.size(); ++k) {
        if (k == number || sounds[k].firstPage < replaced.firstPage + oldPages)
            continue;
        const std::size_t moved = sounds[k].firstPage - oldPages + newPages;
        checkSoundStart(k, file.soundStart, moved);
        sounds[k].firstPage = static_cast<std::uint16_t>(moved);
    }
    sounds[number].length = static_cast<std::uint16_t>(samples.size());

    const auto first = file.chunks.begin() + static_cast<std::ptrdiff_t>(firstChunk);
    const auto at = file.chunks.erase(first, first + static_cast<std::ptrdiff_t>(oldPages));
    const std::vector<PageChunk> pages = pagesOfSound(samples);
    file.chunks.insert(at, pages.begin(), pages.end());
    file.sounds = std::move(sounds);
}

void writePageFile(const PageFile& file, ByteFile* source,
                   const std::function<void(const std::uint8_t*, std::size_t)>& out)
{
    checkLimits(file);
    checkSources(file, source);

    const std::size_t count = file.chunks.size() + 1;
    const Bytes info = soundInfoBytes(file);
    Bytes table(HeaderSize + TableBytesPerChunk * count, 0);
    putWord(table, 0, count);
    putWord(table, 2, file.spriteStart);
    putWord(table, 4, file.soundStart);
    std::vector<std::size_t> offsets(count, 0);
    std::size_t end = table.size();
    for (std::size_t i = 0; i < count; ++i) {
        const bool isInfo = i == file.chunks.size();
        const std::size_t length = isInfo ? info.size() : file.chunks[i].length();
        putWord(table, HeaderSize + 4 * count + 2 * i, length);
        if (!isInfo && file.chunks[i].absent)
            continue;
        offsets[i] = alignedUp(end);
        putLong(table, HeaderSize + 4 * i, offsets[i]);
        end = offsets[i] + length;
    }

    out(table.data(), table.size());
    std::size_t written = table.size();
    const Bytes gap(ChunkAlignment, 0);
    Bytes copied;
    const auto put = [&](std::size_t offset, const std::uint8_t* bytes, std::size_t length) {
        out(gap.data(), offset - written);
        out(bytes, length);
        written = offset + length;
    };
    for (std::size_t i = 0; i < file.chunks.size(); ++i) {
        const PageChunk& chunk = file.chunks[i];
        if (chunk.absent)
            continue;
        if (!chunk.source) {
            put(offsets[i], chunk.bytes.data(), chunk.bytes.size());
            continue;
        }
        copied.resize(chunk.source->length);
        source->seek(chunk.source->offset);
        source->readBytes(copied.data(), copied.size());
        put(offsets[i], copied.data(), copied.size());
    }
    put(offsets[count - 1], info.data(), info.size());
}

Bytes pageFileBytes(const PageFile& file, ByteFile* source)
{
    Bytes bytes;
    writePageFile(file, source,
                  [&](const std::uint8_t* data, std::size_t size) { bytes.insert(bytes.end(), data, data + size); });
    return bytes;
}

}  // namespace pagelark
