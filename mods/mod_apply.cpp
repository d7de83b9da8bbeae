#include "mods/mod_apply.h"

#include "archive/page_file.h"
#include "archive/page_file_limits.h"
#include "archive/run_error.h"
#include "mods/mod_limits.h"

#include <algorithm>
#include <array>
#include <string>

namespace pagelark {

namespace {

using Replacements = std::vector<const ChunkReplacement*>;

std::string named(const ChunkReplacement& replacement)
{
    return std::string(kindName(replacement.kind)) + " " + std::to_string(replacement.number);
}

std::size_t kindSlot(ItemKind kind) { return static_cast<std::size_t>(kind) - 1; }

// Each kind's replacements by number, a number given twice refused.
std::array<Replacements, 3> byKind(const ModPlan& plan)
{
    std::array<Replacements, 3> kinds;
    for (const ChunkReplacement& replacement : plan.replacements) {
        if (replacement.number < 0)
            throw RunError::message(named(replacement) + " has no such number");
        kinds[kindSlot(replacement.kind)].push_back(&replacement);
    }
    for (Replacements& kind : kinds) {
        std::stable_sort(kind.begin(), kind.end(), [](auto* a, auto* b) { return a->number < b->number; });
        const auto twice
            = std::adjacent_find(kind.begin(), kind.end(), [](auto* a, auto* b) { return a->number == b->number; });
        if (twice != kind.end())
            throw RunError::message(named(**twice) + " is given twice");
    }
    return kinds;
}

PageChunk chunkOf(const ChunkReplacement& replacement)
{
    PageChunk chunk;
    chunk.absent = replacement.absent;
    chunk.absentLength = replacement.absentLength;
    if (!replacement.absent)
        chunk.bytes = replacement.bytes;
    return chunk;
}

void requireChange(const ChunkReplacement& replacement, bool added)
{
    if (replacement.added != added)
        throw RunError::message(
            named(replacement)
            + (added ? " is not in the original, and not marked added" : " is in the original, and marked added"));
}

// Walls and sprites added come after the last of their kind; the
// original's sections must lie in that order for them to have a place.
void addChunks(PageFile& file, ItemKind kind, std::vector<PageChunk> added)
{
    if (added.empty())
        return;
    if (file.spriteStart > file.soundStart || file.soundStart > file.chunks.size())
        throw RunError::message(std::string("no ") + kindName(kind) + " can be added to a file whose sprites start at "
                                + std::to_string(file.spriteStart) + " and sounds at " + std::to_string(file.soundStart)
                                + " of " + std::to_string(file.chunks.size()) + " chunks");
    page_file_limits::checkChunkCount(file.chunks.size() + added.size() + 1);
    const std::size_t at = kind == ItemKind::Wall ? file.spriteStart : file.soundStart;
    file.chunks.insert(file.chunks.begin() + static_cast<std::ptrdiff_t>(at), std::make_move_iterator(added.begin()),
                       std::make_move_iterator(added.end()));
    const auto more = static_cast<std::uint16_t>(added.size());
    if (kind == ItemKind::Wall)
        file.spriteStart = static_cast<std::uint16_t>(file.spriteStart + more);
    file.soundStart = static_cast<std::uint16_t>(file.soundStart + more);
}

void applyPictures(PageFile& file, ItemKind kind, const Replacements& replacements)
{
    const std::size_t first = kind == ItemKind::Wall ? 0 : file.spriteStart;
    const std::size_t had = kind == ItemKind::Wall ? wallCount(file) : spriteCount(file);
    std::vector<PageChunk> added;
    for (const ChunkReplacement* replacement : replacements) {
        const auto number = static_cast<std::size_t>(replacement->number);
        requireChange(*replacement, number >= had);
        if (number < had && replacement->absent) {
            PageChunk& chunk = file.chunks[first + number];
            std::optional<ChunkPlace> place = std::move(chunk.place);
            chunk = chunkOf(*replacement);
            chunk.place = std::move(place);
            continue;
        }
        if (number < had) {
            replaceChunk(file, static_cast<std::int32_t>(first + number), replacement->bytes);
            continue;
        }
        if (number != had + added.size())
            throw RunError::message(named(*replacement) + " is added after " + kindName(kind) + " "
                                    + std::to_string(had + added.size())
                                    + ", which is neither in the original nor added");
        added.push_back(chunkOf(*replacement));
        page_file_limits::checkChunkLength(first + number, added.back().length());
    }
    addChunks(file, kind, std::move(added));
}

void applySounds(PageFile& file, const Replacements& replacements)
{
    const std::size_t had = file.sounds.size();
    for (const ChunkReplacement* replacement : replacements) {
        const auto number = static_cast<std::size_t>(replacement->number);
        if (replacement->absent)
            throw RunError::message(named(*replacement) + " is absent: a sound has samples");
        requireChange(*replacement, number >= had);
        if (number < had) {
            replaceSound(file, replacement->number, replacement->bytes);
        } else if (number == file.sounds.size()) {
            appendSound(file, replacement->bytes);
        } else {
            throw RunError::message(named(*replacement) + " is added after sound " + std::to_string(file.sounds.size())
                                    + ", which is neither in the original nor added");
        }
    }
}

// The index a replacement names is the one its kind and number have in the
// result, so that a mod says of each chunk where it goes.
void checkIndex(const PageFile& file, const ChunkReplacement& replacement)
{
    const auto number = static_cast<std::size_t>(replacement.number);
    const std::size_t index = replacement.kind == ItemKind::Wall ? number
        : replacement.kind == ItemKind::Sprite                   ? file.spriteStart + number
                                               : file.soundStart + std::size_t{file.sounds[number].firstPage};
    if (replacement.index < 0 || static_cast<std::size_t>(replacement.index) != index)
        throw RunError::message(named(replacement) + " is given as chunk " + std::to_string(replacement.index)
                                + ", where the original with these changes has it at chunk " + std::to_string(index));
}

}  // namespace

std::size_t wallCount(const PageFile& file)
{
    return std::min<std::size_t>({file.spriteStart, file.soundStart, file.chunks.size()});
}

std::size_t spriteCount(const PageFile& file)
{
    const std::size_t end = std::min<std::size_t>(file.soundStart, file.chunks.size());
    return file.spriteStart < end ? end - file.spriteStart : 0;
}

PageFile applyMod(const PageFile& original, const ModPlan& plan)
{
    const std::array<Replacements, 3> kinds = byKind(plan);
    PageFile result = original;
    applyPictures(result, ItemKind::Wall, kinds[kindSlot(ItemKind::Wall)]);
    applyPictures(result, ItemKind::Sprite, kinds[kindSlot(ItemKind::Sprite)]);
    applySounds(result, kinds[kindSlot(ItemKind::Sound)]);
    for (const ChunkReplacement& replacement : plan.replacements)
        checkIndex(result, replacement);

    if (plan.soundTable) {
        const SoundTable& table = *plan.soundTable;
        if (table.entries.size() > page_file_limits::MostSoundEntries)
            throw RunError::message("the sound table has " + std::to_string(table.entries.size())
                                    + " entries, more than a chunk holds");
        if (table.entries != result.sounds || table.terminated != result.soundInfoTerminated) {
            result.sounds = table.entries;
            result.soundInfoTerminated = table.terminated;
            result.soundsChanged = true;
        }
    }
    if (plan.trailingLength) {
        if (*plan.trailingLength < 0 || *plan.trailingLength > mod_limits::MostTrailingBytes)
            throw RunError::message("the bytes after the last chunk are to be " + std::to_string(*plan.trailingLength)
                                    + " long, at most " + std::to_string(mod_limits::MostTrailingBytes));
        // Zeros, where the plan's bytes outside the chunks give no others.
        result.trailing = Filler{*plan.trailingLength, std::nullopt};
    }
    return result;
}

}  // namespace pagelark
