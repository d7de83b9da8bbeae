#include "mods/mod_of_files.h"

#include "archive/byte_file.h"
#include "archive/chunk_table.h"
#include "archive/page_file.h"
#include "archive/run_error.h"
#include "mods/known_games.h"
#include "mods/mod_archive.h"
#include "mods/mod_limits.h"
#include "mods/mod_making.h"
#include "mods/mod_result.h"
#include "mods/sha256_qt.h"
#include "pictures/chunk_picture.h"
#include "pictures/png_files_qt.h"

#include <array>

namespace pagelark {

namespace {

// A wall's or sprite's picture as save writes it, from the changed file;
// none for a chunk that does not decode, or is too short to be listed.
void addPictures(ModContents& contents, ByteFile& changed, const Palette& palette, std::vector<std::string>& without)
{
    VswapHeader header;
    ChunkTable table;
    readChunkTable(changed, header, table);
    for (ModEntry& entry : contents.manifest.chunks) {
        if (entry.kind == ItemKind::Sound || entry.absent)
            continue;
        std::optional<PixelGrid> grid;
        if (table.isListed(entry.index))
            grid = pictureToKeepColoursOf(changed, table.offset[entry.index], entry.kind);
        if (!grid) {
            without.push_back(std::string(kindName(entry.kind)) + " " + std::to_string(entry.number));
            continue;
        }
        entry.pictureFile = modPictureName(entry.kind, entry.number);
        contents.members.push_back(
            {entry.pictureFile, indexedPngBytes(*grid, palette, entry.kind == ItemKind::Sprite)});
    }
}

std::string summary(const ModManifest& manifest)
{
    std::array<std::array<std::size_t, 2>, 3> counts{};
    for (const ModEntry& entry : manifest.chunks)
        ++counts[static_cast<std::size_t>(entry.kind) - 1][entry.added ? 1 : 0];
    std::string text;
    for (const bool added : {false, true})
        for (const ItemKind kind : ItemKinds) {
            const std::size_t count = counts[static_cast<std::size_t>(kind) - 1][added ? 1 : 0];
            if (count > 0)
                text += (text.empty() ? "" : ", ") + std::to_string(count) + " " + kindName(kind)
                    + (count == 1 ? "" : "s") + (added ? " added" : " changed");
        }
    if (!manifest.bytes.empty())
        text += (text.empty() ? "" : ", ") + std::to_string(manifest.bytes.size()) + " runs of other bytes";
    return text.empty() ? "no chunk changed" : text;
}

}  // namespace

MadeMod madeMod(const ModSide& original, const ModSide& changed, const Palette& palette,
                const std::string& programVersion)
{
    const PageFile originalFile = namingFile(original.path, [&] { return readPageFile(original.file); });
    const PageFile changedFile = namingFile(changed.path, [&] { return readPageFile(changed.file); });
    MadeMod made;
    ModContents contents = namingFile(changed.path, [&] {
        try {
            return modContentsOfFiles(originalFile, original.file, changedFile, changed.file, programVersion);
        } catch (const RunError& error) {
            throw RunError(error.code(), "no mod of " + original.path + " gives it back: " + error.text());
        }
    });
    namingFile(changed.path, [&] { addPictures(contents, changed.file, palette, made.withoutPicture); });
    made.zip = modZipBytes(contents);
    try {
        checkModResult(made.zip, originalFile, original.file);
    } catch (const RunError& error) {
        throw RunError(error.code(), "the mod made does not give back " + changed.path + ": " + error.text());
    }
    made.summary = summary(contents.manifest);
    return made;
}

std::vector<std::uint8_t> modFileBytes(ByteFile& file, const std::string& path)
{
    return namingFile(path, [&] {
        file.openRead(path);
        const std::int64_t size = file.size();
        if (size > mod_limits::MostModFileBytes)
            throw RunError::message("it is " + std::to_string(size) + " bytes long, longer than a mod may be (at most "
                                    + std::to_string(mod_limits::MostModFileBytes) + ")");
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
        file.readBytes(bytes.data(), bytes.size());
        return bytes;
    });
}

void requireModOriginal(const FileFacts& facts, const std::string& originalPath, const std::string& modPath,
                        const ModManifest& manifest)
{
    if (facts == manifest.original)
        return;
    std::string madeFor
        = std::to_string(manifest.original.size) + " bytes, SHA-256 " + shortHash(manifest.original.sha256);
    if (!manifest.originalGame.empty())
        madeFor = gameInMessage(manifest.originalGame) + ", " + madeFor;
    throw RunError::message(originalPath + ": not the file " + modPath + " was made for: this one is "
                            + std::to_string(facts.size) + " bytes, SHA-256 " + shortHash(facts.sha256)
                            + "; the mod's original is " + madeFor);
}

PageFile modApplied(const std::string& modPath, const ModSide& shown, const PageFile& current, ByteFile& source)
{
    ByteFile modFile;
    std::vector<std::uint8_t> zip = modFileBytes(modFile, modPath);
    std::optional<ModArchive> mod;
    namingFile(modPath, [&] { mod.emplace(std::move(zip)); });
    const ModManifest& manifest = mod->manifest();
    const FileFacts facts = namingFile(shown.path, [&] {
        return FileFacts{shown.file.size(), sha256OfFile(shown.file)};
    });
    requireModOriginal(facts, shown.path, modPath, manifest);
    return namingFile(modPath, [&] {
        const ModPlan plan = mod->plan();
        if (!plan.resultBytes.empty())
            throw RunError::message(
                "the mod changes bytes outside the chunks as well, which the window does not "
                "apply; apply it with pagelark-cli patch");
        PageFile made = applyModArchive(current, manifest, plan);
        checkResultFacts(
            writeModResult(made, &source, {}, manifest.result.size, [](const std::uint8_t*, std::size_t) {}),
            manifest.result);
        return made;
    });
}

}  // namespace pagelark
