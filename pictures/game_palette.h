#pragma once

#include <array>
#include <cstdint>

namespace pagelark {

struct RgbColor {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};

// The 256 colours of the games' own palette, the colour table of the
// reference bitmap and the contents of the shipped "wolfenstein.pal".
const std::array<RgbColor, 256>& gamePalette();

}  // namespace pagelark
