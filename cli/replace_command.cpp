#include "cli/replace_command.h"

#include "archive/output_file.h"
#include "archive/page_file.h"
#include "archive/printable_text.h"
#include "cli/chunk_import.h"
#include "cli/opened_vswap.h"
#include "pictures/chunk_picture.h"
#include "pictures/picture_chunk.h"

#include <set>

namespace pagelark::cli {

void replaceChunks(const ReplaceRequest& request, std::ostream& out, std::ostream& problems)
{
    const auto vswap = openVswap(request.vswapPath);
    PageFile file = namingFile(vswap->path, [&] { return readPageFile(vswap->file); });
    const Palette palette = paletteFrom(request.palettePath);
    ChunkImporter importer(palette, request.dither, problems);
    importer.filesRead().push_back(vswap->file.identity());

    // Every replacement is read and checked before the copy is begun.
    std::set<std::int32_t> replaced;
    for (const auto& [index, path] : request.replacements) {
        if (index >= vswap->header.chunkCount || !vswap->table.isListed(index))
            throw RunError::message(vswap->path + ": chunk " + std::to_string(index) + " is not in the chunk list");
        if (!replaced.insert(index).second)
            throw RunError::message(path + ": chunk " + std::to_string(index) + " is given twice");
        const ItemKind kind = kindOfChunk(vswap->header, index);
        if (kind == ItemKind::Sound) {
            const std::vector<std::uint8_t> samples = importer.sound(path);
            namingFile(path, [&] { replaceSound(file, vswap->table.itemNumber[index], samples); });
        } else {
            const std::optional<PixelGrid> current
                = pictureToKeepColoursOf(vswap->file, vswap->table.offset[index], kind);
            const PixelGrid grid = importer.picture(path, kind, current ? &*current : nullptr);
            namingFile(path, [&] { replaceChunk(file, index, chunkOfGrid(grid, kind)); });
        }
    }

    std::size_t size = 0;
    namingFile(request.outputPath, [&] {
        OutputFile output(request.outputPath, importer.filesRead(), OutputAccess::Shared, OutputDurability::Flushed);
        writePageFile(file, &vswap->file, [&](const std::uint8_t* data, std::size_t count) {
            output.write(data, count);
            size += count;
        });
        output.commit();
    });
    out << printableText(request.outputPath) << ": " << request.replacements.size()
        << (request.replacements.size() == 1 ? " chunk" : " chunks") << " replaced, " << size << " bytes\n";
}

}  // namespace pagelark::cli
