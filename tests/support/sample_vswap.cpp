#include "tests/support/sample_vswap.h"

#include "tools/sprite_encoder.h"
#include "tools/vswap_writer.h"

namespace pagelark::testing {

std::vector<std::uint8_t> fullSizeVswap()
{
    tools::VswapWriter writer;
    for (int i = 0; i < FullSizeWalls; ++i) {
        std::vector<std::uint8_t> wall(4096);
        for (std::size_t n = 0; n < wall.size(); ++n)
            wall[n] = static_cast<std::uint8_t>((static_cast<std::size_t>(i) + n) % 256);
        writer.wall({wall, false, {}});
    }
    for (int s = 0; s < FullSizeSprites; ++s) {
        tools::Picture picture;
        picture.fill(tools::Transparent);
        for (int y = 10; y <= 20; ++y)
            picture[tools::pictureCell(s % 60 + 2, y)] = static_cast<std::int16_t>(s % 256);
        writer.sprite({tools::encodeSprite(picture), false, {}});
    }
    std::uint16_t page = 0;
    for (int k = 0; k < FullSizeSounds; ++k) {
        const std::uint16_t pages = k < 28 ? 3 : 2;
        for (int p = 0; p < pages; ++p)
            writer.soundPage({std::vector<std::uint8_t>(1000, static_cast<std::uint8_t>(k * 5 + p)), false, {}});
        writer.sound(page, static_cast<std::uint16_t>(pages * 1000));
        page = static_cast<std::uint16_t>(page + pages);
    }
    return writer.build();
}

}  // namespace pagelark::testing
