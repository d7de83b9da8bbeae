#include "archive/stored_table.h"

#include "archive/byte_file.h"
#include "archive/little_endian.h"
#include "archive/run_error.h"

#include <algorithm>
#include <array>
#include <string>

namespace pagelark {

namespace {

constexpr std::size_t HeaderSize = 6;

void checkHeaderFitsTable(const VswapHeader& header)
{
    if (header.chunkCount > ChunkSlots)
        throw RunError::message("Not a VSWAP file: " + std::to_string(header.chunkCount) + " chunks, at most "
                                + std::to_string(ChunkSlots));
    if (header.soundStart >= ChunkSlots)
        throw RunError::message("Not a VSWAP file: sounds start at chunk " + std::to_string(header.soundStart)
                                + ", at most " + std::to_string(ChunkSlots - 1));
}

}  // namespace

StoredTable readStoredTable(ByteFile& file)
{
    std::array<std::uint8_t, HeaderSize> header{};
    file.seek(0);
    file.readBytes(header.data(), header.size());
    StoredTable table;
    table.header.chunkCount = little_endian::word(header, 0);
    table.header.spriteStart = little_endian::word(header, 2);
    table.header.soundStart = little_endian::word(header, 4);
    checkHeaderFitsTable(table.header);

    const auto count = static_cast<std::size_t>(table.header.chunkCount);
    std::vector<std::uint8_t> stored(6 * count);
    file.readBytes(stored.data(), stored.size());
    table.offsets.resize(count);
    table.lengths.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        table.offsets[i] = little_endian::longWord(stored, 4 * i);
        table.lengths[i] = little_endian::word(stored, 4 * count + 2 * i);
    }
    return table;
}

bool readSoundEntries(ByteFile& file, std::int64_t offset, const std::function<bool(const SoundEntry&)>& take)
{
    // The entries run to one of four zero bytes or to the end of the file, so
    // they are read a run of them at a time: a damaged file may hold many.
    constexpr std::int64_t EntriesAtOnce = 1024;
    std::array<std::uint8_t, 4 * EntriesAtOnce> entries{};
    file.seek(offset);
    while (!file.eof()) {
        const std::int64_t whole = std::min<std::int64_t>((file.size() - file.position()) / 4, EntriesAtOnce);
        const auto count = static_cast<std::size_t>(4 * std::max<std::int64_t>(whole, 1));
        file.readBytes(entries.data(), count);
        for (std::size_t at = 0; at < count; at += 4) {
            const SoundEntry entry{little_endian::word(entries, at), little_endian::word(entries, at + 2)};
            if (entry.firstPage == 0 && entry.length == 0)
                return true;
            if (!take(entry))
                return false;
        }
    }
    return false;
}

}  // namespace pagelark
