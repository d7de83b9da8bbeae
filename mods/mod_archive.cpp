#include "mods/mod_archive.h"

#include "archive/page_file.h"
#include "archive/run_error.h"
#include "mods/mod_apply.h"
#include "mods/mod_limits.h"
#include "mods/mod_manifest_qt.h"
#include "saved_folder/saved_item_name.h"
#include "sounds/wav_writer.h"

#include <algorithm>
#include <set>

namespace pagelark {

using namespace mod_limits;

namespace {

using Bytes = std::vector<std::uint8_t>;

std::string entryName(const ModEntry& entry)
{
    return std::string(kindName(entry.kind)) + " " + std::to_string(entry.number);
}

std::string fileName(const ChunkReplacement& replacement)
{
    return savedItemFileName("", replacement.kind, replacement.number, ".bin");
}

ModManifest manifestIn(ZipReader& zip)
{
    if (!zip.members().contains(ModManifestName))
        throw RunError::message(std::string("it has no ") + ModManifestName + ": it is no mod");
    return parseManifest(zip.read(ModManifestName, MostManifestBytes));
}

// Every name the manifest gives is a plain one the zip holds, given once,
// and the zip holds nothing else.
void checkNames(const ModManifest& manifest, const ZipReader& zip)
{
    std::set<std::string> named{ModManifestName};
    const auto name = [&](const std::string& file, const std::string& what) {
        if (!isPlainMemberName(file))
            throw RunError::message(what + " is \"" + memberNameInMessage(file) + "\", which is no plain file name");
        if (!named.insert(file).second)
            throw RunError::message(what + " is " + memberNameInMessage(file) + ", which is named twice");
        if (!zip.members().contains(file))
            throw RunError::message(what + " is " + memberNameInMessage(file) + ", which the zip does not hold");
    };
    for (const ModEntry& entry : manifest.chunks) {
        if (!entry.bytesFile.empty())
            name(entry.bytesFile, "the file of " + entryName(entry));
        if (!entry.pictureFile.empty())
            name(entry.pictureFile, "the picture of " + entryName(entry));
    }
    for (const ModBytesEntry& run : manifest.bytes)
        name(run.file, "the file of the bytes at " + std::to_string(run.offset));
    for (const auto& [member, size] : zip.members())
        if (!named.contains(member))
            throw RunError::message("it holds " + memberNameInMessage(member) + ", which " + ModManifestName
                                    + " does not name");
}

// A sound's samples, from a WAV file as the program writes it.
Bytes samplesOf(const Bytes& wav, const ModEntry& entry)
{
    const WavHeader header = wavHeaderFor(static_cast<std::int32_t>(entry.length));
    if (!std::equal(header.begin(), header.end(), wav.begin()))
        throw RunError::message(entry.bytesFile + " is not the WAV file of " + std::to_string(entry.length)
                                + " samples the program writes for " + entryName(entry));
    return Bytes(wav.begin() + WavHeaderSize, wav.end());
}

ChunkReplacement replacementOf(const ModEntry& entry, ZipReader& zip)
{
    ChunkReplacement replacement;
    static_cast<ChunkChange&>(replacement) = entry;
    if (entry.absent) {
        replacement.absentLength = static_cast<std::uint16_t>(entry.length);
        return replacement;
    }
    const bool sound = entry.kind == ItemKind::Sound;
    const std::size_t needed = entry.length + (sound ? WavHeaderSize : 0);
    // The member is not inflated beyond the length the entry gives it.
    Bytes bytes = zip.read(entry.bytesFile, needed);
    if (bytes.size() != needed)
        throw RunError::message(entry.bytesFile + " is " + std::to_string(bytes.size()) + " bytes long, where "
                                + entryName(entry) + " of " + std::to_string(entry.length) + " bytes needs "
                                + std::to_string(needed));
    replacement.bytes = sound ? samplesOf(bytes, entry) : std::move(bytes);
    return replacement;
}

}  // namespace

ModContents modContentsOf(const ModPlan& plan)
{
    ModContents contents;
    for (const ChunkReplacement& replacement : plan.replacements) {
        ModEntry entry;
        static_cast<ChunkChange&>(entry) = replacement;
        entry.length
            = static_cast<std::uint32_t>(replacement.absent ? replacement.absentLength : replacement.bytes.size());
        if (!replacement.absent) {
            entry.bytesFile = fileName(replacement);
            contents.members.push_back(
                {entry.bytesFile,
                 replacement.kind == ItemKind::Sound ? wavFileBytes(replacement.bytes) : replacement.bytes});
        }
        contents.manifest.chunks.push_back(std::move(entry));
    }
    for (std::size_t n = 0; n < plan.resultBytes.size(); ++n) {
        const ResultBytes& run = plan.resultBytes[n];
        const std::string name = "bytes" + itemDigits(static_cast<std::int32_t>(n)) + ".bin";
        contents.manifest.bytes.push_back({run.offset, static_cast<std::uint32_t>(run.bytes.size()), name});
        contents.members.push_back({name, run.bytes});
    }
    contents.manifest.soundTable = plan.soundTable;
    contents.manifest.trailingLength = plan.trailingLength;
    return contents;
}

std::string modPictureName(ItemKind kind, std::int32_t number) { return savedItemFileName("", kind, number, ".png"); }

Bytes modZipBytes(const ModContents& contents)
{
    std::vector<ZipMember> members{{ModManifestName, manifestJson(contents.manifest)}};
    members.insert(members.end(), contents.members.begin(), contents.members.end());
    return zipBytes(members);
}

ModArchive::ModArchive(Bytes zipBytes) : zip_(std::move(zipBytes)), manifest_(manifestIn(zip_))
{
    checkNames(manifest_, zip_);
    // Pictures are only looked at; a picture too large is refused all the same.
    for (const ModEntry& entry : manifest_.chunks)
        if (!entry.pictureFile.empty() && zip_.members().at(entry.pictureFile) > MostPictureBytes)
            throw RunError::message(entry.pictureFile + " is " + std::to_string(zip_.members().at(entry.pictureFile))
                                    + " bytes long, more than a picture of a chunk takes (at most "
                                    + std::to_string(MostPictureBytes) + ")");
}

ModPlan ModArchive::plan()
{
    ModPlan plan;
    for (const ModEntry& entry : manifest_.chunks) {
        if (entry.kind == ItemKind::Sound && !entry.pictureFile.empty())
            throw RunError::message(entryName(entry) + " has a picture: a sound has none");
        plan.replacements.push_back(replacementOf(entry, zip_));
    }
    std::int64_t end = 0;
    for (const ModBytesEntry& run : manifest_.bytes) {
        if (run.offset < end)
            throw RunError::message("the bytes at " + std::to_string(run.offset)
                                    + " come before the end of the bytes given before them, at " + std::to_string(end));
        Bytes bytes = zip_.read(run.file, run.length);
        if (bytes.size() != run.length)
            throw RunError::message(run.file + " is " + std::to_string(bytes.size())
                                    + " bytes long, where its entry says " + std::to_string(run.length));
        end = run.offset + run.length;
        plan.resultBytes.push_back({run.offset, std::move(bytes)});
    }
    plan.soundTable = manifest_.soundTable;
    plan.trailingLength = manifest_.trailingLength;
    return plan;
}

PageFile applyModArchive(const PageFile& original, const ModManifest& manifest, const ModPlan& plan)
{
    PageFile result = applyMod(original, plan);
    const auto count = static_cast<std::int32_t>(result.chunks.size() + 1);
    if (count != manifest.chunkCount || result.spriteStart != manifest.spriteStart
        || result.soundStart != manifest.soundStart)
        throw RunError::message("it says it makes a file of " + std::to_string(manifest.chunkCount)
                                + " chunks, sprites from " + std::to_string(manifest.spriteStart) + " and sounds from "
                                + std::to_string(manifest.soundStart) + "; its changes make one of "
                                + std::to_string(count) + ", " + std::to_string(result.spriteStart) + " and "
                                + std::to_string(result.soundStart));
    return result;
}

}  // namespace pagelark
