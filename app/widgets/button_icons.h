#pragma once

#include <QIcon>

namespace pagelark {

// The pictures of the window's picture buttons, drawn in code. Their
// disabled look is the one QIcon derives.
QIcon paletteIcon();  // "New Palette": a few coloured squares
QIcon playIcon();     // "Play sound": a green triangle pointing right
QIcon muteIcon();     // "Mute sound": a red square

}  // namespace pagelark
