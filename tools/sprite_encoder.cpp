#include "tools/sprite_encoder.h"

#include <algorithm>
#include <stdexcept>

namespace pagelark::tools {

namespace {

// The furthest a column offset may point into a sprite chunk.
constexpr std::size_t MaxColumnOffset = 4096;

struct Run {
    int start;  // first row
    int end;    // row after the last
};

bool opaque(const Picture& picture, int x, int y) { return picture[pictureCell(x, y)] != Transparent; }

bool columnHasPixels(const Picture& picture, int x)
{
    for (int y = 0; y < PictureSide; ++y)
        if (opaque(picture, x, y))
            return true;
    return false;
}

std::vector<Run> runsOfColumn(const Picture& picture, int x)
{
    std::vector<Run> runs;
    int y = 0;
    while (y < PictureSide) {
        if (!opaque(picture, x, y)) {
            ++y;
            continue;
        }
        const int start = y;
        while (y < PictureSide && opaque(picture, x, y))
            ++y;
        runs.push_back({start, y});
    }
    return runs;
}

void putWord(std::vector<std::uint8_t>& out, std::size_t at, int value)
{
    const auto word = static_cast<std::uint16_t>(value);
    out[at] = static_cast<std::uint8_t>(word & 0xFF);
    out[at + 1] = static_cast<std::uint8_t>(word >> 8);
}

}  // namespace

std::vector<std::uint8_t> encodeSprite(const Picture& picture)
{
    if (std::any_of(picture.begin(), picture.end(), [](std::int16_t cell) { return cell < Transparent || cell > 255; }))
        throw std::invalid_argument("a sprite cell must be a palette index or transparent");

    int first = 0;
    while (first < PictureSide && !columnHasPixels(picture, first))
        ++first;
    if (first == PictureSide)
        throw std::invalid_argument("a picture without opaque cells makes no sprite");
    int last = PictureSide - 1;
    while (!columnHasPixels(picture, last))
        --last;
    last = std::max(last, 1);

    std::vector<std::vector<Run>> columns;
    for (int x = first; x <= last; ++x)
        columns.push_back(runsOfColumn(picture, x));

    // Layout: header, column offsets, every column's commands, then the pixels.
    std::size_t commandsAt = 4 + 2 * columns.size();
    std::size_t pixelsAt = commandsAt;
    for (const std::vector<Run>& runs : columns)
        pixelsAt += 6 * runs.size() + 2;
    std::size_t size = pixelsAt;
    for (const std::vector<Run>& runs : columns)
        for (const Run& run : runs)
            size += static_cast<std::size_t>(run.end - run.start);

    std::vector<std::uint8_t> chunk(size, 0);
    putWord(chunk, 0, first);
    putWord(chunk, 2, last);
    for (std::size_t k = 0; k < columns.size(); ++k) {
        if (commandsAt > MaxColumnOffset)
            throw std::length_error("too many runs: a column's commands would start beyond byte 4096");
        putWord(chunk, 4 + 2 * k, static_cast<int>(commandsAt));
        const int x = first + static_cast<int>(k);
        for (const Run& run : columns[k]) {
            // The decoder finds a run's pixels at chunk start + source + start row.
            putWord(chunk, commandsAt, run.end * 2);
            putWord(chunk, commandsAt + 2, static_cast<int>(pixelsAt) - run.start);
            putWord(chunk, commandsAt + 4, run.start * 2);
            commandsAt += 6;
            for (int y = run.start; y < run.end; ++y)
                chunk[pixelsAt++] = static_cast<std::uint8_t>(picture[pictureCell(x, y)]);
        }
        commandsAt += 2;  // the zero word that closes the column's list
    }
    return chunk;
}

}  // namespace pagelark::tools
