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
    const int left = std::max(to.left, 0);
    const int top = std::max(to.top, 0);
    const int right = std::min(to.right, width_);
    const int bottom = std::min(to.bottom, height_);
    if (fromWidth <= 0 || fromHeight <= 0 || toWidth <= 0 || toHeight <= 0 || left >= right || top >= bottom)
        return;

    // A copy within one surface reads the source rows as they were before it.
    const int firstSourceRow = static_cast<int>(std::clamp<std::int64_t>(from.top, 0, source.height_));
    const int endSourceRow = static_cast<int>(std::clamp<std::int64_t>(from.bottom, 0, source.height_));
    std::vector<std::uint32_t> sourceBand;
    const std::uint32_t* bandRows = source.pixels_.data() + std::ptrdiff_t{firstSourceRow} * source.width_;
    if (&source == this) {
        sourceBand.assign(bandRows, bandRows + std::ptrdiff_t{endSourceRow - firstSourceRow} * source.width_);
        bandRows = sourceBand.data();
    }

    // The source column of every destination column, -1 where it lies outside the source.
    std::vector<int> sourceColumns(static_cast<std::size_t>(right - left));
    for (int x = left; x < right; ++x) {
        const std::int64_t sourceX = from.left + (std::int64_t{x} - to.left) * fromWidth / toWidth;
        sourceColumns[static_cast<std::size_t>(x - left)]
            = sourceX >= 0 && sourceX < source.width_ ? static_cast<int>(sourceX) : -1;
    }
    const bool everyColumnInside
        = std::all_of(sourceColumns.begin(), sourceColumns.end(), [](int sourceX) { return sourceX >= 0; });
    std::int64_t previousSourceY = -1;
    for (int y = top; y < bottom; ++y) {
        const std::int64_t sourceY = from.top + (std::int64_t{y} - to.top) * fromHeight / toHeight;
        if (sourceY < firstSourceRow || sourceY >= endSourceRow)
            continue;
        std::uint32_t* row = pixels_.data() + std::ptrdiff_t{y} * width_;
        // An enlargement repeats rows: the row above holds this one already.
        const std::uint32_t* sourceRow = sourceY == previousSourceY ? row - width_ : nullptr;
        const bool fromAbove = sourceRow != nullptr;
        if (fromAbove && everyColumnInside) {
            std::copy(sourceRow + left, sourceRow + right, row + left);
            continue;
        }
        if (!fromAbove)
            sourceRow = bandRows + (sourceY - firstSourceRow) * source.width_;
        for (int x = left; x < right; ++x) {
            const int sourceX = sourceColumns[static_cast<std::size_t>(x - left)];
            if (sourceX >= 0)
                row[x] = sourceRow[fromAbove ? x : sourceX];
        }
        previousSourceY = sourceY;
    }
}

}  // namespace pagelark
