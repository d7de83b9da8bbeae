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
    bool dither = false;      // truecolour pictures and sounds diffused into the palette and 8 bits
};

// Builds a page file from a folder laid out as save writes it: wallNNNN and
// spriteNNNN pictures (BMP or PNG), soundNNNN sounds (WAV, FLAC or Ogg), and
// the layout files save writes beside them when it saves every chunk (see
// packSavedFolder). Every file is read and every limit checked before the
// output, written whole or not at all, replaces OUT. Names pack does not
// take, the chunks that will be absent without a layout file, and sounds
// clipped go to `problems`.
void packFolder(const PackRequest& request, std::ostream& out, std::ostream& problems);

}  // namespace pagelark::cli
