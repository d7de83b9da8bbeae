// The page files pack and replace write reach the disk before their names
// lead to them, so that a crash leaves the old file or the whole new one.
#include "archive/byte_file.h"
#include "archive/page_file.h"
#include "cli/pack_command.h"
#include "cli/replace_command.h"
#include "tests/cli/mod_commands.h"
#include "tests/cli/run_cli.h"
#include "tests/support/commit_steps.h"
#include "tests/support/temp_dir.h"
#include "tools/demo_vswap.h"

#include <gtest/gtest.h>

#include <sstream>

namespace pagelark {
namespace {

TEST(PageFileDurability, PackAndReplaceFlushTheirPageFileBeforeTheRename)
{
    testing::TempDir dir;
    ASSERT_EQ(testing::runCli({"save", PAGELARK_BIN_DIR "/VSWAP.DMO", dir.file("out")}).status, 0);
    const testing::CommitSteps steps;
    std::ostringstream out;
    cli::PackRequest pack;
    pack.folder = dir.file("out");
    pack.outputPath = dir.file("PACKED.DMO");
    pack.palettePath = PAGELARK_BIN_DIR "/wolfenstein.pal";
    cli::packFolder(pack, out, out);
    cli::ReplaceRequest replace;
    replace.vswapPath = PAGELARK_BIN_DIR "/VSWAP.DMO";
    replace.outputPath = dir.file("REPLACED.DMO");
    replace.palettePath = pack.palettePath;
    replace.replacements = {{0, dir.file("out/wall0000.bmp")}};
    cli::replaceChunks(replace, out, out);
    for (const std::string& path : {pack.outputPath, replace.outputPath})
        EXPECT_EQ(steps.of(path), (std::vector<std::string>{"flushed", "renamed"})) << path;
}

TEST(PageFileDurability, PatchFlushesItsPageFileBeforeTheRename)
{
    testing::TempDir dir;
    const std::string original = dir.file("VSWAP.DMO");
    testing::writeFileBytes(original, tools::buildDemoVswap());
    ByteFile file;
    file.openRead(original);
    PageFile model = readPageFile(file);
    replaceChunk(model, 0, std::vector<std::uint8_t>(4096, 7));
    testing::writeFileBytes(dir.file("CHANGED.DMO"), pageFileBytes(model, &file));
    testing::diffFiles(original, dir.file("CHANGED.DMO"), dir.file("mod.zip"));
    const testing::CommitSteps steps;
    testing::patchFile(original, dir.file("mod.zip"), dir.file("PATCHED.DMO"));
    EXPECT_EQ(steps.of(dir.file("PATCHED.DMO")), (std::vector<std::string>{"flushed", "renamed"}));
}

}  // namespace
}  // namespace pagelark
