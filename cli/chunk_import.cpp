#include "cli/chunk_import.h"

#include "archive/page_file.h"
#include "cli/opened_vswap.h"
#include "export/picture_import_qt.h"
#include "pictures/picture_import.h"
#include "pictures/sprite_encoder.h"
#include "sounds/sound_import.h"

#include <algorithm>

namespace pagelark::cli {

namespace {

// What the games load a picture's chunk into.
constexpr std::size_t LargestPictureChunk = 4096;

}  // namespace

PixelGrid importPicture(const std::string& path, ItemKind kind, const Palette& palette, const PixelGrid* base)
{
    return onFile(path, [&] { return gridFromPicture(readPictureFile(path), kind, palette, base); });
}

std::vector<std::uint8_t> chunkOfGrid(const PixelGrid& grid, ItemKind kind, const std::string& path)
{
    if (kind == ItemKind::Wall)
        return {grid.begin(), grid.end()};
    std::vector<std::uint8_t> chunk = encodeSprite(grid);
    if (chunk.size() > LargestPictureChunk) {
        // Every opaque pixel takes a byte of the chunk, so about as many must go.
        const std::size_t over = chunk.size() - LargestPictureChunk;
        const auto opaque
            = std::count_if(grid.begin(), grid.end(), [](std::uint8_t cell) { return cell != EmptyIndex; });
        throw Failure{path,
                      "the sprite takes " + std::to_string(chunk.size()) + " bytes, " + std::to_string(over)
                          + " more than a chunk holds (" + std::to_string(LargestPictureChunk) + "): make about "
                          + std::to_string(over) + " of its " + std::to_string(opaque) + " opaque pixels transparent"};
    }
    return chunk;
}

std::vector<std::uint8_t> importSoundFile(const std::string& path)
{
    return onFile(path, [&] { return importSound(path); });
}

}  // namespace pagelark::cli
