#pragma once

#include "tests/support/command_run.h"

#include <string>
#include <vector>

namespace pagelark::testing {

// Runs the built pagelark-extract with these arguments.
inline CommandResult runExtract(const std::vector<std::string>& args) { return runCommand(PAGELARK_EXTRACT, args); }

}  // namespace pagelark::testing
