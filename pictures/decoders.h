#pragma once

#include "pictures/pixel_grid.h"

#include <cstdint>
#include <optional>

namespace pagelark {

class ByteFile;

// Reads the 4096 bytes of a wall chunk at offset into the grid. A wall cut
// short by the end of the file repeats its last byte; no error is raised for it.
void decodeWall(ByteFile& file, std::int32_t offset, PixelGrid& grid);

// Decodes the sprite chunk at offset into the grid. Without a ceiling index
// the grid is first filled with 255; with one, the upper half of every column
// gets the ceiling index and the lower half the floor index 25. Returns false,
// leaving the fill alone, when the header or a column offset is out of range.
// Reads past the end of the file raise "Read beyond end of file".
bool decodeSprite(ByteFile& file, std::int32_t offset, std::optional<std::uint8_t> ceilingIndex, PixelGrid& grid);

}  // namespace pagelark
