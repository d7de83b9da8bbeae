#include "archive/page_file.h"

#include "archive/chunk_table.h"
#include "archive/little_endian.h"
#include "archive/page_file_limits.h"
#include "archive/run_error.h"

#include <algorithm>
#include <string>
#include <utility>

namespace pagelark {

namespace page_file_limits {

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

}  // namespace page_file_limits

using namespace page_file_limits;

namespace {

using Bytes = std::vector<std::uint8_t>;

std::vector<PageChunk> pagesOfSamples(const Bytes& samples)
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

std::size_t pagesOfSound(const SoundEntry& entry) { return pagesOf(entry.length); }

Bytes soundEntryBytes(const std::vector<SoundEntry>& sounds, bool terminated)
{
    Bytes bytes;
    bytes.reserve(SoundEntrySize * (sounds.size() + 1));
    for (const SoundEntry& entry : sounds) {
        little_endian::appendWord(bytes, entry.firstPage);
        little_endian::appendWord(bytes, entry.length);
    }
    if (terminated)
        bytes.resize(bytes.size() + SoundEntrySize, 0);
    return bytes;
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
    for (const Bytes& sound : sounds)
        appendSound(file, sound);
    file.soundsChanged = false;
    return file;
}

ChunkSplice chunkReplacement(const PageFile& file, std::int32_t index, Bytes bytes)
{
    if (index < 0 || index >= file.soundStart || static_cast<std::size_t>(index) >= file.chunks.size())
        throw RunError::message("Chunk " + std::to_string(index) + " is no wall or sprite of this file");
    checkChunkLength(static_cast<std::size_t>(index), bytes.size());
    ChunkSplice splice;
    splice.first = static_cast<std::size_t>(index);
    splice.before = {file.chunks[splice.first]};
    splice.after = {heldChunk(std::move(bytes))};
    splice.after.front().place = splice.before.front().place;
    splice.soundsBefore = splice.soundsAfter = file.sounds;
    splice.soundsChangedBefore = splice.soundsChangedAfter = file.soundsChanged;
    return splice;
}

ChunkSplice soundReplacement(const PageFile& file, std::int32_t soundNumber, const Bytes& samples)
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
    ChunkSplice splice;
    // The entries of the sounds after it, moved with their pages.
    splice.soundsBefore = splice.soundsAfter = file.sounds;
    std::vector<SoundEntry>& sounds = splice.soundsAfter;
    for (std::size_t k = 0; k < sounds.size(); ++k) {
        if (k == number || sounds[k].firstPage < replaced.firstPage + oldPages || oldPages == newPages)
            continue;
        const std::size_t moved = sounds[k].firstPage - oldPages + newPages;
        checkSoundStart(k, file.soundStart, moved);
        sounds[k].firstPage = static_cast<std::uint16_t>(moved);
    }
    sounds[number].length = static_cast<std::uint16_t>(samples.size());
    splice.soundsChangedBefore = file.soundsChanged;
    splice.soundsChangedAfter = file.soundsChanged || sounds != file.sounds;

    // The new pages take the places of the old ones, one for one.
    splice.first = firstChunk;
    const auto first = file.chunks.begin() + static_cast<std::ptrdiff_t>(firstChunk);
    splice.before.assign(first, first + static_cast<std::ptrdiff_t>(oldPages));
    splice.after = pagesOfSamples(samples);
    for (std::size_t j = 0; j < std::min(oldPages, newPages); ++j)
        splice.after[j].place = splice.before[j].place;
    return splice;
}

ChunkSplice soundAddition(const PageFile& file, const Bytes& samples)
{
    const std::size_t number = file.sounds.size();
    checkSoundLength(number, samples.size());
    if (file.chunks.size() < file.soundStart)
        throw RunError::message("The file ends before its sounds start");
    const std::size_t firstPage = file.chunks.size() - file.soundStart;
    checkChunkCount(file.chunks.size() + pagesOf(samples.size()) + 1);
    checkSoundStart(number, file.soundStart, firstPage);
    ChunkSplice splice;
    splice.first = file.chunks.size();
    splice.after = pagesOfSamples(samples);
    splice.soundsBefore = splice.soundsAfter = file.sounds;
    splice.soundsAfter.push_back({static_cast<std::uint16_t>(firstPage), static_cast<std::uint16_t>(samples.size())});
    splice.soundsChangedBefore = file.soundsChanged;
    splice.soundsChangedAfter = true;
    return splice;
}

namespace {

void putChunks(PageFile& file, std::size_t first, std::size_t removed, const std::vector<PageChunk>& chunks)
{
    const auto at = file.chunks.begin() + static_cast<std::ptrdiff_t>(first);
    const auto rest = file.chunks.erase(at, at + static_cast<std::ptrdiff_t>(removed));
    file.chunks.insert(rest, chunks.begin(), chunks.end());
}

}  // namespace

void makeSplice(PageFile& file, const ChunkSplice& splice)
{
    putChunks(file, splice.first, splice.before.size(), splice.after);
    file.sounds = splice.soundsAfter;
    file.soundsChanged = splice.soundsChangedAfter;
}

void takeBackSplice(PageFile& file, const ChunkSplice& splice)
{
    putChunks(file, splice.first, splice.after.size(), splice.before);
    file.sounds = splice.soundsBefore;
    file.soundsChanged = splice.soundsChangedBefore;
}

void replaceChunk(PageFile& file, std::int32_t index, Bytes bytes)
{
    makeSplice(file, chunkReplacement(file, index, std::move(bytes)));
}

void replaceSound(PageFile& file, std::int32_t soundNumber, const Bytes& samples)
{
    makeSplice(file, soundReplacement(file, soundNumber, samples));
}

void appendSound(PageFile& file, const Bytes& samples) { makeSplice(file, soundAddition(file, samples)); }

}  // namespace pagelark
