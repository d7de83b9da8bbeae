#include "tests/support/vswap_writer.h"

#include "archive/little_endian.h"
#include "archive/page_file.h"

#include <algorithm>

namespace pagelark::tools {

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t OffsetsAt = 6;

std::size_t lengthAt(std::size_t chunkCount, std::size_t index) { return OffsetsAt + 4 * chunkCount + 2 * index; }

using little_endian::longWord;
using little_endian::putLong;
using little_endian::putWord;

PageChunk pageChunkOf(const VswapWriter::Chunk& chunk)
{
    PageChunk page;
    page.absent = chunk.absent;
    if (chunk.absent) {
        page.absentLength = chunk.recordedLength.value_or(static_cast<std::uint16_t>(chunk.bytes.size()));
        return page;
    }
    // The rest of a longer chunk goes in after the writer has laid the file out.
    page.bytes.assign(chunk.bytes.begin(),
                      chunk.bytes.begin() + static_cast<std::ptrdiff_t>(std::min(chunk.bytes.size(), LongestChunk)));
    return page;
}

// Puts the bytes of a chunk beyond what a table records after its first
// LongestChunk bytes; the chunks after it move on by whole alignments.
void insertRest(Bytes& out, std::size_t chunkCount, std::size_t index, const Bytes& chunk)
{
    const std::size_t restAt = longWord(out, OffsetsAt + 4 * index) + LongestChunk;
    const std::size_t room = (chunk.size() - LongestChunk + ChunkAlignment - 1) / ChunkAlignment * ChunkAlignment;
    Bytes rest(chunk.begin() + static_cast<std::ptrdiff_t>(LongestChunk), chunk.end());
    rest.resize(room, 0);
    out.insert(out.begin() + static_cast<std::ptrdiff_t>(restAt), rest.begin(), rest.end());
    for (std::size_t later = index + 1; later < chunkCount; ++later) {
        const std::uint32_t offset = longWord(out, OffsetsAt + 4 * later);
        if (offset != 0)
            putLong(out, OffsetsAt + 4 * later, static_cast<std::uint32_t>(offset + room));
    }
}

// The same chunks, each as long as the table says and right after the one before it.
Bytes withoutGaps(const Bytes& aligned, std::size_t chunkCount)
{
    Bytes out(aligned.begin(), aligned.begin() + static_cast<std::ptrdiff_t>(OffsetsAt + 6 * chunkCount));
    for (std::size_t i = 0; i < chunkCount; ++i) {
        const std::uint32_t offset = longWord(aligned, OffsetsAt + 4 * i);
        if (offset == 0)
            continue;
        const std::size_t length
            = aligned[lengthAt(chunkCount, i)] | std::size_t{aligned[lengthAt(chunkCount, i) + 1]} << 8;
        putLong(out, OffsetsAt + 4 * i, static_cast<std::uint32_t>(out.size()));
        const auto from = aligned.begin() + offset;
        out.insert(out.end(), from, from + static_cast<std::ptrdiff_t>(length));
    }
    return out;
}

}  // namespace

VswapWriter& VswapWriter::soundInfoLength(std::uint16_t length)
{
    soundInfoLength_ = length;
    return *this;
}

VswapWriter& VswapWriter::withoutAlignment()
{
    aligned_ = false;
    return *this;
}

VswapWriter& VswapWriter::trailing(std::vector<std::uint8_t> bytes)
{
    trailing_ = std::move(bytes);
    return *this;
}

VswapWriter& VswapWriter::wall(Chunk chunk)
{
    walls_.push_back(std::move(chunk));
    return *this;
}

VswapWriter& VswapWriter::sprite(Chunk chunk)
{
    sprites_.push_back(std::move(chunk));
    return *this;
}

VswapWriter& VswapWriter::soundPage(Chunk chunk)
{
    soundPages_.push_back(std::move(chunk));
    return *this;
}

VswapWriter& VswapWriter::sound(std::uint16_t firstPage, std::uint16_t length)
{
    sounds_.push_back({firstPage, length});
    return *this;
}

VswapWriter& VswapWriter::terminateSoundInfo(bool terminate)
{
    terminateSoundInfo_ = terminate;
    return *this;
}

std::uint16_t VswapWriter::spriteStart() const { return static_cast<std::uint16_t>(walls_.size()); }

std::uint16_t VswapWriter::soundStart() const { return static_cast<std::uint16_t>(walls_.size() + sprites_.size()); }

std::uint16_t VswapWriter::chunkCount() const
{
    // One more for the sound information chunk.
    return static_cast<std::uint16_t>(soundStart() + soundPages_.size() + 1);
}

std::vector<std::uint8_t> VswapWriter::build() const
{
    std::vector<const Chunk*> chunks;
    for (const std::vector<Chunk>* section : {&walls_, &sprites_, &soundPages_})
        for (const Chunk& chunk : *section)
            chunks.push_back(&chunk);

    PageFile file;
    file.spriteStart = spriteStart();
    file.soundStart = soundStart();
    for (const Chunk* chunk : chunks)
        file.chunks.push_back(pageChunkOf(*chunk));
    // Entries the writer takes, of the right number; the test's own go in below.
    file.sounds.assign(sounds_.size(), pagelark::SoundEntry{0, 1});
    file.soundInfoTerminated = terminateSoundInfo_;
    Bytes out = pageFileBytes(file);

    const std::size_t count = chunks.size() + 1;
    const std::size_t infoAt = longWord(out, OffsetsAt + 4 * chunks.size());
    for (std::size_t k = 0; k < sounds_.size(); ++k) {
        putWord(out, infoAt + 4 * k, sounds_[k].firstPage);
        putWord(out, infoAt + 4 * k + 2, sounds_[k].length);
    }
    for (std::size_t i = 0; i < chunks.size(); ++i)
        if (!chunks[i]->absent && chunks[i]->recordedLength)
            putWord(out, lengthAt(count, i), *chunks[i]->recordedLength);
    for (std::size_t i = chunks.size(); i-- > 0;)
        if (!chunks[i]->absent && chunks[i]->bytes.size() > LongestChunk)
            insertRest(out, count, i, chunks[i]->bytes);
    if (!aligned_)
        out = withoutGaps(out, count);
    if (soundInfoLength_)
        putWord(out, lengthAt(count, count - 1), *soundInfoLength_);
    out.insert(out.end(), trailing_.begin(), trailing_.end());
    return out;
}

}  // namespace pagelark::tools
