#include "sounds/decimation.h"

#include <algorithm>
#include <cstddef>

namespace pagelark {

namespace {

constexpr int Averages = 5;

// The mean of each sample and the factor - 1 before it, those before the
// start taken as silence; in place, the samples that leave the window kept
// in a ring.
void movingAverage(std::vector<float>& samples, std::size_t length)
{
    std::vector<float> window(length, 0.0f);
    double sum = 0;
    for (std::size_t n = 0; n < samples.size(); ++n) {
        float& slot = window[n % length];
        sum += static_cast<double>(samples[n]) - slot;
        slot = samples[n];
        samples[n] = static_cast<float>(sum / static_cast<double>(length));
    }
}

}  // namespace

std::vector<float> decimated(std::vector<float> samples, int factor)
{
    if (factor <= 1)
        return samples;
    const auto length = static_cast<std::size_t>(factor);
    // Each average delays the sound by (factor - 1) / 2 samples. The last
    // few kept, whose delayed place lies past the end, take the last average
    // there is: a fraction of a millisecond, not worth a copy of the sound.
    const std::size_t delay = Averages * (length - 1) / 2;
    const std::size_t count = (samples.size() + length - 1) / length;
    for (int pass = 0; pass < Averages; ++pass)
        movingAverage(samples, length);
    // Kept in place: sample m moves down from m * factor + delay.
    for (std::size_t m = 0; m < count; ++m)
        samples[m] = samples[std::min(m * length + delay, samples.size() - 1)];
    samples.resize(count);
    samples.shrink_to_fit();
    return samples;
}

}  // namespace pagelark
