#pragma once

#include "archive/page_file.h"
#include "tools/picture.h"

#include <cstdint>
#include <vector>

namespace pagelark::tools {

// What the demo file holds, in chunk order: walls, sprites, sound pages and
// the sound information.
namespace demo {

// Wall chunks: lit and shaded brick, wood and stone, then the door pair.
constexpr int BrickWall = 0;
constexpr int WoodWall = 2;
constexpr int StoneWall = 4;
constexpr int DoorLeaf = 6;
constexpr int DoorJamb = 7;
constexpr int WallCount = 8;

// Sprite numbers (chunk index minus the first sprite's index).
constexpr int Lark = 0;
constexpr int Barrel = 1;
constexpr int Lamp = 2;
constexpr int GhostEyesOpen = 3;
constexpr int GhostEyesShut = 4;
// Walker sprite number WalkerFirst + 8 * step + direction, so the four steps
// seen from one direction lie eight chunks apart.
constexpr int WalkerFirst = 5;
constexpr int SpriteCount = WalkerFirst + 32;

// Sounds are numbered from 0; each starts on a fresh page.
constexpr int Chirp = 0;
constexpr int Beep = 1;
constexpr int SoundPageSize = static_cast<int>(pagelark::SoundPageSize);

}  // namespace demo

// The pictures and sounds in the order the file holds them.
std::vector<Picture> demoWalls();
std::vector<Picture> demoSprites();
std::vector<std::vector<std::uint8_t>> demoSounds();

// The bytes of the whole demo file.
std::vector<std::uint8_t> buildDemoVswap();

}  // namespace pagelark::tools
