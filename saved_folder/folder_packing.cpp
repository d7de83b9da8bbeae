#include "saved_folder/folder_packing.h"

#include "archive/page_file_limits.h"
#include "archive/run_error.h"
#include "pictures/picture_chunk.h"

#include <algorithm>
#include <set>

namespace pagelark {

namespace {

using Bytes = std::vector<std::uint8_t>;

std::string nameText(const ChunkName& name)
{
    if (name.kind == LayoutKind::SoundInfo)
        return layoutKindWord(name.kind);
    return std::string(layoutKindWord(name.kind)) + " " + std::to_string(name.number);
}

class FolderPacker {
public:
    FolderPacker(const ChunkFiles& files, const SavedLayout* layout, std::int64_t keptBytes, ChunkFileReader& reader,
                 const SavedFolderNames& names)
        : files_(files), layout_(layout), keptBytes_(keptBytes), reader_(reader), names_(names)
    {
    }

    PackedFolder pack()
    {
        if (!layout_ && files_.walls.empty() && files_.sprites.empty() && files_.sounds.empty())
            failFolder("no chunk files to pack (wall0000.bmp, sprite0000.png, sound0000.wav and so on)");
        countPictures();
        if (layout_)
            checkLayout();
        std::vector<PageChunk> walls = pictures(ItemKind::Wall, files_.walls, 0, walls_);
        std::vector<PageChunk> sprites = pictures(ItemKind::Sprite, files_.sprites, walls_, sprites_);
        if (layout_ && layout_->pages)
            packWithPages(std::move(walls), std::move(sprites));
        else
            packed_.file = pageFileOf(walls, sprites, soundsWithoutGaps(0));
        packed_.file.soundInfoTerminated
            = packed_.file.soundInfoTerminated || (layout_ && layout_->soundInfoTerminated);
        return std::move(packed_);
    }

private:
    [[noreturn]] void failFolder(const std::string& why) const { throw RunError::message(names_.folder + ": " + why); }

    [[noreturn]] void failLine(int line, const std::string& why) const
    {
        throw RunError::message(names_.layoutFile + ": line " + std::to_string(line) + ": " + why);
    }

    std::string startLine(int line, const char* key, std::int32_t value) const
    {
        return "line " + std::to_string(line) + " of " + names_.layoutFile + " (" + key + " " + std::to_string(value)
            + ")";
    }

    void countPictures()
    {
        const auto highest = [](const std::map<std::int32_t, std::string>& files) {
            return files.empty() ? 0 : files.rbegin()->first + 1;
        };
        if (!layout_) {
            walls_ = highest(files_.walls);
            sprites_ = highest(files_.sprites);
        } else {
            walls_ = layout_->spriteStart;
            sprites_ = layout_->soundStart - layout_->spriteStart;
            if (highest(files_.walls) > walls_)
                throw RunError::message(files_.walls.rbegin()->second + ": a wall beyond the last, which "
                                        + startLine(layout_->spriteStartLine, "sprite-start", layout_->spriteStart)
                                        + " puts at " + std::to_string(walls_ - 1)
                                        + ": to add walls, raise sprite-start and sound-start there by as many");
            if (highest(files_.sprites) > sprites_)
                throw RunError::message(files_.sprites.rbegin()->second + ": a sprite beyond the last, which "
                                        + startLine(layout_->soundStartLine, "sound-start", layout_->soundStart)
                                        + " puts at " + std::to_string(sprites_ - 1)
                                        + ": to add sprites, raise sound-start there by as many");
        }
        // Before any file is read, so that a folder of a hundred thousand
        // pictures is refused at once.
        const std::size_t pages
            = layout_ && layout_->pages ? static_cast<std::size_t>(*layout_->pages) : files_.sounds.size();
        try {
            page_file_limits::checkChunkCount(static_cast<std::size_t>(walls_) + static_cast<std::size_t>(sprites_)
                                              + pages + 1);
        } catch (const RunError& error) {
            failFolder(error.text());
        }
    }

    // The count of chunks of a kind the layout names.
    std::int32_t kindCount(LayoutKind kind) const
    {
        switch (kind) {
        case LayoutKind::Wall:
            return walls_;
        case LayoutKind::Sprite:
            return sprites_;
        case LayoutKind::Page:
            return layout_->pages.value_or(0);
        case LayoutKind::SoundInfo:
            break;
        }
        return 1;
    }

