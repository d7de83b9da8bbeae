#include "cli/sheet_command.h"

#include "archive/output_file.h"
#include "archive/printable_text.h"
#include "cli/opened_vswap.h"
#include "pictures/chunk_picture.h"
#include "sheets/contact_sheet.h"
#include "sheets/contact_sheet_qt.h"

#include <utility>

namespace pagelark::cli {

namespace {

// The listed chunks of the kind, in list order.
std::vector<std::int32_t> chunksOfKind(const OpenedVswap& vswap, ItemKind kind)
{
    std::vector<std::int32_t> chunks;
    for (std::int32_t index : listedChunks(vswap))
        if (kindOfChunk(vswap.header, index) == kind)
            chunks.push_back(index);
    return chunks;
}

}  // namespace

bool drawSheet(const SheetRequest& request, std::ostream& out, std::ostream& problems)
{
    const auto vswap = openVswap(request.vswapPath);
    const Palette palette = paletteFrom(request.palettePath);
    const ItemKind wanted = request.kind == SheetKind::Walls ? ItemKind::Wall : ItemKind::Sprite;
    const std::vector<std::int32_t> chunks = chunksOfKind(*vswap, wanted);
    const SheetLayout layout{request.columns, request.scale};
    // Refused before a picture is decoded or a byte is written.
    namingFile(request.outputPath, [&] { checkSheetSize(layout, static_cast<int>(chunks.size()), wanted); });
    const FileIdentity input = vswap->file.identity();
    if (wouldWriteInto(request.outputPath, input))
        throw fileBeingRead(request.outputPath);

    std::vector<SheetPicture> pictures;
    pictures.reserve(chunks.size());
    int unreadable = 0;
    for (std::int32_t index : chunks) {
        SheetPicture picture{index, wanted, vswap->table.itemNumber[index], std::nullopt};
        try {
            picture.grid = chunkPicture(vswap->file, vswap->table.offset[index], wanted);
        } catch (const RunError& error) {
            problems << "pagelark-cli: "
                     << printableText(vswap->path + ": chunk " + std::to_string(index) + ": " + error.text()) << '\n';
            picture.grid.reset();
            ++unreadable;
        }
        pictures.push_back(std::move(picture));
    }

    const auto [width, height] = namingFile(request.outputPath, [&] {
        const IndexedSheet sheet = composeContactSheet(pictures, palette, layout, qtLabelDrawer());
        OutputFile file(request.outputPath, {input}, OutputAccess::Shared, OutputDurability::Flushed);
        writeSheetPng(sheet, file);
        file.commit();
        return std::pair{sheet.width, sheet.height};
    });
    out << printableText(request.outputPath) << ": " << pictures.size()
        << (wanted == ItemKind::Wall ? " walls" : " sprites") << " on a sheet of " << width << " x " << height << '\n';
    return unreadable == 0;
}

}  // namespace pagelark::cli
