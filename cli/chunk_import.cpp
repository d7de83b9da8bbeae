#include "cli/chunk_import.h"

#include "cli/opened_vswap.h"
#include "export/picture_import_qt.h"
#include "pictures/picture_chunk.h"
#include "pictures/picture_import.h"
#include "sounds/sound_import.h"

namespace pagelark::cli {

PixelGrid importPicture(const std::string& path, ItemKind kind, const Palette& palette, const PixelGrid* base)
{
    return onFile(path, [&] { return gridFromPicture(readPictureFile(path), kind, palette, base); });
}

std::vector<std::uint8_t> chunkOfGrid(const PixelGrid& grid, ItemKind kind, const std::string& path)
{
    return onFile(path, [&] { return pagelark::chunkOfGrid(grid, kind); });
}

std::vector<std::uint8_t> importSoundFile(const std::string& path)
{
    return onFile(path, [&] { return importSound(path); });
}

}  // namespace pagelark::cli
