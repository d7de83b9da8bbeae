#include "tools/demo_vswap.h"

#include "tools/demo_sounds.h"
#include "tools/demo_sprites.h"
#include "tools/demo_walls.h"
#include "tools/sprite_encoder.h"
#include "tools/vswap_writer.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace pagelark::tools {

namespace {

// A wall chunk holds the cells in picture order, one byte each.
std::vector<std::uint8_t> wallChunk(const Picture& picture)
{
    if (std::any_of(picture.begin(), picture.end(), [](std::int16_t cell) { return cell < 0 || cell > 255; }))
        throw std::invalid_argument("every cell of a wall must be a palette index");
    std::vector<std::uint8_t> chunk(picture.size());
    std::transform(picture.begin(), picture.end(), chunk.begin(),
                   [](std::int16_t cell) { return static_cast<std::uint8_t>(cell); });
    return chunk;
}

VswapWriter::Chunk chunkOf(std::vector<std::uint8_t> bytes)
{
    VswapWriter::Chunk chunk;
    chunk.bytes = std::move(bytes);
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
    VswapWriter writer;
    for (const Picture& wall : demoWalls())
        writer.wall(chunkOf(wallChunk(wall)));
    for (const Picture& sprite : demoSprites())
        writer.sprite(chunkOf(encodeSprite(sprite)));
    std::uint16_t page = 0;
    for (const std::vector<std::uint8_t>& sound : demoSounds()) {
        writer.sound(page, static_cast<std::uint16_t>(sound.size()));
        for (std::size_t at = 0; at < sound.size(); at += demo::SoundPageSize) {
            const std::size_t end = std::min(sound.size(), at + demo::SoundPageSize);
            writer.soundPage(chunkOf(
                {sound.begin() + static_cast<std::ptrdiff_t>(at), sound.begin() + static_cast<std::ptrdiff_t>(end)}));
            ++page;
        }
    }
    return writer.build();
}

}  // namespace pagelark::tools
