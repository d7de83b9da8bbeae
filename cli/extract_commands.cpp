#include "cli/extract_commands.h"

#include "cli/list_json.h"
#include "cli/opened_vswap.h"

#include "archive/byte_file.h"
#include "archive/chunk_table.h"
#include "archive/list_line.h"
#include "archive/page_file.h"
#include "archive/run_error.h"
#include "archive/text_file.h"
#include "export/png_files_qt.h"
#include "export/saved_item_name.h"
#include "export/saved_layout.h"
#include "pictures/bitmap_writer.h"
#include "pictures/decoders.h"
#include "pictures/palette.h"
#include "pictures/reference_tables.h"
#include "pictures/sprite_encoder.h"
#include "sounds/wav_writer.h"

#include <algorithm>
#include <memory>
#include <set>

namespace pagelark::cli {

namespace {

// The chunks to save, in list order: the requested ones, or every listed one.
std::vector<std::int32_t> chunksToSave(const OpenedVswap& vswap, const std::vector<std::int32_t>& requested)
{
    std::vector<std::int32_t> listed = listedChunks(vswap);
    if (requested.empty())
        return listed;
    const std::set<std::int32_t> wanted(requested.begin(), requested.end());
    for (std::int32_t index : wanted)
        if (!std::binary_search(listed.begin(), listed.end(), index))
            throw Failure{vswap.path, "chunk " + std::to_string(index) + " is not in the chunk list"};
    return {wanted.begin(), wanted.end()};
}

std::vector<std::uint8_t> chunkBytes(ByteFile& file, const SourceBytes& source)
{
    std::vector<std::uint8_t> bytes(source.length);
    file.seek(source.offset);
    file.readBytes(bytes.data(), bytes.size());
    return bytes;
}

// What pack needs besides the saved pictures and sounds to give back this
// file's bytes: its header, the walls and sprites that are not listed, and
// those whose bytes their pictures do not give back (a wall of another
// length than 4096, a sprite laid out otherwise than the games lay theirs,
// or one that does not decode). A chunk that cannot be read is left out, as
// its file is: pack then names it.
SavedLayout savedLayoutOf(OpenedVswap& vswap)
{
    const PageFile model = readPageFile(vswap.file);
    SavedLayout layout;
    layout.spriteStart = model.spriteStart;
    layout.soundStart = model.soundStart;
    layout.soundInfoTerminated = model.soundInfoTerminated;
    const auto pictures = std::min<std::size_t>(model.chunks.size(), model.soundStart);
    PixelGrid grid{};
    for (std::size_t i = 0; i < pictures; ++i) {
        const PageChunk& chunk = model.chunks[i];
        const auto index = static_cast<std::int32_t>(i);
        if (chunk.absent) {
            layout.absent[index] = chunk.absentLength;
            continue;
        }
        try {
            const std::vector<std::uint8_t> bytes = chunkBytes(vswap.file, *chunk.source);
            if (bytes.size() <= 1) {
                layout.shortChunks[index] = bytes;
            } else if (kindOfChunk(vswap.header, index) == ItemKind::Wall) {
                decodeWall(vswap.file, vswap.table.offset[i], grid);
                if (bytes.size() != GridCells)
                    layout.raw[index] = {gridFingerprint(grid.data(), grid.size()), bytes};
            } else if (!decodeSprite(vswap.file, vswap.table.offset[i], std::nullopt, grid)) {
                layout.raw[index] = {std::nullopt, bytes};
            } else if (encodeSprite(grid) != bytes) {
                layout.raw[index] = {gridFingerprint(grid.data(), grid.size()), bytes};
            }
        } catch (const RunError&) {
        }
    }
    return layout;
}

}  // namespace

void listChunks(const std::string& vswapPath, GameVersion version, const std::string& dataDir, std::ostream& out,
                ListFormat format)
{
    const auto vswap = openVswap(vswapPath);

    const std::string descriptionPath = dataDir + descriptionFileName(version);
    auto descriptions = std::make_unique<DescriptionTable>();
    onFile(descriptionPath, [&] {
        TextFile descriptionFile;
        descriptionFile.open(descriptionPath);
        readDescriptions(descriptionFile, vswap->header.spriteStart, vswap->header.soundStart, *descriptions);
        descriptionFile.close();
    });

    if (format == ListFormat::Json) {
        const QByteArray json = chunkListJson(*vswap, version, *descriptions);
        out.write(json.constData(), json.size());
        return;
    }
    for (const std::string& line : listLines(vswap->header, vswap->table))
        out << describedLine(line, vswap->header.soundStart, *descriptions) << '\n';
}

bool saveChunks(const SaveRequest& request, std::ostream& out, std::ostream& problems)
{
    const auto vswap = openVswap(request.vswapPath);
    const std::vector<std::int32_t> chunks = chunksToSave(*vswap, request.indices);
    const std::string base = request.outputDir + (request.outputDir.ends_with('/') ? "" : "/") + request.prefix;
    const BmpHeaderTemplate header = referenceBitmapHeader();
    const std::vector<FileIdentity> input{onFile(vswap->path, [&] { return vswap->file.identity(); })};
    const bool png = request.format == PictureFormat::Png;
    const Palette palette = png ? paletteFrom(request.palettePath) : Palette{};

    PixelGrid grid{};
    std::vector<std::uint8_t> samples;
    std::set<std::string> namesTaken;
    int written = 0;
    int skippedSprites = 0;
    int notSaved = 0;
    const auto reportNotSaved = [&](const std::string& file, const std::string& text) {
        problems << "pagelark-cli: " << file << ": " << text << '\n';
        ++notSaved;
    };
    for (std::int32_t index : chunks) {
        const ItemKind kind = kindOfChunk(vswap->header, index);
        const std::int32_t offset = vswap->table.offset[index];
        const std::string path = savedItemFileName(base, kind, vswap->table.itemNumber[index], png ? ".png" : ".bmp");
        // However the output is named or linked, the file being read stays as it is.
        if (wouldWriteInto(path, input.front())) {
            reportNotSaved(path, "the file being read; not written over");
            continue;
        }
        if (!namesTaken.insert(path).second) {
            reportNotSaved(path, "chunk " + std::to_string(index) + " has the name of a chunk saved before it");
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
                writeWavFile(path, samples, input);
            else if (png)
                writeFileSafely(path, indexedPngBytes(grid, palette, kind == ItemKind::Sprite), input);
            else
                writeBitmapFile(path, grid, header, input);
        });
        out << path << '\n';
        ++written;
    }
    // Saved whole, the folder can be packed back into this very file.
    if (request.indices.empty()) {
        const std::string path = base + SavedLayoutFileName;
        try {
            writeFileSafely(
                path,
                [&] {
                    const std::string text = savedLayoutText(savedLayoutOf(*vswap));
                    return std::vector<std::uint8_t>(text.begin(), text.end());
                }(),
                input);
            out << path << '\n';
        } catch (const RunError& error) {
            problems << "pagelark-cli: " << path << ": not written: " << error.text() << '\n';
        }
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

}  // namespace pagelark::cli
