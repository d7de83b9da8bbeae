#pragma once

#include "pictures/pixel_grid.h"
#include "pictures/reference_tables.h"

#include <string>

namespace pagelark {

// Writes the grid as a 5174-byte 8-bit bitmap: the header template unchanged,
// then 64 rows of 64 palette indices, the bottom row first.
void writeBitmapFile(const std::string& path, const PixelGrid& grid, const BmpHeaderTemplate& header);

}  // namespace pagelark
