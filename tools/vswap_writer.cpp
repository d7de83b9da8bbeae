#include "tools/vswap_writer.h"

#include <stdexcept>

namespace pagelark::tools {

namespace {

void putWord(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value)
{
    out[at] = static_cast<std::uint8_t>(value & 0xFF);
    out[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

void putLong(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value)
{
    putWord(out, at, value & 0xFFFF);
    putWord(out, at + 2, value >> 16);
}

}  // namespace

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
    std::vector<Chunk> chunks;
    chunks.insert(chunks.end(), walls_.begin(), walls_.end());
    chunks.insert(chunks.end(), sprites_.begin(), sprites_.end());
    chunks.insert(chunks.end(), soundPages_.begin(), soundPages_.end());
    Chunk info;
    for (const SoundEntry& entry : sounds_) {
        for (std::uint32_t value : {std::uint32_t{entry.firstPage}, std::uint32_t{entry.length}}) {
            info.bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
            info.bytes.push_back(static_cast<std::uint8_t>(value >> 8));
        }
    }
    if (terminateSoundInfo_)
        info.bytes.insert(info.bytes.end(), 4, 0);
    chunks.push_back(info);
    if (chunks.size() > 0xFFFF)
        throw std::length_error("too many chunks for a VSWAP header");

    const std::size_t count = chunks.size();
    std::vector<std::uint8_t> out(6 + 6 * count, 0);
    putWord(out, 0, static_cast<std::uint32_t>(count));
    putWord(out, 2, spriteStart());
    putWord(out, 4, soundStart());
    for (std::size_t i = 0; i < count; ++i) {
        const Chunk& chunk = chunks[i];
        const std::uint32_t length = chunk.recordedLength.value_or(static_cast<std::uint16_t>(chunk.bytes.size()));
        putWord(out, 6 + 4 * count + 2 * i, length);
        if (chunk.absent)
            continue;
        putLong(out, 6 + 4 * i, static_cast<std::uint32_t>(out.size()));
        out.insert(out.end(), chunk.bytes.begin(), chunk.bytes.end());
    }
    return out;
}

}  // namespace pagelark::tools
