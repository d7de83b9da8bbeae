#pragma once

#include "tools/picture.h"

#include <cstdint>
#include <vector>

namespace pagelark::tools {

// Builds the sprite chunk of a picture whose cells are palette indices
// 0..255 or Transparent: the first and last column that hold pixels, one
// command-list offset per column between them, each column's run commands
// (one per vertical stretch of opaque cells, the list closed by a zero
// word), and the pixel bytes of all runs.
//
// A picture whose only opaque cells lie in column 0 is stored with an empty
// column 1 after it, because a sprite whose last column is 0 is never drawn.
//
// Throws std::invalid_argument for a cell outside -1..255 and for a picture
// without a single opaque cell (it has no first column), and
// std::length_error when the runs are so many that a column's command list
// would start beyond byte 4096 of the chunk, where no column offset may point.
std::vector<std::uint8_t> encodeSprite(const Picture& picture);

}  // namespace pagelark::tools
