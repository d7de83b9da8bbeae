#include "tests/support/odd_page_files.h"

#include "pictures/sprite_encoder.h"
#include "tests/support/counting_bytes.h"
#include "tests/support/vswap_writer.h"

namespace pagelark::testing {

namespace {

using Bytes = std::vector<std::uint8_t>;
using tools::VswapWriter;

Bytes counting(std::size_t size, std::uint8_t from) { return countingBytes(size, from, 5); }

Bytes dotSprite(int x, int y, std::uint8_t index)
{
    PixelGrid grid;
    grid.fill(EmptyIndex);
    grid[gridCell(x, y)] = index;
    return encodeSprite(grid);
}

}  // namespace

Bytes sharewareShapedVswap()
{
    Bytes trailing(328, 0);
    for (std::size_t n = 8; n < trailing.size(); ++n)
        trailing[n] = static_cast<std::uint8_t>(n);
    return VswapWriter()
        .wall({counting(4096, 1), false, {}})
        .wall({{}, true, 0})
        .wall({counting(4096, 2), false, {}})
        .sprite({dotSprite(3, 4, 20), false, {}})
        .soundPage({counting(4096, 3), false, {}})
        .soundPage({counting(904, 4), false, {}})
        .soundPage({{}, true, 4096})
        .soundPage({{}, true, 100})
        .soundPage({counting(30, 5), false, {}})
        .soundPage({{}, true, 0})
        .sound(0, 5000)
        .sound(2, 4196)
        .sound(4, 30)
        .sound(5, 700)
        .terminateSoundInfo(false)
        .trailing(trailing)
        .build();
}

Bytes otherToolsVswap()
{
    // One pixel at (5, 10), its column's commands right after it, unpadded.
    const Bytes fifteen = {5, 0, 5, 0, 7, 0, 0xAA, 22, 0, 0xFC, 0xFF, 20, 0, 0, 0};
    return VswapWriter()
        .wall({counting(4096, 6), false, {}})
        .wall({counting(4096, 7), false, {}})
        .sprite({fifteen, false, {}})
        .sprite({dotSprite(40, 40, 9), false, {}})
        .soundPage({counting(4096, 8), false, {}})
        .soundPage({counting(1000, 9), false, {}})
        .soundPage({counting(77, 10), false, {}})
        .sound(0, 5096)
        .sound(2, 77)
        .terminateSoundInfo(false)
        .withoutAlignment()
        .trailing(counting(212, 11))
        .build();
}

std::vector<OddPageFile> oddPageFiles()
{
    Bytes padded = VswapWriter()
                       .wall({counting(4096, 12), false, {}})
                       .sprite({dotSprite(1, 1, 3), false, {}})
                       .soundPage({counting(10, 13), false, {}})
                       .sound(0, 10)
                       .build();
    padded[6 + 6 * 4] = 0x5A;  // in the gap between the table and the first chunk
    const Bytes noSprites = VswapWriter()
                                .wall({counting(4096, 14), false, {}})
                                .wall({counting(4096, 15), false, {}})
                                .soundPage({counting(300, 16), false, {}})
                                .sound(0, 300)
                                .build();
    const Bytes longTable = VswapWriter()
                                .wall({counting(4096, 17), false, {}})
                                .soundPage({counting(20, 18), false, {}})
                                .sound(0, 20)
                                .terminateSoundInfo(true)
                                .soundInfoLength(12)
                                .trailing({0xCD, 0xCD, 0xCD, 0xCD})
                                .build();
    return {{"shareware", sharewareShapedVswap()},
            {"other tools", otherToolsVswap()},
            {"bytes in the gaps", padded},
            {"no sprites", noSprites},
            {"sound table longer than its entries", longTable}};
}

}  // namespace pagelark::testing
