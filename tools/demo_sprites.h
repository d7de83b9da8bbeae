#pragma once

#include "tools/picture.h"

namespace pagelark::tools {

// The sprites of the demo file, drawn in the game palette.

// The bird the program is named after, standing, facing right.
Picture lark();
Picture barrel();
// A lamp hanging from the ceiling.
Picture ceilingLamp();

// A walking figure seen from eight directions: 0 facing the viewer, then
// turning in steps of 45 degrees through its right side (2) and its back
// (4) to its left side (6). Step 0..3 is the phase of its walk.
constexpr int WalkerDirections = 8;
constexpr int WalkerSteps = 4;
Picture walker(int direction, int step);

// A floating ghost with its eyes open or shut, for a two-frame blink.
Picture ghost(bool eyesOpen);

}  // namespace pagelark::tools