    void checkName(const ChunkName& name, int line) const
    {
        if (name.number >= kindCount(name.kind))
            failLine(line,
                     nameText(name) + " is beyond the last " + layoutKindWord(name.kind) + " ("
                         + std::to_string(kindCount(name.kind) - 1) + ")");
        if (name.kind == LayoutKind::Page && !layout_->pages)
            failLine(line, "a page, and no pages line says how many there are");
    }

    void checkKept(const KeptBytes& kept, int line, const std::string& what) const
    {
        const std::string where = line > 0 ? "line " + std::to_string(line) : "the " + what + " line";
        if (keptBytes_ < 0)
            throw RunError::message(names_.layoutFile + ": " + where + " refers to bytes of " + names_.keptBytesFile
                                    + ", which is not there");
        if (kept.at + kept.length > keptBytes_)
            throw RunError::message(names_.layoutFile + ": " + where + " refers to bytes " + std::to_string(kept.at)
                                    + " to " + std::to_string(kept.at + kept.length) + " of " + names_.keptBytesFile
                                    + ", which holds " + std::to_string(keptBytes_));
    }

    void checkLayout() const
    {
        for (const auto& [name, fact] : layout_->absent)
            checkName(name, fact.line);
        for (const auto& [name, fact] : layout_->shortChunks) {
            checkName(name, fact.line);
            if (name.kind == LayoutKind::Page)
                failLine(fact.line, "a short chunk is a wall or a sprite");
        }
        for (const auto& [name, fact] : layout_->raw) {
            checkName(name, fact.line);
            if (fact.kept)
                checkKept(*fact.kept, fact.line, "raw");
        }
        for (const SavedLayout::Place& place : layout_->places) {
            if (!layout_->pages)
                failLine(place.line, "a place, and no pages line says how many pages there are");
            checkName(place.chunk, place.line);
            if (place.gapBytes)
                checkKept(*place.gapBytes, place.line, "place");
        }
        if (layout_->soundInfoBytes)
            checkKept(*layout_->soundInfoBytes, 0, "sound-info-bytes");
        if (layout_->trailing)
            checkKept(*layout_->trailing, 0, "trailing");
    }

    PageChunk rawChunk(const SavedLayout::Raw& raw) const
    {
        if (!raw.kept)
            return heldChunk(raw.inlineBytes);
        PageChunk chunk;
        chunk.source = SourceBytes{raw.kept->at, static_cast<std::uint16_t>(raw.kept->length)};
        return chunk;
    }

    const SavedLayout::Raw* rawOf(const ChunkName& name) const
    {
        if (!layout_)
            return nullptr;
        const auto raw = layout_->raw.find(name);
        return raw == layout_->raw.end() ? nullptr : &raw->second;
    }

    // The chunks of one kind: numbers from 0 up to count, each from its file or its layout line.
    std::vector<PageChunk> pictures(ItemKind kind, const std::map<std::int32_t, std::string>& files,
                                    std::int32_t firstIndex, std::int32_t count)
    {
        const LayoutKind layoutKind = kind == ItemKind::Wall ? LayoutKind::Wall : LayoutKind::Sprite;
        std::vector<PageChunk> chunks;
        for (std::int32_t number = 0; number < count; ++number) {
            const ChunkName name{layoutKind, number};
            const auto file = files.find(number);
            chunks.push_back(file != files.end() ? pictureChunk(kind, name, file->second)
                                                 : unpicturedChunk(kind, name, firstIndex + number));
        }
        return chunks;
    }

    PageChunk pictureChunk(ItemKind kind, const ChunkName& name, const std::string& path)
    {
        const PixelGrid grid = reader_.picture(path, kind, name.number);
        // A chunk whose bytes no picture gives back keeps them while its picture is unchanged.
        if (const SavedLayout::Raw* raw = rawOf(name);
            raw && raw->fingerprint == contentFingerprint(grid.data(), grid.size()))
            return rawChunk(*raw);
        return heldChunk(namingFile(path, [&] { return chunkOfGrid(grid, kind); }));
    }

