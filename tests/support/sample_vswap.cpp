#include "tests/support/sample_vswap.h"

#include "archive/page_file.h"
#include "pictures/sprite_encoder.h"

namespace pagelark::testing {

std::vector<std::uint8_t> fullSizeVswap()
{
    std::vector<PageChunk> walls(FullSizeWalls);
    for (std::size_t i = 0; i < walls.size(); ++i) {
        walls[i].bytes.resize(4096);
        for (std::size_t n = 0; n < walls[i].bytes.size(); ++n)
            walls[i].bytes[n] = static_cast<std::uint8_t>((i + n) % 256);
    }
    std::vector<PageChunk> sprites(FullSizeSprites);
    for (int s = 0; s < FullSizeSprites; ++s) {
        PixelGrid grid;
        grid.fill(EmptyIndex);
        for (int y = 10; y <= 20; ++y)
            grid[gridCell(s % 60 + 2, y)] = static_cast<std::uint8_t>(s % 255);
        sprites[static_cast<std::size_t>(s)].bytes = encodeSprite(grid);
    }
    std::vector<std::vector<std::uint8_t>> sounds(FullSizeSounds);
    for (int k = 0; k < FullSizeSounds; ++k) {
        std::vector<std::uint8_t>& sound = sounds[static_cast<std::size_t>(k)];
        sound.resize(fullSizeSoundLength(k));
        for (std::size_t n = 0; n < sound.size(); ++n)
            sound[n] = fullSizeSoundByte(k, n);
    }
    return pageFileBytes(pageFileOf(walls, sprites, sounds));
}

}  // namespace pagelark::testing
