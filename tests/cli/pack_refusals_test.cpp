// Folders pack refuses, each with a message that says what to mend, before
// any picture is read and without writing anything; and what pack says of
// what it skips.
#include "tests/cli/run_cli.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace pagelark::testing {
namespace {

namespace fs = std::filesystem;

void writeText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// A saved demo folder, for the cases that need real chunk files.
void saveDemo(const std::string& folder)
{
    ASSERT_EQ(runCli({"save", PAGELARK_BIN_DIR "/VSWAP.DMO", folder}).status, 0);
}

TEST(PackRefusals, EachSaysWhatIsWrongAndWritesNothing)
{
    const std::string layoutStart = "sprite-start 8\nsound-start 45\npages 3\n";
    const struct {
        const char* what;
        std::function<void(const std::string& in)> setUp;
        std::string error;  // after "pagelark-cli: IN"
    } cases[] = {
        {"an empty folder", [](const std::string&) {},
         ": no chunk files to pack (wall0000.bmp, sprite0000.png, sound0000.wav and so on)"},
        {"a negative number", [](const std::string& in) { writeText(in + "/vswap-layout.txt", "sprite-start -1\n"); },
         "/vswap-layout.txt: line 1: '-1' is not a number from 0 to 6143"},
        {"a start missing",
         [](const std::string& in) { writeText(in + "/vswap-layout.txt", "# saved\nsound-start 3\n"); },
         "/vswap-layout.txt: the sprite-start line is missing (save writes it as line 2)"},
        {"a layout file too long",
         [](const std::string& in) { writeText(in + "/vswap-layout.txt", std::string(8 * 1024 * 1024 + 1, '#')); },
         "/vswap-layout.txt: it is 8388609 bytes long, longer than any layout file save writes (at most 8388608)"},
        {"more walls than a table holds, counted before any is read",
         [](const std::string& in) { writeText(in + "/wall6500.bmp", "not a picture"); },
         ": A page file holds at most 6144 chunks, the sound information included; this one would hold 6502"},
        {"a wall beyond the last the layout file allows",
         [](const std::string& in) {
             saveDemo(in);
             fs::copy_file(in + "/wall0000.bmp", in + "/wall0008.bmp");
         },
         "/wall0008.bmp: a wall beyond the last, which line 2 of IN/vswap-layout.txt (sprite-start 8) puts at 7: to "
         "add walls, raise sprite-start and sound-start there by as many"},
        {"a line about a wall beyond the last",
         [&](const std::string& in) {
             saveDemo(in);
             writeText(in + "/vswap-layout.txt", layoutStart + "absent wall 9 0\n");
         },
         "/vswap-layout.txt: line 4: wall 9 is beyond the last wall (7)"},
        {"kept bytes without their file",
         [&](const std::string& in) {
             saveDemo(in);
             writeText(in + "/vswap-layout.txt", layoutStart + "trailing 0 10\n");
         },
         "/vswap-layout.txt: the trailing line refers to bytes of IN/vswap-layout.bin, which is not there"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const std::string in = dir.file("in");
        fs::create_directory(in);
        c.setUp(in);
        const CommandResult run = runCli({"pack", in, dir.file("OUT.WL6")});
        EXPECT_EQ(run.status, 1);
        std::string expected = "pagelark-cli: " + in + c.error + "\n";
        for (std::size_t at; (at = expected.find("IN/")) != std::string::npos;)
            expected.replace(at, 2, in);
        EXPECT_EQ(run.err, expected);
        EXPECT_FALSE(fs::exists(dir.file("OUT.WL6")));
    }
}

TEST(PackRefusals, NamesItSkipsAndChunksLeftAbsentAreSaidAndPrintedSafely)
{
    TempDir dir;
    const std::string in = dir.file("in");
    saveDemo(dir.file("demo"));
    fs::create_directory(in);
    for (const char* name : {"wall0000.bmp", "wall0002.bmp", "wall123456.bmp", "wall01234.bmp", "wall0003\x1b[2J.bmp"})
        fs::copy_file(dir.file("demo/wall0000.bmp"), in + "/" + name);
    const CommandResult run = runCli({"pack", in, dir.file("OUT.WL6")});
    EXPECT_EQ(run.status, 0) << run.err;
    const std::string skipped
        = ": not a name pack takes (wall and the number in four digits, as save names files), "
          "skipped";
    for (const std::string& name :
         {std::string("wall123456.bmp"), std::string("wall01234.bmp"), std::string("wall0003\\x1B[2J.bmp")})
        EXPECT_NE(run.err.find("pagelark-cli: " + in + "/" + name + skipped + "\n"), std::string::npos) << name;
    EXPECT_NE(run.err.find("pagelark-cli: " + in + ": no vswap-layout.txt there, so these will be absent: wall 1\n"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(run.err.find('\x1b'), std::string::npos);
}

TEST(PackRefusals, SaveFailsWhenTheLayoutFileCannotBeWritten)
{
    TempDir dir;
    fs::create_directories(dir.file("out/vswap-layout.txt"));
    const CommandResult run = runCli({"save", PAGELARK_BIN_DIR "/VSWAP.DMO", dir.file("out")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(dir.file("out/vswap-layout.txt")
                           + ": that name is a folder (the folder cannot be packed "
                             "back into the same file without it)"),
              std::string::npos)
        << run.err;
}

}  // namespace
}  // namespace pagelark::testing
