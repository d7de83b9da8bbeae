#include "pictures/canvas.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace pagelark {
namespace {

// Every pixel of a surface, row by row.
std::vector<PackedColor> pixelsOf(const Canvas& canvas)
{
    std::vector<PackedColor> pixels;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            pixels.push_back(canvas.pixel(x, y));
    return pixels;
}

// The copy done the plain way: each destination pixel from its nearest
// source pixel, all read before any is written.
void copyPixelByPixel(Canvas& target, const Canvas& source, Rect from, Rect to)
{
    const std::int64_t fromWidth = std::int64_t{from.right} - from.left;
    const std::int64_t fromHeight = std::int64_t{from.bottom} - from.top;
    const std::int64_t toWidth = std::int64_t{to.right} - to.left;
    const std::int64_t toHeight = std::int64_t{to.bottom} - to.top;
    if (fromWidth <= 0 || fromHeight <= 0 || toWidth <= 0 || toHeight <= 0)
        return;
    const Canvas before = source;
    for (int y = std::max(to.top, 0); y < std::min(to.bottom, target.height()); ++y) {
        for (int x = std::max(to.left, 0); x < std::min(to.right, target.width()); ++x) {
            const std::int64_t sx = from.left + (std::int64_t{x} - to.left) * fromWidth / toWidth;
            const std::int64_t sy = from.top + (std::int64_t{y} - to.top) * fromHeight / toHeight;
            if (sx >= 0 && sy >= 0 && sx < before.width() && sy < before.height())
                target.setPixel(x, y, before.pixel(static_cast<int>(sx), static_cast<int>(sy)));
        }
    }
}

TEST(Canvas, CopiesStretchAndClipLikeThePlainPixelByPixelCopy)
{
    std::mt19937 random(7);
    const auto coordinate = [&] { return static_cast<int>(random() % 100) - 30; };
    // Mostly real rectangles, now and then an empty or inverted one.
    const auto rect = [&] {
        const int left = coordinate();
        const int top = coordinate();
        return Rect{left, top, left + coordinate() + 25, top + coordinate() + 25};
    };
    Canvas other(40, 30);
    for (int y = 0; y < other.height(); ++y)
        for (int x = 0; x < other.width(); ++x)
            other.setPixel(x, y, packColor(static_cast<std::uint32_t>(x * 5), static_cast<std::uint32_t>(y * 7), 9));
    for (int round = 0; round < 2000; ++round) {
        Canvas canvas(64, 48);
        for (int y = 0; y < canvas.height(); ++y)
            for (int x = 0; x < canvas.width(); ++x)
                canvas.setPixel(x, y, packColor(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y), 200));
        Canvas expected = canvas;
        // Half of the copies go within the surface itself, overlapping or not.
        const bool within = round % 2 == 0;
        const Rect from = rect();
        const Rect to = rect();
        copyPixelByPixel(expected, within ? expected : other, from, to);
        canvas.copyRect(within ? canvas : other, from, to);
        ASSERT_EQ(pixelsOf(canvas), pixelsOf(expected)) << "round " << round;
    }
}

}  // namespace
}  // namespace pagelark
