#include "tools/demo_sounds.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace pagelark::tools {

namespace {

std::uint8_t sample(double level)
{
    return static_cast<std::uint8_t>(std::clamp(std::lround(128.0 + level), 0L, 255L));
}

// Short fades at both ends keep the sound from clicking.
double fade(std::size_t i, std::size_t count)
{
    const double ramp = DemoSampleRate * 0.01;
    const double fromEnds = static_cast<double>(std::min(i, count - 1 - i));
    return std::min(1.0, fromEnds / ramp);
}

}  // namespace

std::vector<std::uint8_t> chirpSound()
{
    const auto count = static_cast<std::size_t>(DemoSampleRate * 0.4);
    std::vector<std::uint8_t> samples(count);
    double phase = 0.0;
    for (std::size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / static_cast<double>(count);
        // Three quick rising trills, each from 1500 Hz up to 3000 Hz.
        const double trill = std::fmod(t * 3.0, 1.0);
        const double frequency = 1500.0 + 1500.0 * trill;
        phase += 2.0 * std::numbers::pi * frequency / DemoSampleRate;
        const double envelope = std::sin(std::numbers::pi * trill) * fade(i, count);
        samples[i] = sample(100.0 * envelope * std::sin(phase));
    }
    return samples;
}

std::vector<std::uint8_t> twoToneBeep()
{
    const auto count = static_cast<std::size_t>(DemoSampleRate * 0.8);
    std::vector<std::uint8_t> samples(count);
    double phase = 0.0;
    for (std::size_t i = 0; i < count; ++i) {
        const double frequency = i < count / 2 ? 880.0 : 660.0;
        phase += 2.0 * std::numbers::pi * frequency / DemoSampleRate;
        samples[i] = sample(90.0 * fade(i, count) * std::sin(phase));
    }
    return samples;
}

}  // namespace pagelark::tools
