#include "cli/pack_command.h"

#include "archive/output_file.h"
#include "archive/page_file.h"
#include "cli/chunk_import.h"
#include "cli/opened_vswap.h"
#include "export/saved_layout.h"
#include "pictures/decoders.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <dirent.h>
#include <map>
#include <memory>
#include <optional>
#include <string_view>

namespace pagelark::cli {

namespace {

// The chunk files of a folder, by kind and number.
struct FolderFiles {
    std::map<std::int32_t, std::string> walls;
    std::map<std::int32_t, std::string> sprites;
    std::map<std::int32_t, std::string> sounds;
};

struct ChunkFileName {
    ItemKind kind;
    std::int32_t number;
};

// What a name of save's tells: a kind word, the number (four digits, or all
// of a larger number's), an extension; nothing for any other name.
std::optional<ChunkFileName> chunkFileName(std::string_view name)
{
    for (const ItemKind kind : ItemKinds) {
        const std::string_view word = kindName(kind);
        if (!name.starts_with(word))
            continue;
        const std::string_view rest = name.substr(word.size());
        const std::size_t dot = rest.find('.');
        const std::string_view digits = rest.substr(0, dot);
        if (dot == std::string_view::npos || dot + 1 == rest.size() || digits.size() < 4 || digits.size() > 5
            || (digits.size() > 4 && digits[0] == '0') || !std::all_of(digits.begin(), digits.end(), ::isdigit))
            return std::nullopt;
        std::int32_t number = 0;
        std::from_chars(digits.data(), digits.data() + digits.size(), number);
        return ChunkFileName{kind, number};
    }
    return std::nullopt;
}

FolderFiles chunkFilesIn(const std::string& folder, const std::string& prefix)
{
    struct DirectoryCloser {
        void operator()(DIR* dir) const { ::closedir(dir); }
    };
    const std::unique_ptr<DIR, DirectoryCloser> dir(::opendir(folder.c_str()));
    if (!dir)
        throw Failure{folder, RunError::fromErrno(errno).text()};
    FolderFiles files;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (!name.starts_with(prefix))
            continue;
        const std::optional<ChunkFileName> chunk = chunkFileName(name.substr(prefix.size()));
        if (!chunk)
            continue;
        auto& byNumber = chunk->kind == ItemKind::Wall ? files.walls
            : chunk->kind == ItemKind::Sprite          ? files.sprites
                                                       : files.sounds;
        const std::string path = folder + "/" + std::string(name);
        if (!byNumber.emplace(chunk->number, path).second)
            throw Failure{path,
                          "a second file for number " + std::to_string(chunk->number) + " of its kind, beside "
                              + byNumber.at(chunk->number)};
    }
    return files;
}

std::optional<SavedLayout> layoutIn(const PackRequest& request, std::vector<FileIdentity>& read)
{
    const std::string path = request.folder + "/" + request.prefix + SavedLayoutFileName;
    if (!identityOf(path))
        return std::nullopt;
    return onFile(path, [&] {
        ByteFile file;
        file.openRead(path);
        read.push_back(file.identity());
        std::string text(static_cast<std::size_t>(std::min<std::int64_t>(file.size(), 64 * 1024 * 1024)), '\0');
        file.readBytes(reinterpret_cast<std::uint8_t*>(text.data()), text.size());
        return parseSavedLayout(text);
    });
}

// The highest number plus one, 0 for none.
std::int32_t countOf(const std::map<std::int32_t, std::string>& files)
{
    return files.empty() ? 0 : files.rbegin()->first + 1;
}

// The grid of a base page file's wall or sprite, when it has that picture.
std::optional<PixelGrid> baseGrid(OpenedVswap* base, ItemKind kind, std::int32_t number)
{
    if (!base)
        return std::nullopt;
    const std::int32_t index = kind == ItemKind::Wall ? number : base->header.spriteStart + number;
    if (index >= base->header.chunkCount || !base->table.isListed(index) || kindOfChunk(base->header, index) != kind)
        return std::nullopt;
    PixelGrid grid{};
    const bool decoded = onFile(base->path, [&] {
        if (kind == ItemKind::Wall) {
            decodeWall(base->file, base->table.offset[index], grid);
            return true;
        }
        return decodeSprite(base->file, base->table.offset[index], std::nullopt, grid);
    });
    return decoded ? std::optional(grid) : std::nullopt;
}

class FolderPacker {
public:
    FolderPacker(const PackRequest& request, std::vector<FileIdentity>& read)
        : request_(request), read_(read), palette_(paletteFrom(request.palettePath))
    {
        if (!request.basePath.empty())
            base_ = openVswap(request.basePath);
    }

