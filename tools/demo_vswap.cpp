#include "tools/demo_vswap.h"

#include "archive/page_file.h"
#include "pictures/sprite_encoder.h"
#include "tools/demo_sounds.h"
#include "tools/demo_sprites.h"
#include "tools/demo_walls.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>

namespace pagelark::tools {

namespace {

// A wall chunk holds the cells in picture order, one byte each.
PageChunk wallChunk(const Picture& picture)
{
    if (std::any_of(picture.begin(), picture.end(), [](std::int16_t cell) { return cell < 0 || cell > 255; }))
        throw std::invalid_argument("every cell of a wall must be a palette index");
    PageChunk chunk;
    chunk.bytes.resize(picture.size());
    std::transform(picture.begin(), picture.end(), chunk.bytes.begin(),
                   [](std::int16_t cell) { return static_cast<std::uint8_t>(cell); });
    return chunk;
}

// The games keep a sprite within a page of 4096 bytes, and the reader
// refuses a column offset beyond it.
constexpr std::size_t MostSpriteBytes = 4096;

PageChunk spriteChunk(const Picture& picture)
{
    PageChunk chunk = heldChunk(encodeSprite(spriteGrid(picture)));
    if (chunk.bytes.size() > MostSpriteBytes)
        throw std::length_error("a demo sprite takes " + std::to_string(chunk.bytes.size()) + " bytes, more than "
                                + std::to_string(MostSpriteBytes));
    return chunk;
}

}  // namespace
std::vector<Picture> demoWalls()
{
    return {brickWall(false), brickWall(true), woodWall(false), woodWall(true),
            stoneWall(false), stoneWall(true), doorLeaf(),      doorJamb()};
}

std::vector<Picture> demoSprites()
{
    std::vector<Picture> sprites{lark(), barrel(), ceilingLamp(), ghost(true), ghost(false)};
    for (int step = 0; step < WalkerSteps; ++step)
        for (int direction = 0; direction < WalkerDirections; ++direction)
            sprites.push_back(walker(direction, step));
    return sprites;
}

std::vector<std::vector<std::uint8_t>> demoSounds() { return {chirpSound(), twoToneBeep()}; }

std::vector<std::uint8_t> buildDemoVswap()
{
    std::vector<PageChunk> walls;
    for (const Picture& wall : demoWalls())
        walls.push_back(wallChunk(wall));
    std::vector<PageChunk> sprites;
    for (const Picture& sprite : demoSprites())
        sprites.push_back(spriteChunk(sprite));
    return pageFileBytes(pageFileOf(walls, sprites, demoSounds()));
}

}  // namespace pagelark::tools
