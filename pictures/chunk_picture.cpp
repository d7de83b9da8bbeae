#include "pictures/chunk_picture.h"

#include "archive/run_error.h"
#include "pictures/decoders.h"

namespace pagelark {

std::optional<PixelGrid> chunkPicture(ByteFile& file, std::int32_t offset, ItemKind kind)
{
    PixelGrid grid{};
    if (kind == ItemKind::Wall) {
        decodeWall(file, offset, grid);
        return grid;
    }
    if (kind == ItemKind::Sprite && decodeSprite(file, offset, std::nullopt, grid))
        return grid;
    return std::nullopt;
}

std::optional<PixelGrid> pictureToKeepColoursOf(ByteFile& file, std::int32_t offset, ItemKind kind)
{
    try {
        return chunkPicture(file, offset, kind);
    } catch (const RunError&) {
        return std::nullopt;
    }
}

}  // namespace pagelark