    // The chunks of one kind: numbers from 0 up to count, each from its file or its layout line.
    std::vector<PageChunk> pictures(ItemKind kind, const std::map<std::int32_t, std::string>& files,
                                    std::int32_t firstIndex, std::int32_t count)
    {
        std::vector<PageChunk> chunks;
        for (std::int32_t number = 0; number < count; ++number) {
            const std::int32_t index = firstIndex + number;
            const auto file = files.find(number);
            chunks.push_back(file != files.end() ? pictureChunk(kind, number, index, file->second)
                                                 : unpicturedChunk(kind, number, index));
        }
        return chunks;
    }

    std::vector<std::vector<std::uint8_t>> sounds(const std::map<std::int32_t, std::string>& files)
    {
        std::vector<std::vector<std::uint8_t>> sounds;
        for (const auto& [number, path] : files) {
            if (number != static_cast<std::int32_t>(sounds.size()))
                throw Failure{request_.folder,
                              "sound " + std::to_string(sounds.size())
                                  + " is missing: sounds are numbered from 0 without gaps"};
            sounds.push_back(importSoundFile(path, read_));
        }
        return sounds;
    }

    std::optional<SavedLayout> layout;

private:
    PageChunk pictureChunk(ItemKind kind, std::int32_t number, std::int32_t index, const std::string& path)
    {
        const std::optional<PixelGrid> base = baseGrid(base_.get(), kind, number);
        const PixelGrid grid = importPicture(path, kind, palette_, base ? &*base : nullptr, read_);
        // A chunk whose bytes no picture gives back keeps them while its picture is unchanged.
        if (layout) {
            const auto raw = layout->raw.find(index);
            if (raw != layout->raw.end() && raw->second.gridFingerprint == gridFingerprint(grid.data(), grid.size()))
                return heldChunk(raw->second.bytes);
        }
        return heldChunk(chunkOfGrid(grid, kind, path));
    }

    PageChunk unpicturedChunk(ItemKind kind, std::int32_t number, std::int32_t index)
    {
        if (!layout)
            return PageChunk{true, 0, {}, std::nullopt};
        if (const auto absent = layout->absent.find(index); absent != layout->absent.end())
            return PageChunk{true, absent->second, {}, std::nullopt};
        if (const auto short_ = layout->shortChunks.find(index); short_ != layout->shortChunks.end())
            return heldChunk(short_->second);
        if (const auto raw = layout->raw.find(index); raw != layout->raw.end() && !raw->second.gridFingerprint)
            return heldChunk(raw->second.bytes);
        throw Failure{request_.folder,
                      "no file for " + std::string(kindName(kind)) + " " + std::to_string(number) + " (chunk "
                          + std::to_string(index) + "), which the layout file does not account for"};
    }

    const PackRequest& request_;
    std::vector<FileIdentity>& read_;
    Palette palette_;
    std::unique_ptr<OpenedVswap> base_;
};

}  // namespace

void packFolder(const PackRequest& request, std::ostream& out)
{
    std::vector<FileIdentity> read;
    const FolderFiles files = chunkFilesIn(request.folder, request.prefix);
    FolderPacker packer(request, read);
    packer.layout = layoutIn(request, read);

    std::int32_t walls = countOf(files.walls);
    std::int32_t sprites = countOf(files.sprites);
    if (packer.layout) {
        const std::string layoutFile = request.folder + "/" + request.prefix + SavedLayoutFileName;
        if (walls > packer.layout->spriteStart)
            throw Failure{files.walls.rbegin()->second,
                          "a wall beyond the last, which the layout file puts at "
                              + std::to_string(packer.layout->spriteStart - 1)};
        if (sprites > packer.layout->soundStart - packer.layout->spriteStart)
            throw Failure{files.sprites.rbegin()->second, "a sprite beyond the last the layout file allows"};
        walls = packer.layout->spriteStart;
        sprites = packer.layout->soundStart - packer.layout->spriteStart;
    }
    const std::vector<PageChunk> wallChunks = packer.pictures(ItemKind::Wall, files.walls, 0, walls);
    const std::vector<PageChunk> spriteChunks = packer.pictures(ItemKind::Sprite, files.sprites, walls, sprites);
    const std::vector<std::vector<std::uint8_t>> sounds = packer.sounds(files.sounds);

    PageFile file = onFile(request.outputPath, [&] { return pageFileOf(wallChunks, spriteChunks, sounds); });
    file.soundInfoTerminated = packer.layout && packer.layout->soundInfoTerminated;
    std::size_t size = 0;
    onFile(request.outputPath, [&] {
        OutputFile output(request.outputPath, read, OutputAccess::Shared, OutputDurability::Flushed);
        writePageFile(file, nullptr, [&](const std::uint8_t* data, std::size_t count) {
            output.write(data, count);
            size += count;
        });
        output.commit();
    });
    out << request.outputPath << ": " << file.chunks.size() + 1 << " chunks (" << walls << " walls, " << sprites
        << " sprites, " << sounds.size() << " sounds), " << size << " bytes\n";
}

}  // namespace pagelark::cli
