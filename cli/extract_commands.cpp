#include "cli/extract_commands.h"

#include "archive/byte_file.h"
#include "archive/chunk_table.h"
#include "archive/list_line.h"
#include "archive/run_error.h"
#include "archive/text_file.h"
#include "export/saved_item_name.h"
#include "pictures/bitmap_writer.h"
#include "pictures/decoders.h"
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

void saveChunks(const SaveRequest& request, std::ostream& out)
{
    const auto vswap = openVswap(request.vswapPath);
    const std::vector<std::int32_t> chunks = chunksToSave(*vswap, request.indices);
    const std::string base = request.outputDir + "/" + request.prefix;
    const BmpHeaderTemplate header = referenceBitmapHeader();

    PixelGrid grid{};
    int written = 0;
    int skippedSprites = 0;
    for (std::int32_t index : chunks) {
        const ItemKind kind = kindOfChunk(vswap->header, index);
        const std::int32_t offset = vswap->table.offset[index];
        const std::string path = savedItemFileName(base, kind, vswap->table.itemNumber[index]);
        if (kind == ItemKind::Sound) {
            // Reading and writing go on together here, so an error names the
            // file the run stopped at; the input's own errors say so.
            onFile(path, [&] {
                try {
                    writeWavFile(path, vswap->file, offset, vswap->table.length[index]);
                } catch (const RunError& error) {
                    if (error.code() == io_code::ReadBeyondEnd)
                        throw Failure{vswap->path, error.text()};
                    throw;
                }
            });
        } else {
            const bool decoded = onFile(vswap->path, [&] {
                if (kind == ItemKind::Wall) {
                    decodeWall(vswap->file, offset, grid);
                    return true;
                }
                return decodeSprite(vswap->file, offset, std::nullopt, grid);
            });
            if (!decoded) {
                ++skippedSprites;
                continue;
            }
            onFile(path, [&] { writeBitmapFile(path, grid, header); });
        }
        out << path << '\n';
        ++written;
    }
    out << written << (written == 1 ? " file" : " files") << " written";
    if (skippedSprites > 0)
        out << ", " << skippedSprites << (skippedSprites == 1 ? " sprite" : " sprites")
            << " skipped (not a valid sprite)";
    out << '\n';
}

}  // namespace pagelark::cli
