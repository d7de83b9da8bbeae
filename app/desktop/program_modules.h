#pragma once

#include <string>
#include <vector>

namespace pagelark {

// The files a module of the program's may be: beside the program, where a
// build leaves it, and in ../lib/pagelark, where the package installs it.
std::vector<std::string> modulePaths(const std::string& programDir, const std::string& name);

// The entry point of the first of these modules that loads and has it, or
// null. The module stays loaded for the rest of the run: the code the entry
// gives lives in it.
void* moduleEntry(const std::vector<std::string>& paths, const char* entryName);

}  // namespace pagelark
