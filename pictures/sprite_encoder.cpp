#include "pictures/sprite_encoder.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace pagelark {

namespace {

constexpr std::size_t HeaderSize = 4;
constexpr std::size_t CommandSize = 6;
constexpr std::size_t ListEndSize = 2;

struct Run {
    int start;  // first row
    int end;    // the row after the last
};

// A column has at most 32 runs: between two runs lies a transparent row.
struct ColumnRuns {
    std::array<Run, GridSide / 2> runs;
    std::size_t count = 0;
    const Run* begin() const { return runs.data(); }
    const Run* end() const { return runs.data() + count; }
    std::size_t size() const { return count; }
    bool empty() const { return count == 0; }
};

// Filled in place: a column's runs take 264 bytes, and copying them costs
// more than finding them.
void findRunsOfColumn(const PixelGrid& grid, int x, ColumnRuns& runs)
{
    // Most columns of most sprites are empty: one comparison of the whole
    // column (the grid keeps a column's cells together) passes them.
    static constexpr auto EmptyColumn = [] {
        std::array<std::uint8_t, GridSide> column{};
        column.fill(EmptyIndex);
        return column;
    }();
    runs.count = 0;
    if (std::memcmp(&grid[gridCell(x, 0)], EmptyColumn.data(), GridSide) == 0)
        return;
    int y = 0;
    while (y < GridSide) {
        if (grid[gridCell(x, y)] == EmptyIndex) {
            ++y;
            continue;
        }
        const int start = y;
        while (y < GridSide && grid[gridCell(x, y)] != EmptyIndex)
            ++y;
        runs.runs[runs.count++] = {start, y};
    }
}

void putWord(std::vector<std::uint8_t>& chunk, std::size_t at, int value)
{
    const auto word = static_cast<std::uint16_t>(value);
    chunk[at] = static_cast<std::uint8_t>(word & 0xFF);
    chunk[at + 1] = static_cast<std::uint8_t>(word >> 8);
}

}  // namespace

std::vector<std::uint8_t> encodeSprite(const PixelGrid& grid)
{
    std::array<ColumnRuns, GridSide> runs;
    int first = -1;
    int last = 0;
    std::size_t poolSize = 0;
    std::size_t commandsSize = 0;
    for (int x = 0; x < GridSide; ++x) {
        ColumnRuns& column = runs[static_cast<std::size_t>(x)];
        findRunsOfColumn(grid, x, column);
        if (column.empty())
            continue;
        if (first < 0)
            first = x;
        last = x;
        for (const Run& run : column)
            poolSize += static_cast<std::size_t>(run.end - run.start);
    }
    first = std::max(first, 0);
    last = std::max(last, 1);
    for (int x = first; x <= last; ++x)
        commandsSize += CommandSize * runs[static_cast<std::size_t>(x)].size() + ListEndSize;

    const std::size_t poolAt = HeaderSize + 2 * static_cast<std::size_t>(last - first + 1);
    const std::size_t commandsAt = poolAt + poolSize + poolSize % 2;
    std::vector<std::uint8_t> chunk(commandsAt + commandsSize, 0);
    putWord(chunk, 0, first);
    putWord(chunk, 2, last);

    std::size_t pool = poolAt;
    std::size_t commands = commandsAt;
    for (int x = first; x <= last; ++x) {
        putWord(chunk, HeaderSize + 2 * static_cast<std::size_t>(x - first), static_cast<int>(commands));
        for (const Run& run : runs[static_cast<std::size_t>(x)]) {
            putWord(chunk, commands, run.end * 2);
            putWord(chunk, commands + 2, static_cast<int>(pool) - run.start);
            putWord(chunk, commands + 4, run.start * 2);
            commands += CommandSize;
            const auto length = static_cast<std::size_t>(run.end - run.start);
            std::copy_n(&grid[gridCell(x, run.start)], length, &chunk[pool]);
            pool += length;
        }
        commands += ListEndSize;
    }
    return chunk;
}

}  // namespace pagelark
