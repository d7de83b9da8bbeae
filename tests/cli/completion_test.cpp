#include "tests/cli/run_cli.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace pagelark::testing {
namespace {

const std::string Completion = PAGELARK_SOURCE_DIR "/completion";
const std::string Drivers = PAGELARK_SOURCE_DIR "/tests/cli/";

// What a shell offers, as the test compares it: sorted, files and folders by
// their names alone (zsh's matches have no folder, fish's folders end in '/').
std::vector<std::string> offered(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;) {
        if (word.size() > 1 && word.back() == '/')
            word.pop_back();
        words.push_back(word.substr(word.find_last_of("=/") + 1));
    }
    std::sort(words.begin(), words.end());
    return words;
}

std::vector<std::pair<std::string, std::vector<std::string>>> linesAndOffers(const TempDir& dir)
{
    const std::string help = runCli({"--help"}).out;
    std::vector<std::string> commands;
    const std::regex usage("^(?:Usage:|  or:) +pagelark-cli ([a-z]+) ");
    std::smatch match;
    for (const std::string& line : linesOf(help))
        if (std::regex_search(line, match, usage))
            commands.push_back(match[1]);
    std::vector<std::string> sortedCommands = commands;
    std::sort(sortedCommands.begin(), sortedCommands.end());
    std::vector<std::pair<std::string, std::vector<std::string>>> cases{{"pagelark-cli ", sortedCommands},
                                                                        {"pagelark-cli --", {"--help", "--version"}}};
    const std::regex option("^  (?:-h, )?(--[a-z]+)(?: (\\S+))?");
    for (const std::string& command : commands) {
        const CommandResult commandHelp = runCli({command, "--help"});
        EXPECT_EQ(commandHelp.status, 0) << command;
        std::vector<std::string> options;
        for (const std::string& line : linesOf(commandHelp.out)) {
            if (!std::regex_search(line, match, option))
                continue;
            options.push_back(match[1]);
            // The line is looked for with its newline appended in place, as GCC 12 at -O3 misjudges
            // "\n" + str as overlapping copies.
            std::string helpLine(1, '\n');
            helpLine += match[0].str();
            EXPECT_NE(help.find(helpLine), std::string::npos) << "the program's help lacks " << line;
            const std::string values = match[2];
            if (values.find('|') != std::string::npos)
                cases.push_back({"pagelark-cli " + command + " " + options.back() + " ",
                                 offered(std::regex_replace(values, std::regex("\\|"), " "))});
        }
        std::sort(options.begin(), options.end());
        cases.push_back({"pagelark-cli " + command + " --", options});
    }
    const std::string in = dir.file("in") + "/";
    const std::string other = dir.file("other") + "/";
    cases.insert(cases.end(),
                 {{"pagelark-cli list " + in, {"VSWAP.WL6", "sub"}},
                  {"pagelark-cli list " + other, {"d", "x.dat"}},
                  {"pagelark " + in, {"VSWAP.WL6", "sub"}},
                  {"pagelark-cli save --palette " + in, {"a.pal", "sub"}},
                  {"pagelark-cli save " + in + "VSWAP.WL6 " + in, {"sub"}},
                  {"pagelark-cli sheet --scale 2 " + in + "VSWAP.WL6 " + in, {"b.png", "sub"}},
                  {"pagelark-cli pack " + in, {"sub"}},
                  {"pagelark-cli pack --dither " + in + "sub " + in, {"VSWAP.WL6", "a.pal", "b.png", "sub"}},
                  {"pagelark-cli pack --base " + in, {"VSWAP.WL6", "sub"}},
                  {"pagelark-cli replace " + in + "VSWAP.WL6 out 12=" + in, {"VSWAP.WL6", "a.pal", "b.png", "sub"}}});
    return cases;
}

// Each shell's completion offers the commands, each command's options and
// the values of its options as the program's help lists them, and the
// files each operand and option takes: page files (any file where none is
// in sight), palettes, sheets and folders.
TEST(Completion, EveryShellOffersWhatTheCommandLineTakes)
{
    TempDir dir;
    for (const char* folder : {"in/sub", "other/d"})
        std::filesystem::create_directories(dir.file(folder));
    for (const char* file : {"in/VSWAP.WL6", "in/a.pal", "in/b.png", "other/x.dat"})
        testing::writeFileText(dir.file(file), "");
    // Each shell with the arguments that make it print what Tab offers at the end of a line.
    const std::vector<std::pair<std::string, std::vector<std::string>>> shells{
        {"bash", {"--norc", Drivers + "bash_offers.bash", Completion}},
        {"zsh", {"-f", Drivers + "zsh_offers.zsh", Completion, dir.file("zcompdump")}},
        {"fish", {"--no-config", Drivers + "fish_offers.fish", Completion}},
    };
    const auto cases = linesAndOffers(dir);
    for (const auto& [shell, args] : shells) {
        ASSERT_EQ(testing::runCommand("sh", {"-c", "command -v " + shell}).status, 0)
            << shell << " is missing: scripts/setup installs it";
        for (const auto& [line, offers] : cases) {
            std::vector<std::string> lineArgs = args;
            lineArgs.push_back(line);
            const CommandResult run = testing::runCommand(shell, lineArgs);
            EXPECT_EQ(run.status, 0) << shell << ": " << line << "\n" << run.err;
            EXPECT_EQ(offered(run.out), offers) << shell << ": '" << line << "'";
        }
    }
}

}  // namespace
}  // namespace pagelark::testing
