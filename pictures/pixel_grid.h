#pragma once

#include <array>
#include <cstdint>

namespace pagelark {

// One 64 x 64 picture of palette indices, column-major as a wall chunk is
// stored: cell (x, y) is byte x * 64 + y.
constexpr int GridSide = 64;
constexpr int GridCells = GridSide * GridSide;
using PixelGrid = std::array<std::uint8_t, GridCells>;

constexpr int gridCell(int x, int y) { return x * GridSide + y; }

// Cell values with a fixed meaning for sprites.
constexpr std::uint8_t EmptyIndex = 255;  // background of a sprite decoded without background
constexpr std::uint8_t FloorIndex = 25;   // floor colour of the background

}  // namespace pagelark
