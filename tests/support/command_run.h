#pragma once

#include <string>
#include <vector>

namespace pagelark::testing {

struct CommandResult {
    int status;  // exit status, -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// Runs a program with arguments (no shell interpretation of them) and
// collects its exit status and what it printed.
CommandResult runCommand(const std::string& program, const std::vector<std::string>& args);

}  // namespace pagelark::testing
