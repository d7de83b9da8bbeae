#include "pictures/dithering.h"

#include <algorithm>
#include <cmath>

namespace pagelark {

namespace {

// A colour (each channel 0 to 255), or an error to be spread, as fractions.
struct Rgb {
    float red = 0;
    float green = 0;
    float blue = 0;
};

float channel(PackedColor color, int shift) { return static_cast<float>((color >> shift) & 0xFF); }

// The colour a pixel should have, its neighbours' error added, within what a colour can be.
Rgb wanted(PackedColor color, const Rgb& error)
{
    return {std::clamp(channel(color, 0) + error.red, 0.0f, 255.0f),
            std::clamp(channel(color, 8) + error.green, 0.0f, 255.0f),
            std::clamp(channel(color, 16) + error.blue, 0.0f, 255.0f)};
}

PackedColor rounded(const Rgb& color)
{
    return packColor(static_cast<std::uint32_t>(std::lround(color.red)),
                     static_cast<std::uint32_t>(std::lround(color.green)),
                     static_cast<std::uint32_t>(std::lround(color.blue)));
}

void spread(Rgb& to, const Rgb& error, float share)
{
    to.red += error.red * share;
    to.green += error.green * share;
    to.blue += error.blue * share;
}

}  // namespace

PixelGrid ditheredGrid(const PictureColors& colors, const DecidedCells& decided, NearestColors& nearest,
                       const Palette& palette)
{
    // One cell of margin on either side, so neighbours past the edge need no test.
    std::array<Rgb, GridSide + 2> thisRow{};
    std::array<Rgb, GridSide + 2> nextRow{};
    PixelGrid grid{};
    for (int y = 0; y < GridSide; ++y) {
        const bool leftToRight = y % 2 == 0;
        const int step = leftToRight ? 1 : -1;
        for (int n = 0; n < GridSide; ++n) {
            const int x = leftToRight ? n : GridSide - 1 - n;
            const auto at = static_cast<std::size_t>(y * GridSide + x);
            const int margin = x + 1;
            std::uint8_t& cell = grid[gridCell(x, y)];
            if (decided[at] != NotDecided) {
                cell = static_cast<std::uint8_t>(decided[at]);
                continue;
            }
            const Rgb target = wanted(colors[at], thisRow[static_cast<std::size_t>(margin)]);
            cell = nearest.indexOf(rounded(target));
            const PackedColor shown = palette[cell];
            const Rgb error{target.red - channel(shown, 0), target.green - channel(shown, 8),
                            target.blue - channel(shown, 16)};
            const auto ahead = static_cast<std::size_t>(margin + step);
            const auto behind = static_cast<std::size_t>(margin - step);
            spread(thisRow[ahead], error, 7.0f / 16);
            spread(nextRow[behind], error, 3.0f / 16);
            spread(nextRow[static_cast<std::size_t>(margin)], error, 5.0f / 16);
            spread(nextRow[ahead], error, 1.0f / 16);
        }
        thisRow = nextRow;
        nextRow.fill({});
    }
    return grid;
}

}  // namespace pagelark
