#include "cli/diff_command.h"

#include "archive/output_file.h"
#include "archive/page_file.h"
#include "archive/printable_text.h"
#include "cli/opened_vswap.h"
#include "mods/mod_making.h"
#include "pictures/chunk_picture.h"
#include "pictures/png_files_qt.h"

#include <array>

namespace pagelark::cli {

namespace {

using Bytes = std::vector<std::uint8_t>;

// A wall's or sprite's picture as save writes it, from the changed file;
// none for a chunk that does not decode, or is too short to be listed.
void addPictures(ModContents& contents, OpenedVswap& changed, const Palette& palette, std::ostream& problems)
{
    for (ModEntry& entry : contents.manifest.chunks) {
        if (entry.kind == ItemKind::Sound || entry.absent)
            continue;
        std::optional<PixelGrid> grid;
        if (changed.table.isListed(entry.index))
            grid = pictureToKeepColoursOf(changed.file, changed.table.offset[entry.index], entry.kind);
        if (!grid) {
            problems << "pagelark-cli: " << printableText(changed.path) << ": " << kindName(entry.kind) << " "
                     << entry.number << " has no picture; the mod holds its bytes alone\n";
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

void diffPageFiles(const DiffRequest& request, std::ostream& out, std::ostream& problems)
{
    const Palette palette = paletteFrom(request.palettePath);
    const auto original = openVswap(request.originalPath);
    const auto changed = openVswap(request.changedPath);
    const PageFile originalFile = namingFile(original->path, [&] { return readPageFile(original->file); });
    const PageFile changedFile = namingFile(changed->path, [&] { return readPageFile(changed->file); });
    ModContents contents = namingFile(changed->path, [&] {
        try {
            return modContentsOfFiles(originalFile, original->file, changedFile, changed->file, request.programVersion);
        } catch (const RunError& error) {
            throw RunError(error.code(),
                           std::string("no mod of ") + original->path + " gives it back: " + error.text());
        }
    });
    addPictures(contents, *changed, palette, problems);
    const Bytes zip = namingFile(request.modPath, [&] { return modZipBytes(contents); });
    namingFile(request.modPath, [&] {
        try {
            checkModResult(zip, originalFile, original->file);
        } catch (const RunError& error) {
            throw RunError(error.code(),
                           std::string("the mod made does not give back ") + changed->path + ": " + error.text());
        }
    });

    namingFile(request.modPath, [&] {
        writeFileSafely(request.modPath, zip, {original->file.identity(), changed->file.identity()});
    });
    out << printableText(request.modPath) << ": " << summary(contents.manifest) << ", " << zip.size() << " bytes\n";
}

}  // namespace pagelark::cli
