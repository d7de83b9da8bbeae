#pragma once

#include <array>
#include <cstdint>

namespace pagelark {

class ByteFile;

// The table holds this many chunks; a file with more is refused.
constexpr int ChunkSlots = 6144;

struct VswapHeader {
    std::int32_t chunkCount = 0;
    std::int32_t spriteStart = 0;
    std::int32_t soundStart = 0;
};

enum class ItemKind { Wall = 1, Sprite = 2, Sound = 3 };
constexpr std::array<ItemKind, 3> ItemKinds = {ItemKind::Wall, ItemKind::Sprite, ItemKind::Sound};

// The kind's word in saved file names, messages and JSON: "wall", "sprite", "sound".
const char* kindName(ItemKind kind);

// The kind follows from the index alone; a later rule overrides an earlier
// one, so an index at or above soundStart is a sound even below spriteStart.
ItemKind kindOfChunk(const VswapHeader& header, std::int32_t index);

struct ChunkTable {
    std::array<std::int32_t, ChunkSlots> offset{};
    std::array<std::int32_t, ChunkSlots> length{};
    // Number within the kind; -1 for sound pages that start no sound.
    std::array<std::int32_t, ChunkSlots> itemNumber{};

    void clear();
    // Present, longer than one byte, and numbered within its kind.
    bool isListed(std::int32_t index) const;
};

// Reads header, chunk offsets, chunk lengths and the sound information from
// byte 0 of an open file. The header is checked against the table's size
// before anything is stored in the table; reading stops with the file's
// error where the file ends inside the tables.
void readChunkTable(ByteFile& file, VswapHeader& header, ChunkTable& table);

}  // namespace pagelark
