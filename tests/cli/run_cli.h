#pragma once

#include "tests/support/command_run.h"

#include <string>
#include <vector>

namespace pagelark::testing {

// Runs the built pagelark-cli with these arguments.
inline CommandResult runCli(const std::vector<std::string>& args) { return runCommand(PAGELARK_CLI, args); }

}  // namespace pagelark::testing
