#pragma once

#include "archive/chunk_table.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace pagelark {

class ByteFile;

struct SoundEntry {
    std::uint16_t firstPage = 0;  // counted from the sound start
    std::uint16_t length = 0;     // of the whole sound
    bool operator==(const SoundEntry&) const = default;
};

// The header and the chunk table as a page file stores them.
struct StoredTable {
    VswapHeader header;
    std::vector<std::uint32_t> offsets;  // 0 for an absent chunk
    std::vector<std::uint16_t> lengths;
};

// Reads the header and the table from byte 0. A header beyond what the
// table of ChunkSlots holds is refused before the table is read ("Not a
// VSWAP file: ..."); a file that ends inside it, with the file's error.
StoredTable readStoredTable(ByteFile& file);

// Gives the sound entries from `offset` on to `take`, one at a time, up to
// an entry of four zero bytes (and returns true) or the end of the file
// (false); an entry cut short by the end fails where its bytes run out.
// Reading stops where `take` returns false.
bool readSoundEntries(ByteFile& file, std::int64_t offset, const std::function<bool(const SoundEntry&)>& take);

}  // namespace pagelark
