#pragma once

#include "archive/descriptions.h"

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace pagelark::cli {

// Prints the chunk list of a VSWAP file as the window shows it after an
// open with this game version chosen: list lines with their descriptions,
// read from the description file in dataDir.
void listChunks(const std::string& vswapPath, GameVersion version, const std::string& dataDir, std::ostream& out);

struct SaveRequest {
    std::string vswapPath;
    std::string outputDir;
    std::string prefix;
    std::vector<std::int32_t> indices;  // empty: every listed chunk
};

// Writes, for each requested chunk in list order, the file that "Save
// selected" writes for it, and prints one line per file and a final count.
// A chunk that cannot be read, or whose file would be the VSWAP file itself,
// is named on problems and left out; the result tells whether every chunk
// was saved. A file that cannot be written ends the run with a Failure.
bool saveChunks(const SaveRequest& request, std::ostream& out, std::ostream& problems);

// What the commands raise: the file concerned and the text to show for it,
// the same text the window's error box shows.
struct Failure {
    std::string file;
    std::string text;
};

}  // namespace pagelark::cli
