#include "tests/sound/sound_match.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace pagelark::testing {

namespace {

constexpr std::size_t WindowSamples = RecordingRate / 100;
// Well above the rounding noise of a silent recording, well below the
// quietest part of a test sound (its RMS stays above 15).
constexpr double LoudRms = 6.0;

double centred(std::uint8_t sample) { return static_cast<double>(sample) - 128.0; }

}  // namespace

Samples glidingTone(double seconds, double fromHz, double toHz, double waverHz)
{
    const auto count = static_cast<std::size_t>(seconds * RecordingRate);
    const double fadeSamples = RecordingRate * 0.01;
    Samples samples(count);
    double phase = 0.0;
    for (std::size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / RecordingRate;
        phase += 2.0 * std::numbers::pi * (fromHz + (toHz - fromHz) * t / seconds) / RecordingRate;
        const double fromEnds = static_cast<double>(std::min(i, count - 1 - i));
        const double fade = std::min(1.0, fromEnds / fadeSamples);
        const double loudness = 0.6 + 0.35 * std::sin(2.0 * std::numbers::pi * waverHz * t);
        samples[i] = static_cast<std::uint8_t>(std::lround(128.0 + 100.0 * fade * loudness * std::sin(phase)));
    }
    return samples;
}

double LoudSpan::seconds() const { return static_cast<double>(end - begin) / RecordingRate; }

LoudSpan loudSpan(const Samples& recording)
{
    LoudSpan span;
    bool found = false;
    for (std::size_t at = 0; at + WindowSamples <= recording.size(); at += WindowSamples) {
        double energy = 0.0;
        for (std::size_t i = at; i < at + WindowSamples; ++i)
            energy += centred(recording[i]) * centred(recording[i]);
        if (std::sqrt(energy / WindowSamples) < LoudRms)
            continue;
        if (!found)
            span.begin = at;
        found = true;
        span.end = at + WindowSamples;
    }
    return span;
}

Match bestMatch(const Samples& recording, const Samples& sound, std::size_t near, std::size_t slack)
{
    double soundEnergy = 0.0;
    for (std::uint8_t s : sound)
        soundEnergy += centred(s) * centred(s);
    Match best;
    const auto first = static_cast<std::ptrdiff_t>(near) - static_cast<std::ptrdiff_t>(slack);
    const auto last = static_cast<std::ptrdiff_t>(near + slack);
    for (std::ptrdiff_t start = first; start <= last; ++start) {
        double product = 0.0;
        double recordedEnergy = 0.0;
        for (std::size_t i = 0; i < sound.size(); ++i) {
            const std::ptrdiff_t at = start + static_cast<std::ptrdiff_t>(i);
            if (at < 0 || at >= static_cast<std::ptrdiff_t>(recording.size()))
                continue;
            const double r = centred(recording[static_cast<std::size_t>(at)]);
            product += r * centred(sound[i]);
            recordedEnergy += r * r;
        }
        // What the recording lacks of the sound counts against it: the
        // sound's whole energy is in the denominator.
        const double denominator = std::sqrt(soundEnergy * recordedEnergy);
        const double correlation = denominator > 0.0 ? product / denominator : 0.0;
        if (correlation > best.correlation)
            best = {correlation, start};
    }
    return best;
}

Samples firstSeconds(const Samples& sound, double seconds)
{
    const auto count = std::min(sound.size(), static_cast<std::size_t>(seconds * RecordingRate));
    return {sound.begin(), sound.begin() + static_cast<std::ptrdiff_t>(count)};
}

}  // namespace pagelark::testing
