#include "cli/chunk_import.h"

#include "cli/opened_vswap.h"
#include "export/picture_import_qt.h"
#include "pictures/picture_chunk.h"
#include "pictures/picture_import.h"
#include "sounds/sound_import.h"

namespace pagelark::cli {

namespace {

// Opens a file to import and notes what it is, so that the output is never written into it.
void openNoted(ByteFile& file, const std::string& path, std::vector<FileIdentity>& read)
{
    file.openRead(path);
    read.push_back(file.identity());
}

}  // namespace

PixelGrid importPicture(const std::string& path, ItemKind kind, const Palette& palette, const PixelGrid* base,
                        std::vector<FileIdentity>& read)
{
    return onFile(path, [&] {
        ByteFile file;
        openNoted(file, path, read);
        return gridFromPicture(readPictureFile(file), kind, palette, base);
    });
}

std::vector<std::uint8_t> chunkOfGrid(const PixelGrid& grid, ItemKind kind, const std::string& path)
{
    return onFile(path, [&] { return pagelark::chunkOfGrid(grid, kind); });
}

std::vector<std::uint8_t> importSoundFile(const std::string& path, std::vector<FileIdentity>& read)
{
    return onFile(path, [&] {
        ByteFile file;
        openNoted(file, path, read);
        return importSound(file).samples;
    });
}

}  // namespace pagelark::cli
