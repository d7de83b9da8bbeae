#pragma once

#include "archive/chunk_table.h"
#include "archive/file_identity.h"
#include "pictures/palette.h"
#include "pictures/pixel_grid.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pagelark::cli {

// The grid a picture file stands for as a wall or a sprite (see
// gridFromPicture); a base grid keeps its indices where the picture shows
// their colours. A file that cannot be read or used is a Failure naming it.
// Each file read is added to read.
PixelGrid importPicture(const std::string& path, ItemKind kind, const Palette& palette, const PixelGrid* base,
                        std::vector<FileIdentity>& read);

// The chunk of a grid: a wall's 4096 cells, or a sprite encoded as the
// games encode theirs. A sprite too large for a chunk is a Failure naming
// the picture and saying how many pixels are too many.
std::vector<std::uint8_t> chunkOfGrid(const PixelGrid& grid, ItemKind kind, const std::string& path);

// The samples of a sound file, 8-bit mono at 6896 a second; a Failure naming it otherwise.
std::vector<std::uint8_t> importSoundFile(const std::string& path, std::vector<FileIdentity>& read);

}  // namespace pagelark::cli
