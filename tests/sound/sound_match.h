#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pagelark::testing {

using Samples = std::vector<std::uint8_t>;

// The rate of the test sounds and of the recordings: the rate of the
// program's sounds, so that recorded and expected samples line up one to one.
constexpr int RecordingRate = 6896;

// A sound to recognise in a recording, 8-bit unsigned at the program's
// rate: a tone gliding from one pitch to another, its loudness wavering
// waverHz times a second (never near silence), short fades at both ends.
// Low pitches survive the server's resampling to its own rate and back.
Samples glidingTone(double seconds, double fromHz, double toHz, double waverHz);

// Where a recording is loud: from the first to the last loud 10 ms window.
struct LoudSpan {
    std::size_t begin = 0;
    std::size_t end = 0;
    bool heard() const { return end > begin; }
    double seconds() const;
};
LoudSpan loudSpan(const Samples& recording);

// How well a sound lines up with a recording at its best alignment, among
// those that put the sound's start within slack samples of near: the
// normalised correlation (1 for a perfect copy, about 0.7 for the sound
// mixed with another as loud) and the recording index of its first sample.
struct Match {
    double correlation = 0.0;
    std::ptrdiff_t start = 0;
};
Match bestMatch(const Samples& recording, const Samples& sound, std::size_t near, std::size_t slack);

// The first part of a sound, this many seconds long.
Samples firstSeconds(const Samples& sound, double seconds);

}  // namespace pagelark::testing
