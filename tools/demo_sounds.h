#pragma once

#include <cstdint>
#include <vector>

namespace pagelark::tools {

// The sounds of the demo file: 8-bit unsigned samples, 128 the silence,
// played at the game's rate.
constexpr int DemoSampleRate = 6896;

// A bird-like chirp rising in pitch, about 0.4 s.
std::vector<std::uint8_t> chirpSound();
// Two tones one after the other, about 0.8 s: longer than one sound page.
std::vector<std::uint8_t> twoToneBeep();

}  // namespace pagelark::tools