    PageChunk unpicturedChunk(ItemKind kind, const ChunkName& name, std::int32_t index)
    {
        if (!layout_) {
            packed_.absent.push_back(nameText(name));
            return PageChunk{true, 0, {}, std::nullopt, std::nullopt};
        }
        if (const auto absent = layout_->absent.find(name); absent != layout_->absent.end())
            return PageChunk{true, absent->second.length, {}, std::nullopt, std::nullopt};
        if (const auto short_ = layout_->shortChunks.find(name); short_ != layout_->shortChunks.end())
            return heldChunk(short_->second.bytes);
        if (const SavedLayout::Raw* raw = rawOf(name); raw && !raw->fingerprint)
            return rawChunk(*raw);
        failFolder("no file for " + std::string(kindName(kind)) + " " + std::to_string(name.number) + " (chunk "
                   + std::to_string(index) + "), which the layout file does not account for");
    }

    // Sounds from their files alone, numbered from `from` without gaps.
    std::vector<Bytes> soundsWithoutGaps(std::size_t from)
    {
        std::vector<Bytes> sounds;
        for (auto file = files_.sounds.lower_bound(static_cast<std::int32_t>(from)); file != files_.sounds.end();
             ++file) {
            if (file->first != static_cast<std::int32_t>(from + sounds.size()))
                failFolder("sound " + std::to_string(from + sounds.size())
                           + " is missing: sounds are numbered from 0 without gaps");
            sounds.push_back(reader_.sound(file->second));
        }
        return sounds;
    }

    // The sounds of a layout that records them: each sound's pages from its
    // file, kept while its file still holds what save wrote, moved on where
    // it grew or shrank.
    void packWithPages(std::vector<PageChunk> walls, std::vector<PageChunk> sprites)
    {
        PageFile& file = packed_.file;
        file.spriteStart = static_cast<std::uint16_t>(layout_->spriteStart);
        file.soundStart = static_cast<std::uint16_t>(layout_->soundStart);
        file.chunks = std::move(walls);
        file.chunks.insert(file.chunks.end(), std::make_move_iterator(sprites.begin()),
                           std::make_move_iterator(sprites.end()));
        const auto pages = static_cast<std::size_t>(*layout_->pages);
        std::set<std::size_t> unfilled;
        for (std::size_t page = 0; page < pages; ++page) {
            const ChunkName name{LayoutKind::Page, static_cast<std::int32_t>(page)};
            if (const auto absent = layout_->absent.find(name); absent != layout_->absent.end()) {
                file.chunks.push_back(PageChunk{true, absent->second.length, {}, std::nullopt, std::nullopt});
            } else if (const SavedLayout::Raw* raw = rawOf(name)) {
                file.chunks.push_back(rawChunk(*raw));
            } else {
                file.chunks.push_back(heldChunk({}));
                unfilled.insert(page);
            }
        }
        file.sounds = layout_->sounds;
        file.soundInfoTerminated = layout_->soundInfoTerminated;
        if (layout_->soundInfoBytes) {
            file.soundInfo.emplace();
            file.soundInfo->source
                = SourceBytes{layout_->soundInfoBytes->at, static_cast<std::uint16_t>(layout_->soundInfoBytes->length)};
        } else {
            file.soundInfo = heldChunk(soundEntryBytes(file.sounds, file.soundInfoTerminated));
        }
        placeChunks();

        std::vector<std::pair<std::int32_t, Bytes>> changed;
        std::set<std::size_t> replacedPages;
        for (std::size_t k = 0; k < file.sounds.size(); ++k) {
            const SoundEntry& entry = file.sounds[k];
            const std::size_t first = entry.firstPage;
            const std::size_t last = std::min(first + pagesOfSound(entry), pages);
            const auto path = files_.sounds.find(static_cast<std::int32_t>(k));
            if (path == files_.sounds.end()) {
                for (std::size_t page = first; page < last; ++page)
                    if (unfilled.contains(page))
                        failFolder("no file for sound " + std::to_string(k) + " (chunk "
                                   + std::to_string(file.soundStart + page)
                                   + "), which the layout file does not account for");
                continue;
            }
            Bytes samples = reader_.sound(path->second);
            if (first + pagesOfSound(entry) > pages)
                throw RunError::message(path->second + ": sound " + std::to_string(k)
                                        + " starts on a page the layout file does not hold");
            if (keepsRawPages(first, last, samples))
                continue;
            const auto unfilledPages
                = static_cast<std::size_t>(std::distance(unfilled.lower_bound(first), unfilled.lower_bound(last)));
            const bool filled = samples.size() == entry.length && unfilledPages == last - first;
            if (filled) {
                for (std::size_t page = first; page < last; ++page) {
                    const auto from = samples.begin() + static_cast<std::ptrdiff_t>((page - first) * SoundPageSize);
                    const auto to
                        = page + 1 == last ? samples.end() : from + static_cast<std::ptrdiff_t>(SoundPageSize);
                    file.chunks[file.soundStart + page].bytes.assign(from, to);
                    unfilled.erase(page);
                }
                continue;
            }
            for (std::size_t page = first; page < last; ++page)
                replacedPages.insert(page);
            changed.emplace_back(static_cast<std::int32_t>(k), std::move(samples));
        }
        for (const std::size_t page : unfilled)
            if (!replacedPages.contains(page))
                failFolder("page " + std::to_string(page) + " (chunk " + std::to_string(file.soundStart + page)
                           + ") belongs to no sound, and the layout file does not account for it");
        std::vector<Bytes> added = soundsWithoutGaps(file.sounds.size());
        namingFile(names_.folder, [&] {
            for (const auto& sound : changed)
                namingFile(files_.sounds.at(sound.first), [&] { replaceSound(file, sound.first, sound.second); });
            for (std::size_t n = 0; n < added.size(); ++n)
                namingFile(files_.sounds.at(static_cast<std::int32_t>(file.sounds.size())),
                           [&] { appendSound(file, added[n]); });
        });
        if (layout_->trailing)
            file.trailing = Filler{layout_->trailing->length, layout_->trailing->at};
    }

