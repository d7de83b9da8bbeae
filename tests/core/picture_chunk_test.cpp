#include "pictures/picture_chunk.h"

#include "archive/run_error.h"
#include "pictures/sprite_encoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

namespace pagelark {
namespace {

// The count of pixels the refusal of a sprite too dense for a chunk asks to clear.
std::size_t pixelsAskedFor(const PixelGrid& grid)
{
    try {
        chunkOfGrid(grid, ItemKind::Sprite);
    } catch (const RunError& error) {
        const std::string text = error.text();
        const std::size_t at = text.find("make about ") + 11;
        return std::stoul(text.substr(at));
    }
    ADD_FAILURE() << "not refused";
    return 0;
}

// Clears lone pixels first, then the ends of the shortest runs, as the message advises.
void clearShortRunsFirst(PixelGrid& grid, std::size_t pixels)
{
    for (std::size_t length = 1; length <= GridSide && pixels > 0; ++length)
        for (int x = 0; x < GridSide && pixels > 0; ++x)
            for (int y = 0; y < GridSide && pixels > 0;) {
                int end = y;
                while (end < GridSide && grid[gridCell(x, end)] != EmptyIndex)
                    ++end;
                if (end - y == static_cast<int>(length))
                    for (int row = y; row < end && pixels > 0; ++row, --pixels)
                        grid[gridCell(x, row)] = EmptyIndex;
                y = std::max(end, y + 1);
            }
}

TEST(PictureChunk, ASpriteTooDenseIsAskedToLoseAsManyPixelsAsItMust)
{
    const struct {
        const char* what;
        std::function<bool(int, int)> opaque;
    } grids[] = {
        {"every pixel", [](int, int) { return true; }},
        {"a chequerboard of lone pixels", [](int x, int y) { return (x + y) % 2 == 0; }},
        {"runs of two and gaps of one", [](int, int y) { return y % 3 != 2; }},
    };
    for (const auto& g : grids) {
        SCOPED_TRACE(g.what);
        PixelGrid grid;
        std::size_t opaque = 0;
        for (int x = 0; x < GridSide; ++x)
            for (int y = 0; y < GridSide; ++y) {
                grid[gridCell(x, y)] = g.opaque(x, y) ? 7 : EmptyIndex;
                opaque += g.opaque(x, y) ? 1 : 0;
            }
        const std::size_t asked = pixelsAskedFor(grid);
        EXPECT_LT(asked, opaque);
        clearShortRunsFirst(grid, asked);
        EXPECT_LE(encodeSprite(grid).size(), LargestPictureChunk + 1);
    }
}

}  // namespace
}  // namespace pagelark
