#pragma once

#include <ostream>
#include <string>

namespace pagelark::cli {

struct PackRequest {
    std::string folder;
    std::string outputPath;
    std::string prefix;       // the text in front of every chunk file's name, as save's --prefix
    std::string palettePath;  // the colours truecolour pictures are matched to
    std::string basePath;     // a page file whose chunks say which of two equal colours a pixel keeps; may be empty
};

// Builds a page file from a folder laid out as save writes it: wallNNNN and
// spriteNNNN pictures (BMP or PNG), soundNNNN sounds (WAV, FLAC or Ogg), and
// the layout file save writes beside them when it saves every chunk. With
// the layout, every chunk must have its file or its line there, and the
// page file comes out byte for byte as the one saved; without it, the
// header follows from the numbers found and a missing number is an absent
// chunk. Every file is read and every limit checked before the output,
// written whole or not at all, replaces OUT.
void packFolder(const PackRequest& request, std::ostream& out);

}  // namespace pagelark::cli
