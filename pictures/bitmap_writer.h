#pragma once

#include "archive/output_file.h"
#include "pictures/pixel_grid.h"
#include "pictures/reference_tables.h"

#include <array>
#include <string>
#include <vector>

namespace pagelark {

constexpr std::size_t BitmapFileSize = BmpHeaderSize + GridCells;

// A 5174-byte 8-bit bitmap of the grid: the header template unchanged, then
// 64 rows of 64 palette indices, the bottom row first.
std::array<std::uint8_t, BitmapFileSize> bitmapFileBytes(const PixelGrid& grid, const BmpHeaderTemplate& header);

// Writes the grid's bitmap to path, whole or not at all (see OutputFile).
void writeBitmapFile(const std::string& path, const PixelGrid& grid, const BmpHeaderTemplate& header,
                     const std::vector<FileIdentity>& readFiles = {}, OutputAccess access = OutputAccess::Shared);

}  // namespace pagelark
