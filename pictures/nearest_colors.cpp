#include "pictures/nearest_colors.h"

#include "pictures/pixel_grid.h"

#include <limits>

namespace pagelark {

namespace {

int channel(PackedColor color, int shift) { return static_cast<int>((color >> shift) & 0xFF); }

int squared(int difference) { return difference * difference; }

}  // namespace

NearestColors::NearestColors(const Palette& palette, bool spareBackground)
    : candidates_(spareBackground ? EmptyIndex : PaletteSize)
{
    for (std::size_t index = 0; index < palette.size(); ++index) {
        red_[index] = channel(palette[index], 0);
        green_[index] = channel(palette[index], 8);
        blue_[index] = channel(palette[index], 16);
    }
}

std::uint8_t NearestColors::indexOf(PackedColor color)
{
    const auto [found, added] = known_.try_emplace(color, 0);
    if (!added)
        return found->second;
    const int red = channel(color, 0);
    const int green = channel(color, 8);
    const int blue = channel(color, 16);
    int best = std::numeric_limits<int>::max();
    for (std::size_t index = 0; index < static_cast<std::size_t>(candidates_); ++index) {
        // An entry no nearer than the best so far is left as soon as that shows.
        int distance = squared(red - red_[index]);
        if (distance >= best)
            continue;
        distance += squared(green - green_[index]);
        if (distance >= best)
            continue;
        distance += squared(blue - blue_[index]);
        if (distance < best) {
            best = distance;
            found->second = static_cast<std::uint8_t>(index);
        }
    }
    return found->second;
}

}  // namespace pagelark
