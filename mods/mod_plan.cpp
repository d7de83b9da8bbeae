// The changes between two page files, by kind and number, checked by
// writing the original with them and comparing every byte.
#include "mods/mod_plan.h"

#include "archive/byte_file.h"
#include "archive/page_file.h"
#include "archive/page_file_limits.h"
#include "archive/run_error.h"
#include "archive/stored_table.h"
#include "mods/mod_apply.h"
#include "mods/mod_limits.h"
#include "mods/mod_result.h"

#include <algorithm>
#include <limits>
#include <string>

namespace pagelark {

namespace {

using Bytes = std::vector<std::uint8_t>;

// A chunk's bytes as far as the file holds them.
Bytes storedBytes(ByteFile& file, const PageChunk& chunk)
{
    if (chunk.absent)
        return {};
    if (!chunk.source)
        return chunk.bytes;
    const std::int64_t size = file.size();
    const std::int64_t from = std::min(chunk.source->offset, size);
    const std::int64_t to = std::min(chunk.source->offset + chunk.source->length, size);
    Bytes bytes(static_cast<std::size_t>(to - from));
    file.seek(from);
    file.readBytes(bytes.data(), bytes.size());
    return bytes;
}

bool sameChunk(ByteFile& fileA, const PageChunk& a, ByteFile& fileB, const PageChunk& b)
{
    if (a.absent != b.absent || a.length() != b.length())
        return false;
    return a.absent || storedBytes(fileA, a) == storedBytes(fileB, b);
}

// The replacements' bytes together may not pass what a mod holds.
class HeldBytes {
public:
    void add(std::size_t count)
    {
        total_ += count;
        if (total_ > mod_limits::MostInflatedBytes)
            throw RunError::message("its changes come to more than " + std::to_string(mod_limits::MostInflatedBytes)
                                    + " bytes, more than a mod holds");
    }

private:
    std::uint64_t total_ = 0;
};

struct Side {
    const PageFile& file;
    ByteFile& bytes;
};

void planPictures(ModPlan& plan, ItemKind kind, Side original, Side changed, HeldBytes& held)
{
    const auto count
        = [&](const PageFile& file) { return kind == ItemKind::Wall ? wallCount(file) : spriteCount(file); };
    const auto first = [&](const PageFile& file) { return kind == ItemKind::Wall ? 0 : std::size_t{file.spriteStart}; };
    const std::size_t had = count(original.file);
    const std::size_t has = count(changed.file);
    if (has < had)
        throw RunError::message("it has " + std::to_string(has) + " " + kindName(kind) + (has == 1 ? "" : "s")
                                + ", the original " + std::to_string(had)
                                + ": a mod changes and adds chunks, and removes none");
    for (std::size_t number = 0; number < has; ++number) {
        const PageChunk& now = changed.file.chunks[first(changed.file) + number];
        if (number < had
            && sameChunk(original.bytes, original.file.chunks[first(original.file) + number], changed.bytes, now))
            continue;
        ChunkReplacement replacement;
        replacement.kind = kind;
        replacement.number = static_cast<std::int32_t>(number);
        replacement.index = static_cast<std::int32_t>(first(changed.file) + number);
        replacement.added = number >= had;
        replacement.absent = now.absent;
        replacement.absentLength = now.absent ? now.absentLength : 0;
        replacement.bytes = storedBytes(changed.bytes, now);
        held.add(replacement.bytes.size());
        plan.replacements.push_back(std::move(replacement));
    }
}

// The pages a sound's entry gives it, as far as the file has them.
std::vector<const PageChunk*> pagesOf(const PageFile& file, const SoundEntry& entry)
{
    std::vector<const PageChunk*> pages;
    const std::size_t first = file.soundStart + std::size_t{entry.firstPage};
    for (std::size_t page = first; page < first + pagesOfSound(entry) && page < file.chunks.size(); ++page)
        pages.push_back(&file.chunks[page]);
    return pages;
}

bool sameSound(Side original, const SoundEntry& was, Side changed, const SoundEntry& is)
{
    const std::vector<const PageChunk*> before = pagesOf(original.file, was);
    const std::vector<const PageChunk*> after = pagesOf(changed.file, is);
    if (was.length != is.length || before.size() != after.size())
        return false;
    for (std::size_t page = 0; page < before.size(); ++page)
        if (!sameChunk(original.bytes, *before[page], changed.bytes, *after[page]))
            return false;
    return true;
}

Bytes samplesOf(Side changed, std::size_t number)
{
    const SoundEntry& entry = changed.file.sounds[number];
    Bytes samples;
    for (const PageChunk* page : pagesOf(changed.file, entry)) {
        const Bytes bytes = storedBytes(changed.bytes, *page);
        samples.insert(samples.end(), bytes.begin(), bytes.end());
    }
    if (samples.size() != entry.length || samples.empty())
        throw RunError::message("sound " + std::to_string(number) + " is " + std::to_string(entry.length)
                                + " bytes long, and its pages hold " + std::to_string(samples.size())
                                + ": a mod holds only a sound whose pages hold it");
    return samples;
}

void planSounds(ModPlan& plan, Side original, Side changed, HeldBytes& held)
{
    const std::size_t had = original.file.sounds.size();
    const std::size_t has = changed.file.sounds.size();
    if (has < had)
        throw RunError::message("it has " + std::to_string(has) + (has == 1 ? " sound" : " sounds") + ", the original "
                                + std::to_string(had) + ": a mod changes and adds sounds, and removes none");
    for (std::size_t number = 0; number < has; ++number) {
        const SoundEntry& entry = changed.file.sounds[number];
        if (number < had && sameSound(original, original.file.sounds[number], changed, entry))
            continue;
        ChunkReplacement replacement;
        replacement.kind = ItemKind::Sound;
        replacement.number = static_cast<std::int32_t>(number);
        replacement.index = static_cast<std::int32_t>(changed.file.soundStart + std::size_t{entry.firstPage});
        replacement.added = number >= had;
        replacement.bytes = samplesOf(changed, number);
        held.add(replacement.bytes.size());
        plan.replacements.push_back(std::move(replacement));
    }
}

// The bytes of a file the table and its chunks take, each run with the
// first chunk in it (-1: the table), in order and merged where they touch.
struct Taken {
    std::int64_t from;
    std::int64_t to;
    std::int32_t chunk;
};

std::vector<Taken> takenBytes(ByteFile& file)
{
    const StoredTable table = readStoredTable(file);
    const std::int64_t size = file.size();
    std::vector<Taken> taken{{0, static_cast<std::int64_t>(page_file_limits::tableSize(table.offsets.size())), -1}};
    for (std::size_t i = 0; i < table.offsets.size(); ++i)
        if (table.offsets[i] != 0)
            taken.push_back({table.offsets[i], std::min<std::int64_t>(table.offsets[i] + table.lengths[i], size),
                             static_cast<std::int32_t>(i)});
    std::sort(taken.begin(), taken.end(), [](const Taken& a, const Taken& b) { return a.from < b.from; });
    std::vector<Taken> merged;
    for (const Taken& run : taken) {
        if (!merged.empty() && run.from <= merged.back().to)
            merged.back().to = std::max(merged.back().to, run.to);
        else
            merged.push_back(run);
    }
    return merged;
}

std::string whereIn(const Taken& run, std::int64_t at)
{
    if (run.chunk < 0)
        return "its table differs from the original's with these changes at byte " + std::to_string(at)
            + ": its chunks lie elsewhere than writing the original with them puts them";
    return "the chunk at byte " + std::to_string(run.from) + " (chunk " + std::to_string(run.chunk)
        + ") differs from the original's with these changes at byte " + std::to_string(at)
        + ": it is no wall, sprite or sound a mod can change, or not in the place the original gives it";
}

// Compares what the original with the plan writes with the changed file,
// byte for byte, as it is written; every range of bytes that differs goes
// to `differ`.
void compareWritten(const PageFile& result, ByteFile& originalFile, const std::vector<ResultBytes>& runs,
                    ByteFile& changedFile, const std::function<void(std::int64_t, std::int64_t)>& differ)
{
    const std::int64_t size = changedFile.size();
    std::int64_t at = 0;
    Bytes theirs;
    const FileFacts written
        = writeModResult(result, &originalFile, runs, std::numeric_limits<std::int64_t>::max(),
                         [&](const std::uint8_t* data, std::size_t count) {
                             const auto available = static_cast<std::size_t>(
                                 std::clamp<std::int64_t>(size - at, 0, static_cast<std::int64_t>(count)));
                             theirs.resize(available);
                             changedFile.seek(at);
                             changedFile.readBytes(theirs.data(), available);
                             for (std::size_t i = 0; i < count;) {
                                 if (i < available && data[i] == theirs[i]) {
                                     ++i;
                                     continue;
                                 }
                                 std::size_t end = i + 1;
                                 while (end < count && !(end < available && data[end] == theirs[end]))
                                     ++end;
                                 differ(at + static_cast<std::int64_t>(i), at + static_cast<std::int64_t>(end));
                                 i = end;
                             }
                             at += static_cast<std::int64_t>(count);
                         });
    if (written.size != size)
        throw RunError::message("it is " + std::to_string(size) + " bytes long, and the original with these changes "
                                + std::to_string(written.size));
}

// The changed file's own bytes in the gaps where the original with the
// plan writes others: one run from the first to the last differing byte of
// each gap. A difference in the table or a chunk cannot be so held.
std::vector<ResultBytes> bytesOutsideChunks(const PageFile& result, ByteFile& originalFile, ByteFile& changedFile)
{
    const std::vector<Taken> taken = takenBytes(changedFile);
    struct Run {
        std::size_t gap;  // the taken run after which it lies
        std::int64_t from;
        std::int64_t to;
    };
    std::vector<Run> runs;
    std::size_t next = 0;  // the first taken run that ends after the bytes compared
    compareWritten(result, originalFile, {}, changedFile, [&](std::int64_t from, std::int64_t to) {
        while (from < to) {
            while (next < taken.size() && taken[next].to <= from)
                ++next;
            if (next < taken.size() && taken[next].from <= from)
                throw RunError::message(whereIn(taken[next], from));
            const std::int64_t gapEnd
                = next < taken.size() ? taken[next].from : std::numeric_limits<std::int64_t>::max();
            const std::int64_t end = std::min(to, gapEnd);
            if (!runs.empty() && runs.back().gap == next)
                runs.back().to = end;
            else
                runs.push_back({next, from, end});
            from = end;
        }
    });
    std::vector<ResultBytes> bytes;
    std::uint64_t total = 0;
    for (const Run& run : runs) {
        const auto length = static_cast<std::size_t>(run.to - run.from);
        total += length;
        if (length > mod_limits::MostRunBytes || total > mod_limits::MostInflatedBytes)
            throw RunError::message("its bytes at " + std::to_string(run.from) + " outside its chunks differ from the "
                                    "original's over " + std::to_string(length)
                                    + " bytes, more than a mod holds");
        ResultBytes kept{run.from, Bytes(length)};
        changedFile.seek(run.from);
        changedFile.readBytes(kept.bytes.data(), length);
        bytes.push_back(std::move(kept));
    }
    return bytes;
}

}  // namespace

ModPlan planMod(const PageFile& original, ByteFile& originalFile, const PageFile& changed, ByteFile& changedFile)
{
    const Side was{original, originalFile};
    const Side is{changed, changedFile};
    ModPlan plan;
    HeldBytes held;
    planPictures(plan, ItemKind::Wall, was, is, held);
    planPictures(plan, ItemKind::Sprite, was, is, held);
    planSounds(plan, was, is, held);

    PageFile result = applyMod(original, plan);
    if (result.sounds != changed.sounds || result.soundInfoTerminated != changed.soundInfoTerminated)
        plan.soundTable = SoundTable{changed.sounds, changed.soundInfoTerminated};
    if (result.trailing.length != changed.trailing.length) {
        if (changed.trailing.length > mod_limits::MostTrailingBytes)
            throw RunError::message("it has " + std::to_string(changed.trailing.length)
                                    + " bytes after its last chunk, more than a mod holds");
        plan.trailingLength = changed.trailing.length;
    }
    if (plan.soundTable || plan.trailingLength)
        result = applyMod(original, plan);
    plan.resultBytes = bytesOutsideChunks(result, originalFile, changedFile);

    compareWritten(result, originalFile, plan.resultBytes, changedFile, [](std::int64_t from, std::int64_t) {
        throw RunError::message("the original with these changes differs from it at byte " + std::to_string(from));
    });
    return plan;
}

}  // namespace pagelark
