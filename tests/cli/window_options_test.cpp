#include "tests/support/command_run.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pagelark {
namespace {

TEST(WindowOptions, HelpAndVersionNeedNoDisplay)
{
    // Without a display Qt cannot make a window and ends the program; help
    // and version must come without one, as from any desktop program.
    const std::vector<std::string> noDisplay{
        "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "-u", "QT_QPA_PLATFORM", PAGELARK_BIN_DIR "/pagelark"};
    for (const auto& [option, answer] :
         std::vector<std::pair<std::string, std::string>>{{"--help", "Usage: pagelark [FILE]\n"},
                                                          {"-h", "Usage: pagelark [FILE]\n"},
                                                          {"--version", "pagelark 3.3\n"}}) {
        std::vector<std::string> args = noDisplay;
        args.push_back(option);
        const testing::CommandResult run = testing::runCommand("/usr/bin/env", args);
        EXPECT_EQ(run.status, 0) << option;
        EXPECT_EQ(run.out.substr(0, answer.size()), answer) << option;
        EXPECT_EQ(run.err, "") << option;
    }
    std::vector<std::string> help = noDisplay;
    help.push_back("--help");
    EXPECT_NE(testing::runCommand("/usr/bin/env", help).out.find("FILE, a page file"), std::string::npos);
}

}  // namespace
}  // namespace pagelark
