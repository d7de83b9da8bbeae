#include "pictures/picture_chunk.h"

#include "archive/run_error.h"
#include "pictures/sprite_encoder.h"

#include <algorithm>
#include <string>

namespace pagelark {

std::vector<std::uint8_t> chunkOfGrid(const PixelGrid& grid, ItemKind kind)
{
    if (kind == ItemKind::Wall)
        return {grid.begin(), grid.end()};
    std::vector<std::uint8_t> chunk = encodeSprite(grid);
    if (chunk.size() > LargestPictureChunk) {
        // Every opaque pixel takes a byte of the chunk, so about as many must go.
        const std::size_t over = chunk.size() - LargestPictureChunk;
        const auto opaque
            = std::count_if(grid.begin(), grid.end(), [](std::uint8_t cell) { return cell != EmptyIndex; });
        throw RunError::message("the sprite takes " + std::to_string(chunk.size()) + " bytes, " + std::to_string(over)
                                + " more than a chunk holds (" + std::to_string(LargestPictureChunk) + "): make about "
                                + std::to_string(over) + " of its " + std::to_string(opaque)
                                + " opaque pixels transparent");
    }
    return chunk;
}

}  // namespace pagelark
