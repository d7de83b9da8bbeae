#include "tests/cli/run_cli.h"
#include "tests/support/sample_vswap.h"
#include "tests/support/temp_dir.h"
#include "tests/support/vswap_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pagelark::testing {
namespace {

using tools::VswapWriter;

TEST(ExtractList, PrintsTheListLinesWithTheirDescriptions)
{
    TempDir dir;
    testing::writeFileBytes(dir.file("VSWAP.WL6"), testing::fullSizeVswap());
    const auto before = testing::readFileBytes(dir.file("VSWAP.WL6"));

    const CommandResult run = runCli({"list", dir.file("VSWAP.WL6")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    const std::vector<std::string> lines = linesOf(run.out);
    ASSERT_EQ(lines.size(), 106u + 436u + 46u);
    EXPECT_EQ(lines[0], "   0 wall      0  Grey stone 1");
    EXPECT_EQ(lines[1], "   1 wall      1  Grey stone 1");
    EXPECT_EQ(lines[98], "  98 wall     98  Door");
    EXPECT_EQ(lines[105], " 105 wall    105  Locked Door");
    EXPECT_EQ(lines[106], " 106 sprite    0  Demo");
    EXPECT_EQ(lines[107], " 107 sprite    1  DeathCam");
    EXPECT_EQ(lines[106 + 60].substr(0, 39), " 166 sprite   60  Guard walking frame 1");
    EXPECT_EQ(lines[106 + 416].substr(0, 25), " 522 sprite  416  Weapons");
    EXPECT_EQ(lines[106 + 435].substr(0, 25), " 541 sprite  435  Weapons");
    // Sounds are described by their sound number, listed at their first page.
    EXPECT_EQ(lines[542].substr(0, 18), " 542 sound     0  ");
    EXPECT_GT(lines[542].size(), 18u);
    EXPECT_EQ(lines[543].substr(0, 16), " 545 sound     1");
    EXPECT_EQ(lines[587].substr(0, 16), " 660 sound    45");
    EXPECT_GT(lines[587].size(), 18u);
    EXPECT_EQ(testing::readFileBytes(dir.file("VSWAP.WL6")), before);
}

TEST(ExtractList, GameChoosesTheDescriptionFile)
{
    TempDir dir;
    testing::writeFileBytes(dir.file("VSWAP.WL6"), testing::fullSizeVswap());
    const auto wolf13 = linesOf(runCli({"list", "--game", "wolf13", dir.file("VSWAP.WL6")}).out);
    const auto byDefault = linesOf(runCli({"list", dir.file("VSWAP.WL6")}).out);
    EXPECT_EQ(wolf13, byDefault);
    const auto wolf10 = linesOf(runCli({"list", "--game", "wolf10", dir.file("VSWAP.WL6")}).out);
    const auto spear = linesOf(runCli({"list", dir.file("VSWAP.WL6"), "--game", "spear"}).out);
    ASSERT_EQ(wolf10.size(), wolf13.size());
    ASSERT_EQ(spear.size(), wolf13.size());
    EXPECT_NE(wolf10[107], wolf13[107]);  // the shareware 1.0 has no DeathCam
    EXPECT_NE(spear[0], wolf10[0].substr(0, 16));
    for (std::size_t i = 0; i < wolf13.size(); ++i) {
        EXPECT_EQ(wolf10[i].substr(0, 18), wolf13[i].substr(0, 18));
        EXPECT_EQ(spear[i].substr(0, 18), wolf13[i].substr(0, 18));
    }
}

TEST(ExtractList, ErrorsNameTheFileAndTheProgramsErrorText)
{
    TempDir dir;
    const CommandResult missing = runCli({"list", dir.file("nothing")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "pagelark-cli: " + dir.file("nothing") + ": File not found\n");

    testing::writeFileBytes(dir.file("cut"), {5, 0, 1, 0, 2, 0, 0, 0});
    const CommandResult cut = runCli({"list", dir.file("cut")});
    EXPECT_EQ(cut.status, 1);
    EXPECT_EQ(cut.err, "pagelark-cli: " + dir.file("cut") + ": Read beyond end of file\n");
    EXPECT_EQ(cut.out, "");

    testing::writeFileBytes(dir.file("huge"), {0x58, 0x1B, 0, 0, 0, 0});
    const CommandResult huge = runCli({"list", dir.file("huge")});
    EXPECT_EQ(huge.status, 1);
    EXPECT_EQ(huge.err, "pagelark-cli: " + dir.file("huge") + ": Not a VSWAP file: 7000 chunks, at most 6144\n");
}

TEST(ExtractList, UsageHelpAndVersion)
{
    for (const std::vector<std::string>& args : {std::vector<std::string>{},
                                                 {"list"},
                                                 {"frobnicate", "x"},
                                                 {"list", "a", "b"},
                                                 {"list", "--game", "doom", "a"},
                                                 {"list", "a", "--game"},
                                                 {"save", "a"},
                                                 {"save", "a", "b", "x1"},
                                                 {"save", "a", "b", "--prefix"}}) {
        const CommandResult run = runCli(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find("Usage: pagelark-cli"), std::string::npos);
        EXPECT_EQ(run.out, "");
    }
    const CommandResult help = runCli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage: pagelark-cli"), std::string::npos);
    EXPECT_NE(help.out.find("(sound0005.wav)"), std::string::npos);
    const CommandResult version = runCli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "pagelark-cli 3.3\n");
}

}  // namespace
}  // namespace pagelark::testing
