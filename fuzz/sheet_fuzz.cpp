// The contact sheet of an arbitrary page file: its walls or sprites decoded
// as pagelark-cli decodes them, the sheet's size checked and, where it
// fits (up to 32 megapixels), the sheet composed, every picture cell checked
// against the palette colour of its grid pixel.
//
// Input: the page file itself, so the chunk table's seeds serve as they are.
// Its last two bytes also choose the sheet: the last one the columns (1 to
// 256), the one before it the kind (bit 0: sprites), the palette (bit 1: one
// of 256 distinct colours, which leaves no room for the sheet's own) and the
// scale (the rest, 1 to 3).

#include "archive/byte_file.h"
#include "archive/chunk_table.h"
#include "archive/run_error.h"
#include "fuzz/input_file.h"
#include "fuzz/require.h"
#include "pictures/decoders.h"
#include "sheets/contact_sheet.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

namespace {

using namespace pagelark;
using fuzz::require;

// Sheets that fit are composed up to this size. A larger one, up to 256
// megapixels, takes seconds under the sanitizers and reaches nothing a
// smaller one does not: the same cells, more of them.
constexpr std::int64_t MostComposedPixels = 32 * 1024 * 1024;

Palette makePalette(bool distinct)
{
    Palette palette;
    for (std::uint32_t i = 0; i < PaletteSize; ++i)
        palette[i] = distinct ? packColor(i, i, 255 - i) : packColor(i & ~3u, 0x40, 0x10);
    return palette;
}

// Covers as many pixels of the first label row as the text has characters.
void coverTextLength(const std::string& text, int width, int, std::span<std::uint8_t> coverage)
{
    std::fill_n(coverage.begin(), std::min(static_cast<int>(text.size()), width), std::uint8_t{255});
}

std::vector<SheetPicture> decodePictures(ByteFile& file, const VswapHeader& header, const ChunkTable& table,
                                         ItemKind kind)
{
    std::vector<std::int32_t> chunks;
    for (std::int32_t index = 0; index < header.chunkCount; ++index)
        if (table.isListed(index) && kindOfChunk(header, index) == kind)
            chunks.push_back(index);
    std::vector<SheetPicture> pictures;
    pictures.reserve(chunks.size());
    for (const std::int32_t index : chunks) {
        SheetPicture picture{index, kind, table.itemNumber[index], PixelGrid{}};
        try {
            if (kind == ItemKind::Wall)
                decodeWall(file, table.offset[index], *picture.grid);
            else if (!decodeSprite(file, table.offset[index], std::nullopt, *picture.grid))
                picture.grid.reset();
        } catch (const RunError&) {
            picture.grid.reset();
        }
        pictures.push_back(std::move(picture));
    }
    return pictures;
}

// Each cell's first pixel holds the colour of its grid pixel, and each sheet
// row of the picture holds those pixels enlarged.
void checkPicture(const IndexedSheet& sheet, const SheetPicture& picture, const Palette& palette, int left, int top,
                  int scale)
{
    const PackedColor background = sheet.colour(0, 0);
    std::vector<std::uint8_t> enlarged(static_cast<std::size_t>(GridSide * scale));
    for (int gridY = 0; gridY < GridSide; ++gridY) {
        for (int gridX = 0; gridX < GridSide; ++gridX) {
            const std::uint8_t index = (*picture.grid)[gridCell(gridX, gridY)];
            const bool hole = picture.kind == ItemKind::Sprite && index == EmptyIndex;
            const std::uint8_t entry = sheet.index(left + gridX * scale, top + gridY * scale);
            require(sheet.colours[entry] == (hole ? background : palette[index]));
            std::fill_n(enlarged.begin() + gridX * scale, scale, entry);
        }
        for (int y = gridY * scale; y < (gridY + 1) * scale; ++y)
            require(std::memcmp(&sheet.pixels[static_cast<std::size_t>((top + y) * sheet.bytesPerLine + left)],
                                enlarged.data(), enlarged.size())
                    == 0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::uint8_t choice = data[size - 2];
    const ItemKind kind = (choice & 1) != 0 ? ItemKind::Sprite : ItemKind::Wall;
    const Palette palette = makePalette((choice & 2) != 0);
    const SheetLayout layout{data[size - 1] + 1, (choice >> 2) % 3 + 1};

    // The table is large; one per process, cleared as an open clears it.
    static auto table = std::make_unique<ChunkTable>();
    table->clear();
    VswapHeader header;
    ByteFile file;
    try {
        file.openRead(fuzz::writeInputFile({data, size}));
        readChunkTable(file, header, *table);
    } catch (const RunError&) {
        return 0;  // a file whose table cannot be read gets no sheet
    }
    const std::vector<SheetPicture> pictures = decodePictures(file, header, *table, kind);
    const int count = static_cast<int>(pictures.size());
    try {
        checkSheetSize(layout, count, kind);
    } catch (const RunError&) {
        const SheetGeometry geometry = sheetGeometry(layout, count);
        require(geometry.width() > LargestSheetSide || geometry.height() > LargestSheetSide);
        return 0;
    }

    const SheetGeometry geometry = sheetGeometry(layout, count);
    if (static_cast<std::int64_t>(geometry.width()) * geometry.height() > MostComposedPixels)
        return 0;
    const IndexedSheet sheet = composeContactSheet(pictures, palette, layout, coverTextLength);
    require(sheet.width == geometry.width() && sheet.height == geometry.height());
    require(sheet.width <= LargestSheetSide && sheet.height <= LargestSheetSide);
    require(!sheet.colours.empty() && sheet.colours.size() <= PaletteSize);
    for (int k = 0; k < count; ++k)
        if (pictures[static_cast<std::size_t>(k)].grid)
            checkPicture(sheet, pictures[static_cast<std::size_t>(k)], palette, geometry.pictureLeft(k),
                         geometry.pictureTop(k), layout.scale);
    return 0;
}
