#pragma once

#include <cstdint>
#include <string>

namespace pagelark {

// Sounds play at this many 8-bit samples per second: one byte is one sample.
constexpr int SoundSampleRate = 6896;

// The duration of a sound of this many bytes, cut down (never rounded) to
// tenths of a second and written in the shortest form: "1.4 sec", "1 sec",
// "0 sec", with the given decimal separator.
std::string durationText(std::int32_t length, const std::string& decimalSeparator);

}  // namespace pagelark
