#pragma once

// The small folder of chunk files the saved_folder target packs, and the
// page file of the same chunks its seeds are saved from: three walls, two
// sprites, two sounds.

#include "pictures/pixel_grid.h"

#include <cstdint>
#include <vector>

namespace pagelark::fuzz {

constexpr int FolderWalls = 3;
constexpr int FolderSprites = 2;
constexpr int FolderSounds = 2;

inline PixelGrid folderWall(int number)
{
    PixelGrid grid;
    for (std::size_t n = 0; n < grid.size(); ++n)
        grid[n] = static_cast<std::uint8_t>(n / 64 + static_cast<std::size_t>(number));
    return grid;
}

inline PixelGrid folderSprite(int number)
{
    PixelGrid grid;
    grid.fill(EmptyIndex);
    for (int y = 5; y < 20 + number; ++y)
        grid[gridCell(10 + number, y)] = static_cast<std::uint8_t>(y);
    return grid;
}

inline std::vector<std::uint8_t> folderSound(int number)
{
    std::vector<std::uint8_t> samples(number == 0 ? 80 : 4100);
    for (std::size_t n = 0; n < samples.size(); ++n)
        samples[n] = static_cast<std::uint8_t>(n * 3 + static_cast<std::size_t>(number));
    return samples;
}

}  // namespace pagelark::fuzz
