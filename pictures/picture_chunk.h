#pragma once

#include "archive/chunk_table.h"
#include "pictures/pixel_grid.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pagelark {

// What the games load a wall's or a sprite's chunk into.
constexpr std::size_t LargestPictureChunk = 4096;

// The chunk of a grid: a wall's 4096 cells, or a sprite encoded as the games
// encode theirs. A sprite too large for a chunk raises a RunError saying how
// many bytes it takes and about how many of its pixels must go.
std::vector<std::uint8_t> chunkOfGrid(const PixelGrid& grid, ItemKind kind);

}  // namespace pagelark
