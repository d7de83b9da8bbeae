#include "pictures/canvas.h"

#include <algorithm>

namespace pagelark {

namespace {

constexpr std::uint32_t OpaqueAlpha = 0xFF000000u;

// Packed colours are 0x00BBGGRR, the stored pixels 0xFFRRGGBB.
std::uint32_t toArgb(PackedColor color)
{
    const std::uint32_t red = color & 0xFF;
    const std::uint32_t green = (color >> 8) & 0xFF;
    const std::uint32_t blue = (color >> 16) & 0xFF;
    return OpaqueAlpha | (red << 16) | (green << 8) | blue;
}

PackedColor fromArgb(std::uint32_t argb) { return packColor((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF); }

}  // namespace

Canvas::Canvas(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), OpaqueAlpha)
{
}

void Canvas::fillRect(Rect rect, PackedColor color)
{
    const int left = std::max(rect.left, 0);
    const int top = std::max(rect.top, 0);
    const int right = std::min(rect.right, width_);
    const int bottom = std::min(rect.bottom, height_);
    if (left >= right || top >= bottom)
        return;
    const std::uint32_t argb = toArgb(color);
    for (int y = top; y < bottom; ++y) {
        const auto row = pixels_.begin() + static_cast<std::ptrdiff_t>(y) * width_;
        std::fill(row + left, row + right, argb);
    }
}

void Canvas::setPixel(int x, int y, PackedColor color)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)]
        = toArgb(color);
}

PackedColor Canvas::pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return 0;
    return fromArgb(
        pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)]);
}

void Canvas::copyRect(const Canvas& source, Rect from, Rect to)
{
    const std::int64_t fromWidth = std::int64_t{from.right} - from.left;
    const std::int64_t fromHeight = std::int64_t{from.bottom} - from.top;
    const std::int64_t toWidth = std::int64_t{to.right} - to.left;
    const std::int64_t toHeight = std::int64_t{to.bottom} - to.top;
    if (fromWidth <= 0 || fromHeight <= 0 || toWidth <= 0 || toHeight <= 0)
        return;

    // Collected first, so that a copy within one surface reads the pixels as
    // they were before it.
    struct Write {
        int x;
        int y;
        PackedColor color;
    };
    std::vector<Write> writes;
    const int left = std::max(to.left, 0);
    const int top = std::max(to.top, 0);
    const int right = std::min(to.right, width_);
    const int bottom = std::min(to.bottom, height_);
    for (int y = top; y < bottom; ++y) {
        const std::int64_t sourceY = from.top + (std::int64_t{y} - to.top) * fromHeight / toHeight;
        for (int x = left; x < right; ++x) {
            const std::int64_t sourceX = from.left + (std::int64_t{x} - to.left) * fromWidth / toWidth;
            if (sourceX < 0 || sourceY < 0 || sourceX >= source.width_ || sourceY >= source.height_)
                continue;
            writes.push_back({x, y, source.pixel(static_cast<int>(sourceX), static_cast<int>(sourceY))});
        }
    }
    for (const Write& write : writes)
        setPixel(write.x, write.y, write.color);
}

}  // namespace pagelark
