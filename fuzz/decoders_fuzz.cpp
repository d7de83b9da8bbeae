// Walls and sprites decoded from an arbitrary file at an offset the input
// chooses, with or without a ceiling index.
//
// Input: offset, mode (bit 0: with a ceiling index; bits 8-15: the index),
// then the file.

#include "archive/byte_file.h"
#include "archive/run_error.h"
#include "fuzz/input_file.h"
#include "fuzz/input_words.h"
#include "fuzz/require.h"
#include "pictures/decoders.h"

#include <cstdlib>
#include <optional>

namespace {

using namespace pagelark;
using fuzz::require;

// What a wall at offset must hold: the file's bytes, the last one repeated
// where the file ends, 0 from a start at or past the end. Checked against the
// input itself, so a read that returns the wrong byte shows.
void checkWall(std::span<const std::uint8_t> bytes, std::int32_t offset, const PixelGrid& grid)
{
    std::uint8_t holding = 0;
    for (std::size_t cell = 0; cell < grid.size(); ++cell) {
        const std::uint64_t at = static_cast<std::uint64_t>(offset) + cell;
        if (at < bytes.size())
            holding = bytes[at];
        require(grid[cell] == holding);
    }
}

// A sprite that is not decoded keeps the background it was given.
void checkBackground(std::optional<std::uint8_t> ceiling, const PixelGrid& grid)
{
    for (int x = 0; x < GridSide; ++x)
        for (int y = 0; y < GridSide; ++y)
            require(grid[gridCell(x, y)] == (!ceiling ? EmptyIndex : y < GridSide / 2 ? *ceiling : FloorIndex));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::InputWords words({data, size});
    const std::int32_t offset = words.signedWord();
    const std::uint32_t mode = words.word();
    const std::optional<std::uint8_t> ceiling
        = (mode & 1) != 0 ? std::optional(static_cast<std::uint8_t>(mode >> 8)) : std::nullopt;
    const std::span<const std::uint8_t> bytes = words.rest();

    ByteFile file;
    file.openRead(fuzz::writeInputFile(bytes));
    PixelGrid grid{};
    try {
        decodeWall(file, offset, grid);
        checkWall(bytes, offset, grid);
    } catch (const RunError&) {
        // Only a negative offset may be refused.
        require(offset < 0);
    }
    try {
        if (!decodeSprite(file, offset, ceiling, grid))
            checkBackground(ceiling, grid);
    } catch (const RunError&) {
    }
    return 0;
}
