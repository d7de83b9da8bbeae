#pragma once

#include "tools/picture.h"

#include <functional>

namespace pagelark::tools {

// Drawing on a picture. Everything outside the 64 x 64 area is clipped, so
// shapes may be placed partly off the picture.
class Canvas {
public:
    explicit Canvas(std::int16_t fill = Transparent);

    void set(int x, int y, std::int16_t index);
    std::int16_t at(int x, int y) const;
    // Columns x0..x1 and rows y0..y1, both ends included.
    void fillRect(int x0, int y0, int x1, int y1, std::int16_t index);
    // Cells whose centre lies inside the ellipse around (cx, cy).
    void fillEllipse(double cx, double cy, double rx, double ry, std::int16_t index);
    // A bar of the given width from (xTop, yTop) down to (xBottom, yBottom),
    // drawn row by row: limbs, poles, cords.
    void slantedBar(double xTop, int yTop, double xBottom, int yBottom, double width, std::int16_t index);
    // Every cell set to the index cellIndex gives it: a texture made cell by cell.
    void paintCells(const std::function<std::int16_t(int x, int y)>& cellIndex);
    // Replaces every cell of index from by to.
    void recolour(std::int16_t from, std::int16_t to);

    const Picture& picture() const { return picture_; }

private:
    Picture picture_;
};

// The picture seen from the other side: column x becomes column 63 - x.
Picture mirrored(const Picture& picture);

// A fixed pseudo-random value 0..range-1 for a cell, so textures look rough
// yet come out the same on every run.
int grain(int x, int y, int seed, int range);

}  // namespace pagelark::tools
