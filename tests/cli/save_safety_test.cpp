// What save does with careless arguments, a full disk and odd numbering.
#include "tests/cli/run_cli.h"
#include "tests/support/temp_dir.h"
#include "tests/support/vswap_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace pagelark::testing {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> filesIn(const std::string& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Two walls and a short sound.
std::vector<std::uint8_t> wallsAndASound()
{
    return tools::VswapWriter()
        .wall({std::vector<std::uint8_t>(4096, 1), false, {}})
        .wall({std::vector<std::uint8_t>(4096, 2), false, {}})
        .soundPage({std::vector<std::uint8_t>(50, 128), false, {}})
        .sound(0, 50)
        .build();
}

TEST(SaveSafety, AnEmptyFolderNameIsAUsageErrorNotTheRootFolder)
{
    TempDir dir;
    testing::writeFileBytes(dir.file("VSWAP.TST"), wallsAndASound());
    const bool rootHadOne = fs::exists("/wall0000.bmp");
    const CommandResult run = runCli({"save", dir.file("VSWAP.TST"), "", "0"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err.rfind("pagelark-cli: OUTDIR: the name is empty\n", 0), 0u) << run.err;
    EXPECT_EQ(fs::exists("/wall0000.bmp"), rootHadOne);
}

// Files may not grow past 2 KiB: each bitmap fails as on a full disk, after
// its first bytes would have been written.
TEST(SaveSafety, AFullDiskLeavesNoFileHalfWritten)
{
    TempDir dir;
    testing::writeFileBytes(dir.file("VSWAP.TST"), wallsAndASound());
    fs::create_directory(dir.file("out"));
    testing::writeFileBytes(dir.file("out/wall0001.bmp"), {1, 2, 3});
    const CommandResult run = testing::runCommand("/bin/sh",
                                                  {"-c", "trap '' XFSZ; ulimit -f 4; exec \"$@\"", "sh", PAGELARK_CLI,
                                                   "save", dir.file("VSWAP.TST"), dir.file("out")});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_EQ(filesIn(dir.file("out")), std::vector<std::string>{"wall0001.bmp"});
    EXPECT_EQ(testing::readFileBytes(dir.file("out/wall0001.bmp")), (std::vector<std::uint8_t>{1, 2, 3}));
}

// A sound information chunk whose entries renumber the same pages over and
// over, so that the pages are listed as sounds 0, 9999 and 10000.
TEST(SaveSafety, NumbersAboveFourDigitsKeepThemAndNoTwoChunksShareAName)
{
    tools::VswapWriter writer;
    for (int page = 0; page < 3; ++page)
        writer.soundPage({std::vector<std::uint8_t>(20, static_cast<std::uint8_t>(page)), false, {}});
    writer.sound(0, 20);
    for (int k = 1; k <= 9999; ++k)
        writer.sound(1, 20);
    writer.sound(2, 20);
    TempDir dir;
    testing::writeFileBytes(dir.file("VSWAP.TST"), writer.build());
    fs::create_directory(dir.file("out"));
    const CommandResult run = runCli({"save", dir.file("VSWAP.TST"), dir.file("out")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(filesIn(dir.file("out")),
              (std::vector<std::string>{"sound0000.wav", "sound10000.wav", "sound9999.wav", "vswap-layout.txt"}));
    EXPECT_EQ(testing::readFileBytes(dir.file("out/sound10000.wav")).back(), 2);
}

TEST(SaveSafety, APaletteWithoutAllItsColoursIsRefusedNamingIt)
{
    TempDir dir;
    testing::writeFileBytes(dir.file("VSWAP.TST"), wallsAndASound());
    std::string tenColours = "JASC-PAL\n0100\n256\n";
    for (int i = 0; i < 10; ++i)
        tenColours += "1 2 3\n";
    testing::writeFileText(dir.file("ten.pal"), tenColours);
    testing::writeFileText(dir.file("empty.pal"), "");
    for (const auto& [palette, colours] : {std::pair{dir.file("ten.pal"), 10}, std::pair{dir.file("empty.pal"), 0}}) {
        const CommandResult run
            = runCli({"save", "--format", "png", "--palette", palette, dir.file("VSWAP.TST"), dir.path().string()});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err,
                  "pagelark-cli: " + palette + ": not a palette of 256 colours: it holds " + std::to_string(colours)
                      + "\n");
    }
    EXPECT_FALSE(fs::exists(dir.file("wall0000.png")));
}

}  // namespace
}  // namespace pagelark::testing
