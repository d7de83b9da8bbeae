#pragma once

#include "archive/descriptions.h"
#include "cli/opened_vswap.h"

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace pagelark::cli {

// The plain list is aligned text for people; JSON is one document for scripts.
enum class ListFormat { Text, Json };

// Prints the chunk list of a VSWAP file as the window shows it after an
// open with this game version chosen: list lines with their descriptions,
// read from the description file in dataDir, or the same as one JSON
// document (chunkListJson).
void listChunks(const std::string& vswapPath, GameVersion version, const std::string& dataDir, std::ostream& out,
                ListFormat format = ListFormat::Text);

enum class PictureFormat { Bmp, Png };

struct SaveRequest {
    std::string vswapPath;
    std::string outputDir;
    std::string prefix;
    std::vector<std::int32_t> indices;  // empty: every listed chunk
    // Bitmaps as the window saves them, or indexed PNG files in the colours
    // of the palette file, a sprite's background transparent.
    PictureFormat format = PictureFormat::Bmp;
    std::string palettePath;
};

// Writes, for each requested chunk in list order, the file that "Save
// selected" writes for it, and prints one line per file and a final count.
// A chunk that cannot be read, or whose file would be the VSWAP file itself,
// is named on problems and left out; the result tells whether every chunk
// was saved. A file that cannot be written ends the run with its error.
bool saveChunks(const SaveRequest& request, std::ostream& out, std::ostream& problems);

}  // namespace pagelark::cli
