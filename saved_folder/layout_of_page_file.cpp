#include "saved_folder/layout_of_page_file.h"

#include "archive/byte_file.h"
#include "archive/page_file.h"
#include "archive/run_error.h"
#include "pictures/chunk_picture.h"
#include "pictures/sprite_encoder.h"
#include "sounds/wav_writer.h"

#include <algorithm>
#include <set>

namespace pagelark {

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes bytesAt(ByteFile& file, std::int64_t offset, std::int64_t length)
{
    Bytes bytes(static_cast<std::size_t>(length));
    file.seek(offset);
    file.readBytes(bytes.data(), bytes.size());
    return bytes;
}

class LayoutWriter {
public:
    LayoutWriter(ByteFile& file, const ChunkTable& table) : file_(file), table_(table), model_(readPageFile(file))
    {
        result_.givesBackEveryByte = model_.writtenAsRead;
        SavedLayout& layout = result_.layout;
        layout.spriteStart = model_.spriteStart;
        layout.soundStart = model_.soundStart;
        layout.pages = static_cast<std::int32_t>(model_.chunks.size())
            - std::min<std::int32_t>(model_.soundStart, static_cast<std::int32_t>(model_.chunks.size()));
        if (model_.chunks.size() < model_.soundStart)
            result_.givesBackEveryByte = false;
        layout.sounds = model_.sounds;
        layout.soundInfoTerminated = model_.soundInfoTerminated;
    }

    LayoutOfPageFile take()
    {
        pictures();
        sounds();
        soundInfo();
        places();
        if (model_.trailing.length > 0)
            result_.layout.trailing = keep(*model_.trailing.sourceAt, model_.trailing.length);
        return std::move(result_);
    }

private:
    KeptBytes keep(std::int64_t offset, std::int64_t length)
    {
        const Bytes bytes = bytesAt(file_, offset, length);
        KeptBytes kept{static_cast<std::int64_t>(result_.keptBytes.size()), length};
        result_.keptBytes.insert(result_.keptBytes.end(), bytes.begin(), bytes.end());
        return kept;
    }

    void keepRaw(const ChunkName& name, const PageChunk& chunk, std::optional<std::uint64_t> fingerprint)
    {
        SavedLayout::Raw raw;
        raw.fingerprint = fingerprint;
        raw.kept = keep(chunk.source->offset, chunk.source->length);
        result_.layout.raw[name] = raw;
    }

    ChunkName nameOf(std::size_t index) const
    {
        const auto i = static_cast<std::int32_t>(index);
        if (index == model_.chunks.size())
            return {LayoutKind::SoundInfo, 0};
        if (i >= model_.soundStart)
            return {LayoutKind::Page, i - model_.soundStart};
        if (i >= model_.spriteStart)
            return {LayoutKind::Sprite, i - model_.spriteStart};
        return {LayoutKind::Wall, i};
    }

    void pictures()
    {
        SavedLayout& layout = result_.layout;
        const auto count = std::min<std::size_t>(model_.chunks.size(), model_.soundStart);
        for (std::size_t i = 0; i < count; ++i) {
            const PageChunk& chunk = model_.chunks[i];
            const ChunkName name = nameOf(i);
            if (chunk.absent) {
                layout.absent[name] = {chunk.absentLength, 0};
                continue;
            }
            try {
                const Bytes bytes = bytesAt(file_, chunk.source->offset, chunk.source->length);
                if (bytes.size() <= 1) {
                    layout.shortChunks[name] = {bytes, 0};
                    continue;
                }
                const bool wall = name.kind == LayoutKind::Wall;
                const std::optional<PixelGrid> picture = chunkPicture(
                    file_, static_cast<std::int32_t>(chunk.source->offset), wall ? ItemKind::Wall : ItemKind::Sprite);
                if (!picture)
                    keepRaw(name, chunk, std::nullopt);
                else if (wall ? bytes.size() != GridCells : encodeSprite(*picture) != bytes)
                    keepRaw(name, chunk, contentFingerprint(picture->data(), picture->size()));
            } catch (const RunError&) {
            }
        }
    }

    // The sound save writes a file for: the one the list shows at its first page.
    bool isSaved(std::size_t k, std::size_t first) const
    {
        if (first >= static_cast<std::size_t>(ChunkSlots) || first >= model_.chunks.size())
            return false;
        const auto index = static_cast<std::int32_t>(first);
        return table_.isListed(index) && table_.itemNumber[first] == static_cast<std::int32_t>(k);
    }

