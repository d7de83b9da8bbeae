#pragma once

#include "pictures/palette.h"

#include <array>
#include <cstdint>
#include <unordered_map>

namespace pagelark {

// The palette colour nearest to a colour (the least sum of the squared
// differences of red, green and blue), the lowest index among equals;
// with spareBackground, never index 255 (a sprite's background is no colour).
// Each distinct colour is searched once: a picture has few colours, and a
// search costs 256 comparisons.
class NearestColors {
public:
    NearestColors(const Palette& palette, bool spareBackground);

    std::uint8_t indexOf(PackedColor color);

private:
    // The palette's channels apart, so that a search can give up on an
    // entry after its first channel or two.
    std::array<int, PaletteSize> red_{};
    std::array<int, PaletteSize> green_{};
    std::array<int, PaletteSize> blue_{};
    int candidates_;
    std::unordered_map<PackedColor, std::uint8_t> known_;
};

}  // namespace pagelark
