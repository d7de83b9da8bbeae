#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace pagelark::cli {

struct ReplaceRequest {
    std::string vswapPath;
    std::string outputPath;
    std::string palettePath;  // the colours truecolour pictures are matched to
    bool dither = false;      // truecolour pictures and sounds diffused into the palette and 8 bits
    // Chunk index as the list shows it (a sound's first chunk), and the file to put there.
    std::vector<std::pair<std::int32_t, std::string>> replacements;
};

// Writes a copy of the page file with the given chunks replaced by the
// pictures and sounds of the given files; every other byte is kept, moved
// where a replacement grows or shrinks, and the sound information changes
// only where a sound's length or place does. A picture's colours that equal
// those of the chunk it replaces keep that chunk's indices. The page file is
// only read; the copy is written whole or not at all. Sounds clipped go to
// `problems`.
void replaceChunks(const ReplaceRequest& request, std::ostream& out, std::ostream& problems);

}  // namespace pagelark::cli
