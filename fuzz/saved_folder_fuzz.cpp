// A layout file and the bytes it keeps, as pack reads them beside a small
// folder of chunk files: every line is checked, nothing is taken from beyond
// the kept bytes, and a page file packed from them is one the reader reads.
// The input is a 32-bit length, that many bytes of layout text, then the
// kept bytes.

#include "archive/byte_file.h"
#include "archive/chunk_table.h"
#include "archive/page_file.h"
#include "archive/run_error.h"
#include "fuzz/input_file.h"
#include "fuzz/input_words.h"
#include "fuzz/require.h"
#include "fuzz/saved_folder_content.h"
#include "saved_folder/folder_packing.h"

#include <cstdlib>
#include <memory>
#include <string>

namespace {

using namespace pagelark;
using fuzz::require;

// Packed files of a small folder are small unless the layout asks for long
// runs of bytes; those are not written out.
constexpr std::int64_t MostWrittenBytes = 4 * 1024 * 1024;

class FixedFolder : public ChunkFileReader {
public:
    PixelGrid picture(const std::string&, ItemKind kind, std::int32_t number) override
    {
        return kind == ItemKind::Wall ? fuzz::folderWall(number) : fuzz::folderSprite(number);
    }
    std::vector<std::uint8_t> sound(const std::string& path) override
    {
        return fuzz::folderSound(path == "sound0000.wav" ? 0 : 1);
    }
};

ChunkFiles folderFiles()
{
    ChunkFiles files;
    for (int n = 0; n < fuzz::FolderWalls; ++n)
        files.walls[n] = "wall000" + std::to_string(n) + ".bmp";
    for (int n = 0; n < fuzz::FolderSprites; ++n)
        files.sprites[n] = "sprite000" + std::to_string(n) + ".bmp";
    for (int n = 0; n < fuzz::FolderSounds; ++n)
        files.sounds[n] = "sound000" + std::to_string(n) + ".wav";
    return files;
}

std::int64_t bytesToWrite(const PageFile& file)
{
    std::int64_t total = file.trailing.length + 65536;
    for (const PageChunk& chunk : file.chunks)
        total += static_cast<std::int64_t>(chunk.length()) + (chunk.place ? chunk.place->before.length : 512);
    if (file.soundInfo && file.soundInfo->place)
        total += file.soundInfo->place->before.length;
    return total;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::InputWords words({data, size});
    const std::uint32_t textLength = words.word();
    const auto rest = words.rest();
    if (textLength > rest.size())
        return 0;
    const std::string text(reinterpret_cast<const char*>(rest.data()), textLength);
    ByteFile kept;
    kept.openRead(fuzz::writeInputFile(rest.subspan(textLength), "kept"));

    SavedLayout layout;
    try {
        layout = parseSavedLayout(text);
    } catch (const RunError&) {
        return 0;
    }
    static const ChunkFiles files = folderFiles();
    FixedFolder folder;
    PackedFolder packed;
    try {
        packed = packSavedFolder(files, &layout, kept.size(), folder,
                                 {"in", "in/vswap-layout.txt", "in/vswap-layout.bin"});
    } catch (const RunError&) {
        return 0;
    }
    if (bytesToWrite(packed.file) > MostWrittenBytes)
        return 0;
    std::vector<std::uint8_t> out;
    try {
        out = pageFileBytes(packed.file, &kept);
    } catch (const RunError&) {
        return 0;
    }
    // Kept sound information may end inside an entry, as the file it came
    // from did; whatever the reader makes of it, the table is the writer's.
    ByteFile written;
    written.openRead(fuzz::writeInputFile(out));
    VswapHeader header;
    auto table = std::make_unique<ChunkTable>();
    try {
        readChunkTable(written, header, *table);
    } catch (const RunError&) {
    }
    require(header.chunkCount == static_cast<std::int32_t>(packed.file.chunks.size() + 1));
    return 0;
}