    // Whether the pages of a sound not laid out in the games' pages keep
    // their bytes: while its file holds the samples save wrote.
    // The samples are fingerprinted only for a sound that has such pages.
    bool keepsRawPages(std::size_t first, std::size_t last, const Bytes& samples) const
    {
        std::optional<std::uint64_t> fingerprint;
        for (std::size_t page = first; page < last; ++page) {
            const ChunkName name{LayoutKind::Page, static_cast<std::int32_t>(page)};
            const SavedLayout::Raw* raw = rawOf(name);
            if (raw == nullptr && layout_->absent.contains(name))
                continue;
            if (raw == nullptr)
                return false;
            if (!fingerprint)
                fingerprint = contentFingerprint(samples.data(), samples.size());
            if (raw->fingerprint != fingerprint)
                return false;
        }
        return fingerprint.has_value();
    }

    void placeChunks()
    {
        PageFile& file = packed_.file;
        std::uint32_t rank = 0;
        for (const SavedLayout::Place& place : layout_->places) {
            PageChunk* chunk = nullptr;
            switch (place.chunk.kind) {
            case LayoutKind::Wall:
                chunk = &file.chunks[static_cast<std::size_t>(place.chunk.number)];
                break;
            case LayoutKind::Sprite:
                chunk = &file.chunks[static_cast<std::size_t>(file.spriteStart + place.chunk.number)];
                break;
            case LayoutKind::Page:
                chunk = &file.chunks[static_cast<std::size_t>(file.soundStart + place.chunk.number)];
                break;
            case LayoutKind::SoundInfo:
                chunk = &*file.soundInfo;
                break;
            }
            Filler before{place.gap, std::nullopt};
            if (place.gapBytes)
                before.sourceAt = place.gapBytes->at;
            chunk->place = ChunkPlace{rank++, before};
        }
        file.keepsPlaces = !layout_->places.empty();
    }

    const ChunkFiles& files_;
    const SavedLayout* layout_;
    std::int64_t keptBytes_;
    ChunkFileReader& reader_;
    const SavedFolderNames& names_;
    std::int32_t walls_ = 0;
    std::int32_t sprites_ = 0;
    PackedFolder packed_;
};

}  // namespace

PackedFolder packSavedFolder(const ChunkFiles& files, const SavedLayout* layout, std::int64_t keptBytes,
                             ChunkFileReader& reader, const SavedFolderNames& names)
{
    return FolderPacker(files, layout, keptBytes, reader, names).pack();
}

}  // namespace pagelark
