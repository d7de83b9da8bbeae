#pragma once

#include <ostream>
#include <string>

namespace pagelark::cli {

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
// A sheet wider or higher than 16384 pixels is refused, naming options that
// fit, before anything is decoded or written; the file is written whole or
// not at all, and never over the page file being read.
bool drawSheet(const SheetRequest& request, std::ostream& out, std::ostream& problems);

}  // namespace pagelark::cli
