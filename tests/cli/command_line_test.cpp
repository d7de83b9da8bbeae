#include "tests/cli/run_cli.h"
#include "tests/support/sample_vswap.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pagelark::testing {
namespace {

// Each wrong usage is named, with what the user typed escaped, and followed
// by the usage; nothing is run and the exit status is 2.
TEST(CommandLine, WrongUsageIsNamed)
{
    const struct {
        std::vector<std::string> args;
        std::string problem;
    } cases[] = {
        {{}, "no command given"},
        {{"frobnicate", "x"}, "unknown command 'frobnicate'"},
        {{"replace", "--palete", "x.pal", "a", "b", "1=c"}, "unknown option '--palete'"},
        {{"replace", "--base", "x", "a", "b", "1=c"}, "--base is not an option of replace, but of pack"},
        {{"list", "--palette", "x.pal", "a"},
         "--palette is not an option of list, but of save, sheet, pack, replace, diff"},
        {{"list", "--g\x1b[2Jame", "a"}, "unknown option '--g\\x1B[2Jame'"},
        {{"list", "a", "b"}, "one operand too many: 'b'"},
        {{"list"}, "VSWAPFILE is required"},
        {{"list", "a", "--game"}, "--game: 1 required wolf10|wolf13|spear missing"},
        {{"list", "--game", "doom", "a"}, "--game: doom not in {wolf10,wolf13,spear}"},
        {{"save", "a"}, "OUTDIR is required"},
        {{"save", "a", "", "0"}, "OUTDIR: the name is empty"},
        {{"save", "a", "b", "70000"}, "INDEX: '70000' is not a number from 0 to 65535"},
        {{"save", "a", "b", "0x10"}, "INDEX: '0x10' is not a number from 0 to 65535"},
        {{"save", "a", "b", "-1"}, "INDEX: '-1' is not a number from 0 to 65535"},
        {{"sheet", "--columns", "0", "a", "b.png"}, "--columns: '0' is not a number from 1 to 256"},
        {{"sheet", "--columns", "257", "a", "b.png"}, "--columns: '257' is not a number from 1 to 256"},
        {{"sheet", "--scale", "17", "a", "b.png"}, "--scale: '17' is not a number from 1 to 16"},
        {{"sheet", "--palette", "", "a", "b.png"}, "--palette: the name is empty"},
        {{"pack", "a"}, "OUT is required"},
        {{"pack", "", "b"}, "DIR: the name is empty"},
        {{"replace", "a", "b"}, "INDEX=FILE is required"},
        {{"replace", "a", "b", "70000=x.png"},
         "INDEX=FILE: '70000=x.png' is not INDEX=FILE with INDEX a number from 0 to 65535"},
        {{"replace", "a", "b", "12="}, "INDEX=FILE: '12=' is not INDEX=FILE with INDEX a number from 0 to 65535"},
        {{"diff", "a", "b"}, "MOD.zip is required"},
        {{"patch", "--dither", "a", "b.zip", "c"}, "--dither is not an option of patch, but of pack, replace"},
    };
    const std::string usage = runCli({}).err.substr(std::string("pagelark-cli: no command given\n").size());
    ASSERT_EQ(usage.rfind("Usage: pagelark-cli list [OPTION]... VSWAPFILE\n", 0), 0u) << usage;
    for (const auto& c : cases) {
        const CommandResult run = runCli(c.args);
        EXPECT_EQ(run.status, 2) << c.problem;
        EXPECT_EQ(run.err, "pagelark-cli: " + c.problem + "\n" + usage);
        EXPECT_EQ(run.out, "");
    }
}

// Numbers are decimal whatever their leading zeros (not octal, as C's
// conversions would take 010), and an option given twice takes the later value.
TEST(CommandLine, NumbersAreDecimalAndTheLaterOptionCounts)
{
    testing::TempDir dir;
    testing::writeFileBytes(dir.file("VSWAP.TST"), testing::fullSizeVswap());
    const CommandResult run
        = runCli({"save", "--prefix", "a", "--prefix", "b", dir.file("VSWAP.TST"), dir.path().string(), "010"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, dir.file("bwall0010.bmp") + "\n1 file written\n");
}

TEST(CommandLine, EachCommandHasItsHelp)
{
    for (const std::string command : {"list", "save", "sheet", "pack", "replace"}) {
        for (const std::string flag : {"--help", "-h"}) {
            const CommandResult run = runCli({command, flag});
            EXPECT_EQ(run.status, 0) << command;
            EXPECT_EQ(run.out.rfind("Usage: pagelark-cli " + command + " [OPTION]...", 0), 0u) << run.out;
            EXPECT_NE(run.out.find("\nOptions:\n"), std::string::npos) << run.out;
            EXPECT_EQ(run.err, "");
        }
    }
}

}  // namespace
}  // namespace pagelark::testing
