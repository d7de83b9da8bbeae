#include "mods/known_games.h"

#include <array>

namespace pagelark {

namespace {

struct KnownGame {
    VswapHeader header;
    const char* name;
    const char* title;
};

// Only headers that one game's file has and no other's. The registered
// game's file has 106 walls (door pages included), 436 sprites and 120
// sound pages. The shareware 1.0 and Spear of Destiny files are not named:
// the program knows no header of theirs that tells them apart.
constexpr std::array<KnownGame, 1> KnownGames = {{
    {{663, 106, 542}, "wolf13", "Wolfenstein 3D 1.3 (registered)"},
}};

}  // namespace

std::string gameOfHeader(const VswapHeader& header)
{
    for (const KnownGame& game : KnownGames)
        if (game.header.chunkCount == header.chunkCount && game.header.spriteStart == header.spriteStart
            && game.header.soundStart == header.soundStart)
            return game.name;
    return {};
}

std::string gameInMessage(const std::string& game)
{
    for (const KnownGame& known : KnownGames)
        if (game == known.name)
            return known.title;
    // A name from a file may be of any length.
    constexpr std::size_t Shown = 32;
    return game.size() <= Shown ? game : game.substr(0, Shown) + "...";
}

}  // namespace pagelark
