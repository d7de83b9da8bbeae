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
// was saved. A file that cannot be written ends the run with a Failure.
bool saveChunks(const SaveRequest& request, std::ostream& out, std::ostream& problems);

enum class SheetKind { Walls, Sprites };

struct SheetRequest {
    std::string vswapPath;
    std::string outputPath;
    std::string palettePath;
    SheetKind kind = SheetKind::Walls;
    int columns = 16;
    int scale = 2;
};

// Draws every wall, or every sprite, of the file on one PNG contact sheet,
// in list order, each labelled with chunk index and number; a sprite that does not
// decode gets a crossed-out cell. A chunk that cannot be read is crossed out
// too and named on problems; the result tells whether every chunk was read.
bool drawSheet(const SheetRequest& request, std::ostream& out, std::ostream& problems);

// What the commands raise: the file concerned and the text to show for it,
// the same text the window's error box shows.
struct Failure {
    std::string file;
    std::string text;
};

}  // namespace pagelark::cli
