#include "tools/art_canvas.h"

#include <algorithm>
#include <cmath>

namespace pagelark::tools {

namespace {

bool inside(int x, int y) { return x >= 0 && x < PictureSide && y >= 0 && y < PictureSide; }

}  // namespace

Canvas::Canvas(std::int16_t fill) { picture_.fill(fill); }

void Canvas::set(int x, int y, std::int16_t index)
{
    if (inside(x, y))
        picture_[pictureCell(x, y)] = index;
}

std::int16_t Canvas::at(int x, int y) const { return inside(x, y) ? picture_[pictureCell(x, y)] : Transparent; }

void Canvas::fillRect(int x0, int y0, int x1, int y1, std::int16_t index)
{
    for (int x = x0; x <= x1; ++x)
        for (int y = y0; y <= y1; ++y)
            set(x, y, index);
}

void Canvas::fillEllipse(double cx, double cy, double rx, double ry, std::int16_t index)
{
    for (int x = 0; x < PictureSide; ++x) {
        for (int y = 0; y < PictureSide; ++y) {
            const double dx = (x + 0.5 - cx) / rx;
            const double dy = (y + 0.5 - cy) / ry;
            if (dx * dx + dy * dy <= 1.0)
                set(x, y, index);
        }
    }
}

void Canvas::slantedBar(double xTop, int yTop, double xBottom, int yBottom, double width, std::int16_t index)
{
    const int rows = std::max(1, yBottom - yTop);
    for (int y = yTop; y <= yBottom; ++y) {
        const double centre = xTop + (xBottom - xTop) * (y - yTop) / rows;
        const int left = static_cast<int>(std::lround(centre - width / 2));
        const int right = static_cast<int>(std::lround(centre + width / 2)) - 1;
        for (int x = left; x <= std::max(left, right); ++x)
            set(x, y, index);
    }
}

void Canvas::paintCells(const std::function<std::int16_t(int x, int y)>& cellIndex)
{
    for (int x = 0; x < PictureSide; ++x)
        for (int y = 0; y < PictureSide; ++y)
            picture_[pictureCell(x, y)] = cellIndex(x, y);
}

void Canvas::recolour(std::int16_t from, std::int16_t to) { std::replace(picture_.begin(), picture_.end(), from, to); }

Picture mirrored(const Picture& picture)
{
    Picture result;
    for (int x = 0; x < PictureSide; ++x)
        std::copy_n(picture.begin() + x * PictureSide, PictureSide,
                    result.begin() + (PictureSide - 1 - x) * PictureSide);
    return result;
}

int grain(int x, int y, int seed, int range)
{
    std::uint32_t h = static_cast<std::uint32_t>(x) * 73856093u ^ static_cast<std::uint32_t>(y) * 19349663u
        ^ static_cast<std::uint32_t>(seed) * 83492791u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return static_cast<int>(h % static_cast<std::uint32_t>(range));
}

}  // namespace pagelark::tools
