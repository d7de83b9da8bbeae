#include "cli/patch_command.h"

#include "archive/byte_file.h"
#include "archive/output_file.h"
#include "archive/page_file.h"
#include "archive/printable_text.h"
#include "mods/known_games.h"
#include "mods/mod_archive.h"
#include "mods/mod_limits.h"
#include "mods/mod_result.h"
#include "mods/sha256_qt.h"

#include <optional>

namespace pagelark::cli {

namespace {

using Bytes = std::vector<std::uint8_t>;

// The mod file read whole, refused unread when it is longer than any mod.
Bytes modBytes(ByteFile& file, const std::string& path)
{
    return namingFile(path, [&] {
        file.openRead(path);
        const std::int64_t size = file.size();
        if (size > mod_limits::MostModFileBytes)
            throw RunError::message("it is " + std::to_string(size) + " bytes long, longer than a mod may be (at most "
                                    + std::to_string(mod_limits::MostModFileBytes) + ")");
        Bytes bytes(static_cast<std::size_t>(size));
        file.readBytes(bytes.data(), bytes.size());
        return bytes;
    });
}

void requireOriginal(ByteFile& file, const PatchRequest& request, const ModManifest& manifest)
{
    const FileFacts facts = namingFile(request.originalPath, [&] {
        return FileFacts{file.size(), sha256OfFile(file)};
    });
    if (facts == manifest.original)
        return;
    std::string madeFor
        = std::to_string(manifest.original.size) + " bytes, SHA-256 " + shortHash(manifest.original.sha256);
    if (!manifest.originalGame.empty())
        madeFor = gameInMessage(manifest.originalGame) + ", " + madeFor;
    throw RunError::message(request.originalPath + ": not the file " + request.modPath + " was made for: this one is "
                            + std::to_string(facts.size) + " bytes, SHA-256 " + shortHash(facts.sha256)
                            + "; the mod's original is " + madeFor);
}

}  // namespace

// Nothing a patch does is worth a warning: it gives back the file or refuses.
void patchPageFile(const PatchRequest& request, std::ostream& out, std::ostream& /*problems*/)
{
    ByteFile modFile;
    std::optional<ModArchive> mod;
    Bytes zip = modBytes(modFile, request.modPath);
    namingFile(request.modPath, [&] { mod.emplace(std::move(zip)); });
    const ModManifest& manifest = mod->manifest();

    ByteFile originalFile;
    namingFile(request.originalPath, [&] { originalFile.openRead(request.originalPath); });
    requireOriginal(originalFile, request, manifest);
    const PageFile original = namingFile(request.originalPath, [&] { return readPageFile(originalFile); });
    const ModPlan plan = namingFile(request.modPath, [&] { return mod->plan(); });

    // The result is made and checked in memory first, so that a mod that
    // lies is refused by name before an output is begun; the output is
    // checked again before it takes its name.
    const PageFile result = namingFile(request.modPath, [&] {
        PageFile made = applyModArchive(original, manifest, plan);
        checkResultFacts(writeModResult(made, &originalFile, plan.resultBytes, manifest.result.size,
                                        [](const std::uint8_t*, std::size_t) {}),
                         manifest.result);
        return made;
    });
    namingFile(request.outputPath, [&] {
        OutputFile output(request.outputPath, {originalFile.identity(), modFile.identity()}, OutputAccess::Shared,
                          OutputDurability::Flushed);
        const FileFacts written
            = writeModResult(result, &originalFile, plan.resultBytes, manifest.result.size,
                             [&](const std::uint8_t* data, std::size_t count) { output.write(data, count); });
        if (!(written == manifest.result))
            throw RunError::message("the file written is not the one " + request.modPath
                                    + " makes: was the original changed while it was read?");
        output.commit();
    });
    out << printableText(request.outputPath) << ": " << manifest.chunks.size()
        << (manifest.chunks.size() == 1 ? " chunk" : " chunks") << " of " << printableText(request.modPath)
        << " applied, " << manifest.result.size << " bytes, SHA-256 " << shortHash(manifest.result.sha256) << '\n';
}

}  // namespace pagelark::cli
