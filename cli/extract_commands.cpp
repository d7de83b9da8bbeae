#include "cli/extract_commands.h"

#include "archive/byte_file.h"
#include "archive/chunk_table.h"
#include "archive/list_line.h"
#include "archive/run_error.h"
#include "archive/text_file.h"
#include "export/contact_sheet_qt.h"
#include "export/png_files_qt.h"
#include "export/saved_item_name.h"
#include "pictures/bitmap_writer.h"
#include "pictures/decoders.h"
#include "pictures/palette.h"
#include "pictures/reference_tables.h"
#include "sounds/wav_writer.h"

#include <algorithm>
#include <memory>
#include <set>

namespace pagelark::cli {

namespace {

// Runs step, turning the program's errors into a failure of the given file.
template <typename Step>
auto onFile(const std::string& file, Step&& step)
{
    try {
        return step();
    } catch (const RunError& error) {
        throw Failure{file, error.text()};
    }
}

struct OpenedVswap {
    std::string path;
    ByteFile file;
    VswapHeader header;
    ChunkTable table;
};

std::unique_ptr<OpenedVswap> openVswap(const std::string& path)
{
    auto opened = std::make_unique<OpenedVswap>();
    opened->path = path;
    onFile(path, [&] {
        opened->file.openRead(path);
        readChunkTable(opened->file, opened->header, opened->table);
    });
    return opened;
}

// The chunks to save, in list order: the requested ones, or every listed one.
std::vector<std::int32_t> chunksToSave(const OpenedVswap& vswap, const std::vector<std::int32_t>& requested)
{
    std::vector<std::int32_t> listed;
    for (std::int32_t i = 0; i < vswap.header.chunkCount; ++i)
        if (vswap.table.isListed(i))
            listed.push_back(i);
    if (requested.empty())
        return listed;
    const std::set<std::int32_t> wanted(requested.begin(), requested.end());
    for (std::int32_t index : wanted)
        if (!std::binary_search(listed.begin(), listed.end(), index))
            throw Failure{vswap.path, "chunk " + std::to_string(index) + " is not in the chunk list"};
    return {wanted.begin(), wanted.end()};
}

Palette paletteFrom(const std::string& path)
{
    Palette palette{};
    onFile(path, [&] { readPaletteFile(path, palette); });
    return palette;
}

}  // namespace

void listChunks(const std::string& vswapPath, GameVersion version, const std::string& dataDir, std::ostream& out)
{
    const auto vswap = openVswap(vswapPath);
    const std::vector<std::string> lines = listLines(vswap->header, vswap->table);

    const std::string descriptionPath = dataDir + descriptionFileName(version);
    auto descriptions = std::make_unique<DescriptionTable>();
    onFile(descriptionPath, [&] {
        TextFile descriptionFile;
        descriptionFile.open(descriptionPath);
        readDescriptions(descriptionFile, vswap->header.spriteStart, vswap->header.soundStart, *descriptions);
        descriptionFile.close();
    });

    for (const std::string& line : lines)
        out << describedLine(line, vswap->header.soundStart, *descriptions) << '\n';
}

bool saveChunks(const SaveRequest& request, std::ostream& out, std::ostream& problems)
{
    const auto vswap = openVswap(request.vswapPath);
    const std::vector<std::int32_t> chunks = chunksToSave(*vswap, request.indices);
    const std::string base = request.outputDir + "/" + request.prefix;
    const BmpHeaderTemplate header = referenceBitmapHeader();
    const FileIdentity input = onFile(vswap->path, [&] { return vswap->file.identity(); });
    const bool png = request.format == PictureFormat::Png;
    const Palette palette = png ? paletteFrom(request.palettePath) : Palette{};

    PixelGrid grid{};
    std::vector<std::uint8_t> samples;
    int written = 0;
    int skippedSprites = 0;
    int notSaved = 0;
    const auto reportNotSaved = [&](const std::string& file, const std::string& text) {
        problems << "pagelark-extract: " << file << ": " << text << '\n';
        ++notSaved;
    };
    for (std::int32_t index : chunks) {
        const ItemKind kind = kindOfChunk(vswap->header, index);
        const std::int32_t offset = vswap->table.offset[index];
        const std::string path = savedItemFileName(base, kind, vswap->table.itemNumber[index], png ? ".png" : ".bmp");
        // However the output is named or linked, the file being read stays as it is.
        if (wouldWriteInto(path, input)) {
            reportNotSaved(path, "the file being read; not written over");
            continue;
        }
        // A chunk that cannot be read is named and left out; the others are saved.
        try {
            if (kind == ItemKind::Sound) {
                samples = readSoundSamples(vswap->file, offset, vswap->table.length[index]);
            } else if (kind == ItemKind::Wall) {
                decodeWall(vswap->file, offset, grid);
            } else if (!decodeSprite(vswap->file, offset, std::nullopt, grid)) {
                ++skippedSprites;
                continue;
            }
        } catch (const RunError& error) {
            const std::string name = path.substr(base.size() - request.prefix.size());
            reportNotSaved(vswap->path, "chunk " + std::to_string(index) + " (" + name + "): " + error.text());
            continue;
        }
        // A file that cannot be written ends the run: the next ones would fail alike.
        onFile(path, [&] {
            if (kind == ItemKind::Sound)
                writeWavFile(path, samples);
            else if (png)
                writeBytesToFile(path, indexedPngBytes(grid, palette, kind == ItemKind::Sprite));
            else
                writeBitmapFile(path, grid, header);
        });
        out << path << '\n';
        ++written;
    }
    out << written << (written == 1 ? " file" : " files") << " written";
    if (skippedSprites > 0)
        out << ", " << skippedSprites << (skippedSprites == 1 ? " sprite" : " sprites")
            << " skipped (not a valid sprite)";
    if (notSaved > 0)
        out << ", " << notSaved << (notSaved == 1 ? " chunk" : " chunks") << " not saved";
    out << '\n';
    return notSaved == 0;
}

bool drawSheet(const SheetRequest& request, std::ostream& out, std::ostream& problems)
{
    const auto vswap = openVswap(request.vswapPath);
    const Palette palette = paletteFrom(request.palettePath);
    const ItemKind wanted = request.kind == SheetKind::Walls ? ItemKind::Wall : ItemKind::Sprite;

    std::vector<SheetPicture> pictures;
    int unreadable = 0;
    for (std::int32_t index : chunksToSave(*vswap, {})) {
        if (kindOfChunk(vswap->header, index) != wanted)
            continue;
        SheetPicture picture{index, wanted, vswap->table.itemNumber[index], PixelGrid{}};
        try {
            if (wanted == ItemKind::Wall)
                decodeWall(vswap->file, vswap->table.offset[index], *picture.grid);
            else if (!decodeSprite(vswap->file, vswap->table.offset[index], std::nullopt, *picture.grid))
                picture.grid.reset();
        } catch (const RunError& error) {
            problems << "pagelark-extract: " << vswap->path << ": chunk " << index << ": " << error.text() << '\n';
            picture.grid.reset();
            ++unreadable;
        }
        pictures.push_back(std::move(picture));
    }

    const SheetLayout layout{request.columns, request.scale};
    const QImage sheet = drawContactSheet(pictures, palette, layout);
    const FileIdentity input = onFile(vswap->path, [&] { return vswap->file.identity(); });
    if (wouldWriteInto(request.outputPath, input))
        throw Failure{request.outputPath, "the file being read; not written over"};
    onFile(request.outputPath, [&] { writeBytesToFile(request.outputPath, pngBytes(sheet)); });
    out << request.outputPath << ": " << pictures.size() << (wanted == ItemKind::Wall ? " walls" : " sprites")
        << " on a sheet of " << sheet.width() << " x " << sheet.height() << '\n';
    return unreadable == 0;
}

}  // namespace pagelark::cli
