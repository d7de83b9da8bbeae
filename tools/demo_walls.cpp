#include "tools/demo_walls.h"

#include "tools/art_canvas.h"

#include <functional>
#include <iterator>

namespace pagelark::tools {

namespace {

// Palette ramps, lightest first; a shaded wall uses indices further down.
constexpr int BrickRed = 40;    // 152,0,0 and darker reds
constexpr int Mortar = 23;      // greys 140 and darker
constexpr int Wood = 208;       // browns 188,120,72 and darker
constexpr int StoneGrey = 19;   // greys 192 and darker
constexpr int SteelBlue = 132;  // blues 0,140,228 and darker

std::int16_t paletteIndex(int index) { return static_cast<std::int16_t>(index); }

// A wall painted cell by cell in the tones of its lit side; on the shaded
// side every cell is `darker` steps further down its ramp.
Canvas paintedWall(bool shaded, int darker, const std::function<int(int x, int y)>& litTone)
{
    const int dark = shaded ? darker : 0;
    Canvas wall;
    wall.paintCells([&](int x, int y) { return paletteIndex(litTone(x, y) + dark); });
    return wall;
}

}  // namespace

Picture brickWall(bool shaded)
{
    const Canvas wall = paintedWall(shaded, 2, [](int x, int y) {
        const int course = y / 8;
        const int shifted = x + (course % 2) * 8;
        if (y % 8 == 7 || shifted % 16 == 15)  // mortar rows and columns
            return Mortar + grain(x, y, 1, 2);
        const int brick = course * 8 + (shifted / 16);
        const int tone = BrickRed + grain(brick, course, 2, 3) + (grain(x, y, 3, 7) == 0 ? 1 : 0);
        // The top edge of every brick catches the light.
        return y % 8 == 0 ? tone - 2 : tone;
    });
    return wall.picture();
}

Picture woodWall(bool shaded)
{
    Canvas wall = paintedWall(shaded, 3, [](int x, int y) {
        const int plank = x / 8;
        if (x % 8 == 7)  // the gap between planks
            return Wood + 12;
        // Grain: wavy darker streaks along each plank.
        const int wave = (y / 6 + plank * 3 + (x % 8)) % 5;
        const int tone = Wood + (plank % 3) + (wave == 0 ? 3 : 0);
        return x % 8 == 0 ? tone - 1 : tone;
    });
    // Two nails where each plank meets each crossbeam, in the plank's fourth
    // column, the same grey on the shaded side.
    for (int x = 3; x < PictureSide; x += 8) {
        wall.set(x, 10, paletteIndex(Mortar + 6));
        wall.set(x, 53, paletteIndex(Mortar + 6));
    }
    return wall.picture();
}

Picture stoneWall(bool shaded)
{
    const int dark = shaded ? 3 : 0;
    Canvas wall;
    // Courses of uneven height, each with stones of uneven width.
    constexpr int courseTops[] = {0, 13, 24, 39, 50, 64};
    for (int c = 0; c + 1 < static_cast<int>(std::size(courseTops)); ++c) {
        const int top = courseTops[c];
        const int bottom = courseTops[c + 1] - 1;
        int left = -(c * 7) % 11;
        int stone = 0;
        while (left < PictureSide) {
            const int width = 12 + grain(stone, c, 4, 10);
            const int right = left + width - 1;
            const int tone = StoneGrey + dark + grain(stone, c, 5, 4);
            for (int x = left; x <= right; ++x) {
                for (int y = top; y <= bottom; ++y) {
                    const bool joint = x == right || y == bottom;
                    const int speck = grain(x, y, 6, 9) == 0 ? 2 : 0;
                    wall.set(x, y, paletteIndex(joint ? StoneGrey + 9 + dark : tone + speck));
                }
            }
            left = right + 1;
            ++stone;
        }
    }
    return wall.picture();
}

Picture doorLeaf()
{
    Canvas door(paletteIndex(SteelBlue));
    // Panels with a light upper-left and a dark lower-right rim.
    for (int panelTop : {6, 36}) {
        door.fillRect(8, panelTop, 55, panelTop + 21, paletteIndex(SteelBlue + 1));
        door.fillRect(8, panelTop, 55, panelTop, paletteIndex(SteelBlue - 2));
        door.fillRect(8, panelTop, 8, panelTop + 21, paletteIndex(SteelBlue - 2));
        door.fillRect(8, panelTop + 21, 55, panelTop + 21, paletteIndex(SteelBlue + 3));
        door.fillRect(55, panelTop, 55, panelTop + 21, paletteIndex(SteelBlue + 3));
    }
    // Rivets along the edges and a handle on the right.
    for (int y = 2; y < PictureSide; y += 6) {
        door.set(2, y, paletteIndex(Mortar - 4));
        door.set(61, y, paletteIndex(Mortar - 4));
    }
    door.fillRect(58, 29, 60, 34, paletteIndex(Mortar + 6));
    door.fillRect(58, 29, 58, 34, paletteIndex(Mortar - 2));
    return door.picture();
}

Picture doorJamb()
{
    Canvas jamb;
    jamb.paintCells([](int x, int y) { return paletteIndex(StoneGrey + 1 + grain(x, y, 7, 3)); });
    // The slot the door slides into, with a steel frame on both sides.
    jamb.fillRect(24, 0, 39, 63, paletteIndex(Mortar + 7));
    jamb.fillRect(22, 0, 23, 63, paletteIndex(SteelBlue - 1));
    jamb.fillRect(40, 0, 41, 63, paletteIndex(SteelBlue + 2));
    return jamb.picture();
}

}  // namespace pagelark::tools
