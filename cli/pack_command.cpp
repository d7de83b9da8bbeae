#include "cli/pack_command.h"

#include "archive/output_file.h"
#include "archive/page_file.h"
#include "archive/printable_text.h"
#include "cli/chunk_import.h"
#include "cli/opened_vswap.h"
#include "pictures/chunk_picture.h"
#include "saved_folder/folder_packing.h"
#include "saved_folder/saved_item_name.h"

#include <dirent.h>
#include <memory>
#include <optional>
#include <string_view>

namespace pagelark::cli {

namespace {

// The warnings of a folder with many: the first of them and a count of the rest.
constexpr std::size_t MostNamed = 20;

ChunkFiles chunkFilesIn(const std::string& folder, const std::string& prefix, std::ostream& problems)
{
    struct DirectoryCloser {
        void operator()(DIR* dir) const { ::closedir(dir); }
    };
    const std::unique_ptr<DIR, DirectoryCloser> dir(::opendir(folder.c_str()));
    if (!dir)
        throw RunError::message(folder + ": " + RunError::fromErrno(errno).text());
    ChunkFiles files;
    std::size_t unusable = 0;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (!name.starts_with(prefix))
            continue;
        const ChunkFileName chunk = chunkFileName(name.substr(prefix.size()));
        const std::string path = folder + "/" + std::string(name);
        if (chunk.what == ChunkFileName::Kind::Unusable) {
            if (unusable++ < MostNamed)
                problems << "pagelark-cli: " << printableText(path) << ": not a name pack takes ("
                         << kindName(chunk.kind) << " and the number in four digits, as save names files), skipped\n";
            continue;
        }
        if (chunk.what != ChunkFileName::Kind::Chunk)
            continue;
        auto& byNumber = chunk.kind == ItemKind::Wall ? files.walls
            : chunk.kind == ItemKind::Sprite          ? files.sprites
                                                      : files.sounds;
        if (!byNumber.emplace(chunk.number, path).second)
            throw RunError::message(path + ": a second file for " + kindName(chunk.kind) + " "
                                    + std::to_string(chunk.number) + ", beside " + byNumber.at(chunk.number));
    }
    if (unusable > MostNamed)
        problems << "pagelark-cli: " << printableText(folder) << ": " << unusable - MostNamed
                 << " more names pack does not take, skipped\n";
    return files;
}

// The layout file, read whole: one longer than any save writes is refused by name.
std::optional<SavedLayout> layoutIn(const std::string& path, std::vector<FileIdentity>& read)
{
    if (!identityOf(path))
        return std::nullopt;
    return namingFile(path, [&] {
        ByteFile file;
        file.openRead(path);
        read.push_back(file.identity());
        if (file.size() > LongestSavedLayout)
            throw RunError::message("it is " + std::to_string(file.size())
                                    + " bytes long, longer than any layout file save writes (at most "
                                    + std::to_string(LongestSavedLayout) + ")");
        std::string text(static_cast<std::size_t>(file.size()), '\0');
        file.readBytes(reinterpret_cast<std::uint8_t*>(text.data()), text.size());
        return parseSavedLayout(text);
    });
}

// The grid of a base page file's wall or sprite, when it has that picture.
std::optional<PixelGrid> baseGrid(OpenedVswap* base, ItemKind kind, std::int32_t number)
{
    if (!base)
        return std::nullopt;
    const std::int32_t index = kind == ItemKind::Wall ? number : base->header.spriteStart + number;
    if (index >= base->header.chunkCount || !base->table.isListed(index) || kindOfChunk(base->header, index) != kind)
        return std::nullopt;
    return pictureToKeepColoursOf(base->file, base->table.offset[index], kind);
}

// A folder's pictures and sounds imported as the command line imports them,
// the colours of a base page file's chunks kept.
class FolderFiles : public ChunkFileReader {
public:
    FolderFiles(ChunkImporter& importer, OpenedVswap* base) : importer_(importer), base_(base) {}

    PixelGrid picture(const std::string& path, ItemKind kind, std::int32_t number) override
    {
        const std::optional<PixelGrid> base = baseGrid(base_, kind, number);
        return importer_.picture(path, kind, base ? &*base : nullptr);
    }

    std::vector<std::uint8_t> sound(const std::string& path) override { return importer_.sound(path); }

private:
    ChunkImporter& importer_;
    OpenedVswap* base_;
};

void noteAbsentChunks(const std::string& folder, const std::vector<std::string>& absent, std::ostream& problems)
{
    if (absent.empty())
        return;
    problems << "pagelark-cli: " << printableText(folder) << ": no " << SavedLayoutFileName
             << " there, so these will be absent: ";
    for (std::size_t n = 0; n < std::min(absent.size(), MostNamed); ++n)
        problems << (n > 0 ? ", " : "") << absent[n];
    if (absent.size() > MostNamed)
        problems << " and " << absent.size() - MostNamed << " more";
    problems << '\n';
}

}  // namespace

void packFolder(const PackRequest& request, std::ostream& out, std::ostream& problems)
{
    const Palette palette = paletteFrom(request.palettePath);
    ChunkImporter importer(palette, request.dither, problems);
    std::unique_ptr<OpenedVswap> base;
    if (!request.basePath.empty()) {
        base = openVswap(request.basePath);
        importer.filesRead().push_back(base->file.identity());
    }
    const SavedFolderNames names{request.folder, request.folder + "/" + request.prefix + SavedLayoutFileName,
                                 request.folder + "/" + request.prefix + SavedLayoutBytesFileName};
    const ChunkFiles files = chunkFilesIn(request.folder, request.prefix, problems);
    const std::optional<SavedLayout> layout = layoutIn(names.layoutFile, importer.filesRead());
    ByteFile keptBytes;
    if (identityOf(names.keptBytesFile)) {
        namingFile(names.keptBytesFile, [&] { keptBytes.openRead(names.keptBytesFile); });
        importer.filesRead().push_back(keptBytes.identity());
    }

    FolderFiles folderFiles(importer, base.get());
    const PackedFolder packed = packSavedFolder(files, layout ? &*layout : nullptr,
                                                keptBytes.isOpen() ? keptBytes.size() : -1, folderFiles, names);
    if (!layout)
        noteAbsentChunks(request.folder, packed.absent, problems);

    std::size_t size = 0;
    namingFile(request.outputPath, [&] {
        OutputFile output(request.outputPath, importer.filesRead(), OutputAccess::Shared, OutputDurability::Flushed);
        writePageFile(packed.file, keptBytes.isOpen() ? &keptBytes : nullptr,
                      [&](const std::uint8_t* data, std::size_t count) {
                          output.write(data, count);
                          size += count;
                      });
        output.commit();
    });
    const PageFile& file = packed.file;
    out << printableText(request.outputPath) << ": " << file.chunks.size() + 1 << " chunks (" << file.spriteStart
        << " walls, " << file.soundStart - file.spriteStart << " sprites, " << file.sounds.size() << " sounds), "
        << size << " bytes\n";
}

}  // namespace pagelark::cli
