#include "pictures/decoders.h"

#include "archive/byte_file.h"
#include "archive/run_error.h"

#include <algorithm>
#include <array>
#include <vector>

namespace pagelark {

namespace {

constexpr std::uint8_t LastColumn = GridSide - 1;
constexpr std::uint32_t HighestColumnOffset = 4096;
constexpr int RunCommandSize = 6;

std::uint16_t readWord(ByteFile& file)
{
    const std::uint8_t low = file.readByte();
    const std::uint8_t high = file.readByte();
    return static_cast<std::uint16_t>(low | (high << 8));
}

void fillBackground(std::optional<std::uint8_t> ceilingIndex, PixelGrid& grid)
{
    if (!ceilingIndex) {
        grid.fill(EmptyIndex);
        return;
    }
    for (int x = 0; x < GridSide; ++x) {
        for (int y = 0; y < GridSide; ++y)
            grid[gridCell(x, y)] = y < GridSide / 2 ? *ceilingIndex : FloorIndex;
    }
}

// A column has 64 rows, so a real sprite needs at most 64 runs in one; a
// command list that goes on far beyond that is damaged, and following it to
// the end of the file would only cost time.
constexpr int MostCommandsInAColumn = 256;
// The end and start rows are the low bytes of their fields halved.
constexpr int LongestRun = 0xFF >> 1;

// Draws the runs of one column; false when its command list is too long to
// be a sprite's. Each command is runEnd, runSource, runStart; the end and
// start rows can name rows up to 127: the bytes of a run are read as the
// command says, but only the rows that exist are stored. An end row not
// above the start row, also an end row 0 in a list that goes on, stores
// nothing.
bool drawColumn(ByteFile& file, std::int64_t chunkStart, std::int64_t commandOffset, int x, PixelGrid& grid)
{
    std::array<std::uint8_t, LongestRun> run{};
    const auto store = [&](int start, std::int64_t count) {
        for (int y = start; y < start + count && y < GridSide; ++y)
            grid[gridCell(x, y)] = run[static_cast<std::size_t>(y - start)];
    };
    for (int command = 0; command < MostCommandsInAColumn; ++command) {
        file.seek(chunkStart + commandOffset);
        const std::uint16_t runEnd = readWord(file);
        if (runEnd == 0)
            return true;
        const auto source = static_cast<std::int16_t>(readWord(file));
        const std::uint16_t runStart = readWord(file);
        const std::uint16_t nextRunEnd = readWord(file);
        const int end = (runEnd & 0xFF) >> 1;
        const int start = (runStart & 0xFF) >> 1;

        const std::int64_t runAt = chunkStart + source + start;
        file.seek(runAt);
        if (end > start) {
            try {
                file.readBytes(run.data(), static_cast<std::size_t>(end - start));
            } catch (const RunError&) {
                // The pixels read before the end of the file are kept.
                store(start, file.position() - runAt);
                throw;
            }
            store(start, end - start);
        }

        commandOffset += RunCommandSize;
        if (nextRunEnd == 0)
            return true;
    }
    return false;
}

}  // namespace

void decodeWall(ByteFile& file, std::int32_t offset, PixelGrid& grid)
{
    file.seek(offset);
    // A wall cut short by the end of the file repeats the last byte it has;
    // one that starts at or past the end is all 0.
    const std::int64_t present = std::clamp<std::int64_t>(file.size() - file.position(), 0, GridCells);
    file.readBytes(grid.data(), static_cast<std::size_t>(present));
    const std::uint8_t last = present > 0 ? grid[static_cast<std::size_t>(present - 1)] : 0;
    std::fill(grid.begin() + present, grid.end(), last);
}

bool decodeSprite(ByteFile& file, std::int32_t offset, std::optional<std::uint8_t> ceilingIndex, PixelGrid& grid)
{
    fillBackground(ceilingIndex, grid);

    // Only the low bytes of the column fields count.
    file.seek(offset);
    const std::uint8_t first = file.readByte();
    file.readByte();
    const std::uint8_t last = file.readByte();
    file.readByte();
    if (first > last || first > LastColumn || last > LastColumn || last == 0)
        return false;

    std::vector<std::uint16_t> columnOffsets(static_cast<std::size_t>(last - first + 1));
    for (std::uint16_t& columnOffset : columnOffsets) {
        columnOffset = readWord(file);
        if (columnOffset > HighestColumnOffset)
            return false;
    }

    for (std::size_t k = 0; k < columnOffsets.size(); ++k) {
        if (!drawColumn(file, offset, columnOffsets[k], first + static_cast<int>(k), grid)) {
            fillBackground(ceilingIndex, grid);
            return false;
        }
    }
    return true;
}

}  // namespace pagelark
