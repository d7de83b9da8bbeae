#pragma once

#include "tests/support/command_run.h"

#include <sstream>
#include <string>
#include <vector>

namespace pagelark::testing {

// Runs the built pagelark-cli with these arguments.
inline CommandResult runCli(const std::vector<std::string>& args) { return runCommand(PAGELARK_CLI, args); }

// The lines of a command's output, without their line ends.
inline std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

}  // namespace pagelark::testing
