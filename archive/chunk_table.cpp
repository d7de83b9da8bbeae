#include "archive/chunk_table.h"

#include "archive/byte_file.h"
#include "archive/run_error.h"

#include <algorithm>
#include <array>
#include <string>

namespace pagelark {

namespace {

// A sound whose first page lies beyond this slot is recorded in the last slot.
constexpr std::int32_t HighestSoundSlot = 4096;

std::uint32_t readWord(ByteFile& file)
{
    const std::uint32_t b0 = file.readByte();
    const std::uint32_t b1 = file.readByte();
    return b0 | (b1 << 8);
}

std::uint32_t readLong(ByteFile& file)
{
    const std::uint32_t low = readWord(file);
    return low | (readWord(file) << 16);
}

void checkHeaderFitsTable(const VswapHeader& header)
{
    if (header.chunkCount > ChunkSlots)
        throw RunError::message("Not a VSWAP file: " + std::to_string(header.chunkCount) + " chunks, at most "
                                + std::to_string(ChunkSlots));
    if (header.soundStart >= ChunkSlots)
        throw RunError::message("Not a VSWAP file: sounds start at chunk " + std::to_string(header.soundStart)
                                + ", at most " + std::to_string(ChunkSlots - 1));
}

// The entries run to one of four zero bytes or to the end of the file, so
// they are read a run of them at a time: a damaged file may hold many.
void readSoundInfo(ByteFile& file, std::int32_t infoOffset, std::int32_t soundStart, ChunkTable& table)
{
    constexpr std::int64_t EntriesAtOnce = 1024;
    std::array<std::uint8_t, 4 * EntriesAtOnce> entries{};
    file.seek(infoOffset);
    std::int32_t slot = soundStart;
    std::int32_t pending = 0;
    std::int32_t k = 0;
    while (!file.eof()) {
        // An entry cut short by the end of the file fails where its bytes run out.
        const std::int64_t whole = std::min<std::int64_t>((file.size() - file.position()) / 4, EntriesAtOnce);
        const auto count = static_cast<std::size_t>(4 * std::max<std::int64_t>(whole, 1));
        file.readBytes(entries.data(), count);
        for (std::size_t at = 0; at < count; at += 4, ++k) {
            const std::uint32_t firstPage = entries[at] | (entries[at + 1] << 8);
            const std::uint32_t soundLength = entries[at + 2] | (entries[at + 3] << 8);
            table.length[slot] = pending;
            if (firstPage == 0 && soundLength == 0)
                return;
            pending = static_cast<std::int32_t>(soundLength);
            slot = soundStart + static_cast<std::int32_t>(firstPage);
            if (slot > HighestSoundSlot)
                slot = ChunkSlots - 1;
            table.itemNumber[slot] = k;
        }
    }
    table.length[slot] = pending;
}

}  // namespace

const char* kindName(ItemKind kind)
{
    switch (kind) {
    case ItemKind::Wall:
        return "wall";
    case ItemKind::Sprite:
        return "sprite";
    case ItemKind::Sound:
        break;
    }
    return "sound";
}

ItemKind kindOfChunk(const VswapHeader& header, std::int32_t index)
{
    ItemKind kind = ItemKind::Sprite;
    if (index < header.spriteStart)
        kind = ItemKind::Wall;
    if (index >= header.soundStart)
        kind = ItemKind::Sound;
    return kind;
}

void ChunkTable::clear()
{
    offset.fill(0);
    length.fill(0);
    itemNumber.fill(0);
}

bool ChunkTable::isListed(std::int32_t index) const
{
    return offset[index] > 0 && length[index] > 1 && itemNumber[index] >= 0;
}

void readChunkTable(ByteFile& file, VswapHeader& header, ChunkTable& table)
{
    file.seek(0);
    VswapHeader read;
    read.chunkCount = static_cast<std::int32_t>(readWord(file));
    read.spriteStart = static_cast<std::int32_t>(readWord(file));
    read.soundStart = static_cast<std::int32_t>(readWord(file));
    checkHeaderFitsTable(read);
    header = read;

    std::int32_t infoOffset = 0;
    for (std::int32_t i = 0; i < header.chunkCount; ++i) {
        table.offset[i] = static_cast<std::int32_t>(readLong(file));
        std::int32_t number = i;
        if (i >= header.spriteStart)
            number = i - header.spriteStart;
        if (i >= header.soundStart)
            number = -1;
        table.itemNumber[i] = number;
        infoOffset = table.offset[i];
    }
    for (std::int32_t i = 0; i < header.chunkCount; ++i)
        table.length[i] = static_cast<std::int32_t>(readWord(file));

    readSoundInfo(file, infoOffset, header.soundStart, table);
}

}  // namespace pagelark
