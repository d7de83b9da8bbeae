#include "cli/extract_commands.h"

#include "cli/list_json.h"
#include "cli/opened_vswap.h"

#include "archive/byte_file.h"
#include "archive/chunk_table.h"
#include "archive/list_line.h"
#include "archive/page_file.h"
#include "archive/printable_text.h"
#include "archive/run_error.h"
#include "archive/text_file.h"
#include "pictures/bitmap_writer.h"
#include "pictures/chunk_picture.h"
#include "pictures/palette.h"
#include "pictures/png_files_qt.h"
#include "pictures/reference_tables.h"
#include "saved_folder/layout_of_page_file.h"
#include "saved_folder/saved_item_name.h"
#include "saved_folder/saved_layout.h"
#include "sounds/wav_writer.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <set>
#include <sys/stat.h>

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
            throw RunError::message(vswap.path + ": chunk " + std::to_string(index) + " is not in the chunk list");
    return {wanted.begin(), wanted.end()};
}

// The output folder, made when it is missing but the folder it lies in is there.
void makeOutputFolder(const std::string& folder)
{
    if (::mkdir(folder.c_str(), 0777) == 0 || errno == EEXIST) {
        struct stat info {};
        if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
            throw RunError::message(folder + ": not a folder");
        return;
    }
    const int err = errno;
    if (err == ENOENT)
        throw RunError::message(folder + ": no such folder, nor the folder it would be made in: save makes the "
                                         "output folder, not the folders above it");
    throw RunError::message(folder + ": the output folder cannot be made: " + RunError::fromErrno(err).text());
}

// What a refusal to write a file says when the name is a folder's.
RunError explained(const std::string& path, const RunError& error)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
        return RunError(error.code(), path + ": that name is a folder");
    return RunError(error.code(), path + ": " + error.text());
}

void writeExplained(const std::string& path, const std::vector<std::uint8_t>& bytes,
                    const std::vector<FileIdentity>& input)
{
    try {
        writeFileSafely(path, bytes, input);
    } catch (const RunError& error) {
        throw explained(path, error);
    }
}

// Saved whole, the folder can be packed back into this very file: the
// layout file, and the bytes it keeps beside it first.
bool saveLayout(OpenedVswap& vswap, const std::string& base, const std::vector<FileIdentity>& input, std::ostream& out,
                std::ostream& problems)
{
    const std::string path = base + SavedLayoutFileName;
    try {
        const LayoutOfPageFile layout
            = namingFile(vswap.path, [&] { return layoutOfPageFile(vswap.file, vswap.table); });
        if (!layout.keptBytes.empty()) {
            const std::string keptPath = base + SavedLayoutBytesFileName;
            writeExplained(keptPath, layout.keptBytes, input);
            out << printableText(keptPath) << '\n';
        }
        const std::string text = savedLayoutText(layout.layout);
        writeExplained(path, std::vector<std::uint8_t>(text.begin(), text.end()), input);
        out << printableText(path) << '\n';
        if (!layout.givesBackEveryByte)
            problems << "pagelark-cli: " << printableText(vswap.path)
                     << ": chunks of it share bytes or lie in its table; packed again, the folder gives back "
                        "every chunk, laid out anew\n";
        return true;
    } catch (const RunError& error) {
        problems << "pagelark-cli: " << printableText(error.text())
                 << " (the folder cannot be packed back into the same file without it)\n";
        return false;
    }
}

}  // namespace

void listChunks(const std::string& vswapPath, GameVersion version, const std::string& dataDir, std::ostream& out,
                ListFormat format)
{
    const auto vswap = openVswap(vswapPath);

    const std::string descriptionPath = dataDir + descriptionFileName(version);
    auto descriptions = std::make_unique<DescriptionTable>();
    namingFile(descriptionPath, [&] {
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
    makeOutputFolder(request.outputDir);
    const std::string base = request.outputDir + (request.outputDir.ends_with('/') ? "" : "/") + request.prefix;
    const BmpHeaderTemplate header = referenceBitmapHeader();
    const std::vector<FileIdentity> input{vswap->file.identity()};
    const bool png = request.format == PictureFormat::Png;
    const Palette palette = png ? paletteFrom(request.palettePath) : Palette{};

    PixelGrid grid{};
    std::vector<std::uint8_t> samples;
    std::set<std::string> namesTaken;
    int written = 0;
    int skippedSprites = 0;
    int notSaved = 0;
    const auto reportNotSaved = [&](const std::string& file, const std::string& text) {
        problems << "pagelark-cli: " << printableText(file + ": " + text) << '\n';
        ++notSaved;
    };
    for (std::int32_t index : chunks) {
        const ItemKind kind = kindOfChunk(vswap->header, index);
        const std::int32_t offset = vswap->table.offset[index];
        const std::string path = savedItemFileName(base, kind, vswap->table.itemNumber[index], png ? ".png" : ".bmp");
        // However the output is named or linked, the file being read stays as it is.
        if (wouldWriteInto(path, input.front())) {
            ++notSaved;
            problems << "pagelark-cli: " << printableText(fileBeingRead(path).text()) << '\n';
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
            } else if (const std::optional<PixelGrid> picture = chunkPicture(vswap->file, offset, kind)) {
                grid = *picture;
            } else {
                ++skippedSprites;
                continue;
            }
        } catch (const RunError& error) {
            const std::string name = path.substr(base.size() - request.prefix.size());
            reportNotSaved(vswap->path, "chunk " + std::to_string(index) + " (" + name + "): " + error.text());
            continue;
        }
        // A file that cannot be written ends the run: the next ones would fail alike.
        try {
            if (kind == ItemKind::Sound)
                writeWavFile(path, samples, input);
            else if (png)
                writeFileSafely(path, indexedPngBytes(grid, palette, kind == ItemKind::Sprite), input);
            else
                writeBitmapFile(path, grid, header, input);
        } catch (const RunError& error) {
            throw explained(path, error);
        }
        out << printableText(path) << '\n';
        ++written;
    }
    const bool layoutSaved = !request.indices.empty() || saveLayout(*vswap, base, input, out, problems);
    out << written << (written == 1 ? " file" : " files") << " written";
    if (skippedSprites > 0)
        out << ", " << skippedSprites << (skippedSprites == 1 ? " sprite" : " sprites")
            << " skipped (not a valid sprite)";
    if (notSaved > 0)
        out << ", " << notSaved << (notSaved == 1 ? " chunk" : " chunks") << " not saved";
    out << '\n';
    return notSaved == 0 && layoutSaved;
}

}  // namespace pagelark::cli
