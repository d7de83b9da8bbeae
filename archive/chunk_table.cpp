#include "archive/chunk_table.h"

#include "archive/lookup_table.h"
#include "archive/stored_table.h"

namespace pagelark {

namespace {

// A sound whose first page lies beyond this slot is recorded in the last slot.
constexpr std::int32_t HighestSoundSlot = 4096;

constexpr LookupRow<ItemKind, const char*> KindNames[]
    = {{ItemKind::Wall, "wall"}, {ItemKind::Sprite, "sprite"}, {ItemKind::Sound, "sound"}};

}  // namespace

// Whatever is neither wall nor sprite is a sound.
const char* kindName(ItemKind kind) { return lookUp(KindNames, kind, "sound"); }

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
    const StoredTable stored = readStoredTable(file);
    header = stored.header;

    std::int32_t infoOffset = 0;
    for (std::int32_t i = 0; i < header.chunkCount; ++i) {
        table.offset[i] = static_cast<std::int32_t>(stored.offsets[static_cast<std::size_t>(i)]);
        std::int32_t number = i;
        if (i >= header.spriteStart)
            number = i - header.spriteStart;
        if (i >= header.soundStart)
            number = -1;
        table.itemNumber[i] = number;
        table.length[i] = stored.lengths[static_cast<std::size_t>(i)];
        infoOffset = table.offset[i];
    }

    // Each entry gives its sound's first chunk its number and the length of
    // the whole sound; the chunk of the sound start keeps the length 0 unless
    // an entry names it.
    std::int32_t slot = header.soundStart;
    std::int32_t pending = 0;
    std::int32_t k = 0;
    readSoundEntries(file, infoOffset, [&](const SoundEntry& entry) {
        table.length[slot] = pending;
        pending = entry.length;
        slot = header.soundStart + entry.firstPage;
        if (slot > HighestSoundSlot)
            slot = ChunkSlots - 1;
        table.itemNumber[slot] = k++;
        return true;
    });
    table.length[slot] = pending;
}

}  // namespace pagelark
