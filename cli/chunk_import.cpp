#include "cli/chunk_import.h"

#include "archive/byte_file.h"
#include "archive/printable_text.h"
#include "archive/run_error.h"
#include "pictures/picture_import.h"
#include "pictures/picture_import_qt.h"
#include "sounds/sound_import.h"

namespace pagelark::cli {

PixelGrid ChunkImporter::picture(const std::string& path, ItemKind kind, const PixelGrid* base)
{
    return namingFile(path, [&] {
        ByteFile file;
        file.openRead(path);
        read_.push_back(file.identity());
        return gridFromPicture(readPictureFile(file), kind, palette_, base,
                               dither_ ? ColorMatching::Dithered : ColorMatching::Nearest);
    });
}

std::vector<std::uint8_t> ChunkImporter::sound(const std::string& path)
{
    ImportedSound imported = namingFile(path, [&] {
        ByteFile file;
        file.openRead(path);
        read_.push_back(file.identity());
        return importSound(file, {dither_});
    });
    if (imported.clipping)
        problems_ << "pagelark-cli: " << printableText(path + ": " + *imported.clipping) << '\n';
    return std::move(imported.samples);
}

}  // namespace pagelark::cli
