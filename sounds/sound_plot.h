#pragma once

#include "pictures/canvas.h"

#include <cstdint>

namespace pagelark {

class ByteFile;

// The positions at which a plot samples a sound: a linear congruential
// generator that starts from seed 0 with the program and is never reseeded,
// so the k-th plot of a run depends only on k and the sound.
class SamplePositions {
public:
    // A position from 0 to length - 1 (0 for a length of 0).
    std::uint32_t next(std::uint32_t length);

private:
    std::uint32_t seed_ = 0;
};

// Points drawn by every plot, whatever the sound's length.
constexpr int SoundPlotPoints = 6400;

// Plots a sound as a scatter of samples over a black band in rows 32..287 of
// the view, the rest of the view in the window's colour. Each point is the
// byte at a drawn position: its column is the position scaled to the view's
// width, its row 287 minus the byte's value. The file's last byte is never
// read; a point at or beyond it repeats the previous point's value (0 at the
// start of a plot).
void plotSound(ByteFile& file, std::int32_t offset, std::int32_t length, SamplePositions& positions, Canvas& view,
               PackedColor windowColor);

}  // namespace pagelark
