#include "tests/support/command_run.h"
#include "tests/support/temp_dir.h"
#include "tools/vswap_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pagelark {
namespace {

using testing::CommandResult;
using testing::TempDir;
using tools::VswapWriter;

CommandResult runExtract(const std::vector<std::string>& args)
{
    return testing::runCommand(PAGELARK_EXTRACT, args);
}

VswapWriter::Chunk bytesOf(std::size_t count) { return {std::vector<std::uint8_t>(count, 9), false, {}}; }

TEST(ExtractList, PrintsTheListLinesOnePerLine)
{
    TempDir dir;
    VswapWriter writer;
    writer.wall(bytesOf(4096)).wall(bytesOf(4096)).sprite(bytesOf(30)).soundPage(bytesOf(40)).sound(0, 40);
    testing::writeFileBytes(dir.file("VSWAP.TST"), writer.build());
    const auto before = testing::readFileBytes(dir.file("VSWAP.TST"));

    const CommandResult run = runExtract({"list", dir.file("VSWAP.TST")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "   0 wall      0\n   1 wall      1\n   2 sprite    0\n   3 sound     0\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(testing::readFileBytes(dir.file("VSWAP.TST")), before);
}

TEST(ExtractList, ErrorsNameTheFileAndTheProgramsErrorText)
{
    TempDir dir;
    const CommandResult missing = runExtract({"list", dir.file("nothing")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "pagelark-extract: " + dir.file("nothing") + ": File not found\n");

    testing::writeFileBytes(dir.file("cut"), {5, 0, 1, 0, 2, 0, 0, 0});
    const CommandResult cut = runExtract({"list", dir.file("cut")});
    EXPECT_EQ(cut.status, 1);
    EXPECT_EQ(cut.err, "pagelark-extract: " + dir.file("cut") + ": Read beyond end of file\n");
    EXPECT_EQ(cut.out, "");

    testing::writeFileBytes(dir.file("huge"), {0x58, 0x1B, 0, 0, 0, 0});
    const CommandResult huge = runExtract({"list", dir.file("huge")});
    EXPECT_EQ(huge.status, 1);
    EXPECT_EQ(huge.err, "pagelark-extract: " + dir.file("huge") + ": Not a VSWAP file: 7000 chunks, at most 6144\n");
}

TEST(ExtractList, UsageHelpAndVersion)
{
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, {"list"}, {"frobnicate", "x"}, {"list", "a", "b"}}) {
        const CommandResult run = runExtract(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find("Usage: pagelark-extract"), std::string::npos);
        EXPECT_EQ(run.out, "");
    }
    const CommandResult help = runExtract({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage: pagelark-extract"), std::string::npos);
    const CommandResult version = runExtract({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "pagelark-extract 3.3\n");
}

}  // namespace
}  // namespace pagelark
