#pragma once

#include "pictures/palette.h"

#include <cstdint>
#include <vector>

namespace pagelark {

// A rectangle in pixels: left and top included, right and bottom excluded.
struct Rect {
    int left;
    int top;
    int right;
    int bottom;
};

// A drawing surface whose pixels the program sets, reads back and copies
// exactly: no smoothing, no colour conversion. Colours go in and come out
// packed; only their low 24 bits are kept. The pixels are stored as
// 0xFFRRGGBB words, so a window can show them without converting.
class Canvas {
public:
    Canvas(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }

    // Parts of a rectangle or a pixel outside the surface are left out.
    void fillRect(Rect rect, PackedColor color);
    void setPixel(int x, int y, PackedColor color);
    // 0 for a position outside the surface.
    PackedColor pixel(int x, int y) const;
    // Copies source's rectangle from into this surface's rectangle to,
    // stretched by nearest neighbour when the sizes differ.
    void copyRect(const Canvas& source, Rect from, Rect to);

    const std::uint32_t* argbData() const { return pixels_.data(); }

private:
    int width_;
    int height_;
    std::vector<std::uint32_t> pixels_;
};

}  // namespace pagelark
