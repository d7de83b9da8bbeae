#include "mods/mod_making.h"

#include "archive/byte_file.h"
#include "archive/page_file.h"
#include "mods/known_games.h"
#include "mods/mod_result.h"
#include "mods/sha256_qt.h"

namespace pagelark {

namespace {

FileFacts factsOf(ByteFile& file) { return {file.size(), sha256OfFile(file)}; }

VswapHeader headerOf(const PageFile& file)
{
    return {static_cast<std::int32_t>(file.chunks.size() + 1), file.spriteStart, file.soundStart};
}

}  // namespace

ModContents modContentsOfFiles(const PageFile& original, ByteFile& originalFile, const PageFile& changed,
                               ByteFile& changedFile, const std::string& programVersion)
{
    ModContents contents = modContentsOf(planMod(original, originalFile, changed, changedFile));
    ModManifest& manifest = contents.manifest;
    manifest.programVersion = programVersion;
    manifest.original = factsOf(originalFile);
    manifest.originalGame = gameOfHeader(headerOf(original));
    manifest.result = factsOf(changedFile);
    const VswapHeader result = headerOf(changed);
    manifest.chunkCount = result.chunkCount;
    manifest.spriteStart = result.spriteStart;
    manifest.soundStart = result.soundStart;
    return contents;
}

void checkModResult(const std::vector<std::uint8_t>& zip, const PageFile& original, ByteFile& originalFile)
{
    ModArchive archive(zip);
    const ModPlan plan = archive.plan();
    const PageFile result = applyModArchive(original, archive.manifest(), plan);
    const FileFacts& expected = archive.manifest().result;
    checkResultFacts(
        writeModResult(result, &originalFile, plan.resultBytes, expected.size, [](const std::uint8_t*, std::size_t) {}),
        expected);
}

}  // namespace pagelark
