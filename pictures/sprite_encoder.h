#pragma once

#include "pictures/pixel_grid.h"

#include <cstdint>
#include <vector>

namespace pagelark {

// The sprite chunk of a grid, laid out as the games' own sprites are, so that
// every sprite of a game file decodes and encodes back to the same bytes.
// Cells of EmptyIndex (255) are transparent, every other value is opaque; no
// game sprite uses 255 as a colour.
//
// The chunk, every word 16-bit little-endian:
// - the first and the last column that hold an opaque pixel;
// - one word per column from the first to the last: where that column's
//   commands start, counted from the chunk's first byte;
// - the pixel pool: the opaque pixels of every run, columns left to right,
//   runs top to bottom, no pixel shared between runs;
// - one zero byte when the pool's length is odd, so the commands start on
//   an even byte;
// - each column's commands, 6 bytes per run of opaque rows: end row × 2, the
//   pool position of the run's first pixel minus its start row (a signed
//   word, negative for many runs, so that chunk start + word + row is the
//   pixel of that row), start row × 2; each column's list ends with a zero
//   word, and a column without an opaque pixel is that word alone.
//
// The reader refuses a sprite whose last column is 0, so the last column is
// at least 1: a grid with opaque pixels only in column 0 gets an empty
// column 1, and a grid without any opaque pixel is first column 0, last
// column 1, two empty columns (12 bytes).
//
// Encoding never fails. A fully opaque grid takes 4 + 128 + 4096 + 64 × 8 =
// 4740 bytes; a chunk longer than a page of 4096 bytes fits no game, and the
// reader refuses a column offset beyond byte 4096, so a caller that writes
// the chunk checks its size.
std::vector<std::uint8_t> encodeSprite(const PixelGrid& grid);

}  // namespace pagelark
