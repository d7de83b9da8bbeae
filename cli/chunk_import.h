#pragma once

#include "archive/chunk_table.h"
#include "archive/file_identity.h"
#include "pictures/palette.h"
#include "pictures/pixel_grid.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace pagelark::cli {

// Picture and sound files read to become chunks, each noted so that the
// output is never written into one of them. Errors are RunErrors that name
// the file; warnings (a sound clipped) go to `problems`, naming it too.
class ChunkImporter {
public:
    ChunkImporter(const Palette& palette, bool dither, std::ostream& problems)
        : palette_(palette), dither_(dither), problems_(problems)
    {
    }

    // The grid a picture file stands for as a wall or a sprite (see
    // gridFromPicture); a base grid keeps its indices where the picture
    // shows their colours.
    PixelGrid picture(const std::string& path, ItemKind kind, const PixelGrid* base);
    // The samples of a sound file, 8-bit mono at 6896 a second.
    std::vector<std::uint8_t> sound(const std::string& path);

    // The files read so far, and any other the output may not go into.
    std::vector<FileIdentity>& filesRead() { return read_; }

private:
    const Palette& palette_;
    bool dither_;
    std::ostream& problems_;
    std::vector<FileIdentity> read_;
};

}  // namespace pagelark::cli
