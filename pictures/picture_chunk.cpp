#include "pictures/picture_chunk.h"

#include "archive/run_error.h"
#include "pictures/sprite_encoder.h"

#include <algorithm>
#include <string>

namespace pagelark {

namespace {

// Each run of opaque pixels costs its pixels and a command of six bytes, so
// clearing the shortest runs whole frees the most bytes for each pixel; the
// rest comes off other runs a byte a pixel. The least pixels that way.
std::size_t pixelsToClear(const PixelGrid& grid, std::size_t over)
{
    constexpr std::size_t CommandSize = 6;
    std::vector<std::size_t> runs;
    for (int x = 0; x < GridSide; ++x) {
        std::size_t run = 0;
        for (int y = 0; y <= GridSide; ++y) {
            if (y < GridSide && grid[gridCell(x, y)] != EmptyIndex) {
                ++run;
            } else if (run > 0) {
                runs.push_back(run);
                run = 0;
            }
        }
    }
    std::sort(runs.begin(), runs.end());
    std::size_t fewest = over;
    std::size_t cleared = 0;
    std::size_t freed = 0;
    for (const std::size_t run : runs) {
        cleared += run;
        freed += run + CommandSize;
        fewest = std::min(fewest, cleared + (freed >= over ? 0 : over - freed));
        if (freed >= over)
            break;
    }
    return fewest;
}

}  // namespace

std::vector<std::uint8_t> chunkOfGrid(const PixelGrid& grid, ItemKind kind)
{
    if (kind == ItemKind::Wall)
        return {grid.begin(), grid.end()};
    std::vector<std::uint8_t> chunk = encodeSprite(grid);
    if (chunk.size() > LargestPictureChunk) {
        const std::size_t over = chunk.size() - LargestPictureChunk;
        const auto opaque
            = std::count_if(grid.begin(), grid.end(), [](std::uint8_t cell) { return cell != EmptyIndex; });
        throw RunError::message("the sprite takes " + std::to_string(chunk.size()) + " bytes, " + std::to_string(over)
                                + " more than a chunk holds (" + std::to_string(LargestPictureChunk) + "): make about "
                                + std::to_string(pixelsToClear(grid, over)) + " of its " + std::to_string(opaque)
                                + " opaque pixels transparent, lone pixels and short runs first");
    }
    return chunk;
}

}  // namespace pagelark
