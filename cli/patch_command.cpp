#include "cli/patch_command.h"

#include "archive/byte_file.h"
#include "archive/output_file.h"
#include "archive/page_file.h"
#include "archive/printable_text.h"
#include "mods/mod_archive.h"
#include "mods/mod_of_files.h"
#include "mods/mod_result.h"
#include "mods/sha256_qt.h"

#include <optional>

namespace pagelark::cli {

using Bytes = std::vector<std::uint8_t>;

// Nothing a patch does is worth a warning: it gives back the file or refuses.
void patchPageFile(const PatchRequest& request, std::ostream& out, std::ostream& /*problems*/)
{
    ByteFile modFile;
    std::optional<ModArchive> mod;
    Bytes zip = modFileBytes(modFile, request.modPath);
    namingFile(request.modPath, [&] { mod.emplace(std::move(zip)); });
    const ModManifest& manifest = mod->manifest();

    ByteFile originalFile;
    namingFile(request.originalPath, [&] { originalFile.openRead(request.originalPath); });
    const FileFacts facts = namingFile(request.originalPath, [&] {
        return FileFacts{originalFile.size(), sha256OfFile(originalFile)};
    });
    requireModOriginal(facts, request.originalPath, request.modPath, manifest);
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
