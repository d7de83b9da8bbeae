#pragma once

#include <cstdint>
#include <vector>

namespace pagelark {

// A colour with its opacity, packed as Qt packs it: 0xAARRGGBB.
using ArgbColor = std::uint32_t;

constexpr ArgbColor OpaqueAlpha = 0xFF000000;

// A picture as a file held it, before the rules for walls and sprites make a
// grid of it. Pixels are stored in rows, the top row first: pixel (x, y) is
// element y * width + x of indices or of pixels.
struct DecodedPicture {
    int width = 0;
    int height = 0;
    // An indexed picture keeps its indices and its colour table (which may
    // have fewer than 256 entries, and be the palette's or one of its own);
    // any other has ARGB pixels.
    bool indexed = false;
    std::vector<std::uint8_t> indices;
    std::vector<ArgbColor> colorTable;
    std::vector<ArgbColor> pixels;
};

}  // namespace pagelark
