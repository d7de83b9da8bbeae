#pragma once

#include "tools/picture.h"

namespace pagelark::tools {

// The walls of the demo file, drawn in the game palette. Each ordinary wall
// comes in a lit and a shaded version, as walls facing two ways do.
Picture brickWall(bool shaded);
Picture woodWall(bool shaded);
Picture stoneWall(bool shaded);
// The door pair: the door leaf and the jamb the door slides into.
Picture doorLeaf();
Picture doorJamb();

}  // namespace pagelark::tools
