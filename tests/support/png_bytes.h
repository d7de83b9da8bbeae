#pragma once

#include <cstdint>
#include <vector>

namespace pagelark::testing {

// A PNG written byte by byte, for the kinds of PNG Qt does not write (1-, 2-
// and 4-bit palettes, greyscale of low depth, a transparency chunk of one's
// choosing). The pixels are deflated in stored blocks, without compression.
struct PngPicture {
    enum ColorType : std::uint8_t { Grey = 0, Rgb = 2, Palette = 3, GreyAlpha = 4, Rgba = 6 };

    int width = 64;
    int height = 64;
    int bitDepth = 8;  // 1, 2, 4 or 8
    ColorType colorType = Palette;
    // One value per channel of each pixel, rows top first, each value of bitDepth bits.
    std::vector<std::uint8_t> samples;
    std::vector<std::uint8_t> palette;       // PLTE: red, green and blue of each entry
    std::vector<std::uint8_t> transparency;  // tRNS, left out when empty
};

std::vector<std::uint8_t> pngFileBytes(const PngPicture& picture);

}  // namespace pagelark::testing