    // Pages of 4096 bytes, the last holding the rest, one after the other.
    bool inGamesPages(std::size_t first, const SoundEntry& entry) const
    {
        const std::size_t pages = pagesOfSound(entry);
        if (first + pages > model_.chunks.size() || table_.length[first] != entry.length)
            return false;
        for (std::size_t j = 0; j < pages; ++j) {
            const PageChunk& page = model_.chunks[first + j];
            const std::size_t length = std::min<std::size_t>(SoundPageSize, entry.length - SoundPageSize * j);
            if (page.absent || claimed_.contains(first + j) || page.source->length != length
                || page.source->offset
                    != model_.chunks[first].source->offset + static_cast<std::int64_t>(SoundPageSize * j))
                return false;
        }
        return true;
    }

    void sounds()
    {
        for (std::size_t k = 0; k < model_.sounds.size(); ++k) {
            const SoundEntry& entry = model_.sounds[k];
            const std::size_t first = model_.soundStart + std::size_t{entry.firstPage};
            if (!isSaved(k, first))
                continue;
            const std::size_t last = std::min(first + pagesOfSound(entry), model_.chunks.size());
            if (inGamesPages(first, entry)) {
                for (std::size_t page = first; page < last; ++page)
                    claimed_.insert(page);
                continue;
            }
            // Its pages keep their bytes while its file holds the samples save wrote.
            std::optional<std::uint64_t> fingerprint;
            try {
                const Bytes samples = readSoundSamples(file_, table_.offset[first], table_.length[first]);
                fingerprint = contentFingerprint(samples.data(), samples.size());
            } catch (const RunError&) {
            }
            for (std::size_t page = first; page < last; ++page) {
                if (model_.chunks[page].absent || !claimed_.insert(page).second)
                    continue;
                tryKeepRaw(page, fingerprint);
            }
        }
        for (std::size_t page = model_.soundStart; page < model_.chunks.size(); ++page) {
            const PageChunk& chunk = model_.chunks[page];
            if (chunk.absent)
                result_.layout.absent[nameOf(page)] = {chunk.absentLength, 0};
            else if (!claimed_.contains(page))
                tryKeepRaw(page, std::nullopt);
        }
    }

    void tryKeepRaw(std::size_t index, std::optional<std::uint64_t> fingerprint)
    {
        try {
            keepRaw(nameOf(index), model_.chunks[index], fingerprint);
        } catch (const RunError&) {
        }
    }

    void soundInfo()
    {
        if (!model_.soundInfo)
            return;
        const SourceBytes& source = *model_.soundInfo->source;
        if (bytesAt(file_, source.offset, source.length) != soundEntryBytes(model_.sounds, model_.soundInfoTerminated))
            result_.layout.soundInfoBytes = keep(source.offset, source.length);
    }

    bool zeros(const Filler& filler)
    {
        const Bytes bytes = bytesAt(file_, *filler.sourceAt, filler.length);
        return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t byte) { return byte == 0; });
    }

    // In the file's order, each chunk with the bytes before it; none for a
    // file laid out as the games lay theirs, with zeros between its chunks.
    void places()
    {
        std::vector<std::pair<std::uint32_t, std::size_t>> ranked;
        bool gapsAreZero = true;
        for (std::size_t i = 0; i <= model_.chunks.size(); ++i) {
            const PageChunk* chunk
                = i < model_.chunks.size() ? &model_.chunks[i] : (model_.soundInfo ? &*model_.soundInfo : nullptr);
            if (chunk == nullptr || !chunk->place)
                continue;
            ranked.emplace_back(chunk->place->rank, i);
            gapsAreZero = gapsAreZero && zeros(chunk->place->before);
        }
        if (!model_.keepsPlaces && gapsAreZero)
            return;
        std::sort(ranked.begin(), ranked.end());
        for (const auto& [rank, index] : ranked) {
            const Filler& before
                = (index < model_.chunks.size() ? model_.chunks[index] : *model_.soundInfo).place->before;
            SavedLayout::Place place{nameOf(index), before.length, std::nullopt, 0};
            // A long gap is kept whatever it holds: a layout file gives none of zeros that long.
            if (before.length > 0 && (before.length > 0xFFFF || !zeros(before)))
                place.gapBytes = keep(*before.sourceAt, before.length);
            result_.layout.places.push_back(place);
        }
    }

    ByteFile& file_;
    const ChunkTable& table_;
    PageFile model_;
    LayoutOfPageFile result_;
    std::set<std::size_t> claimed_;
};

}  // namespace

LayoutOfPageFile layoutOfPageFile(ByteFile& file, const ChunkTable& table) { return LayoutWriter(file, table).take(); }

}  // namespace pagelark
