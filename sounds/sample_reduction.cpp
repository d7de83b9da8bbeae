#include "sounds/sample_reduction.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace pagelark {

namespace {

constexpr float HalfRange = 127.0f;
constexpr int Centre = 128;

// A small generator of its own, so that the noise is the same on every
// system and with every standard library.
class Noise {
public:
    // Uniform in [0, 1).
    float next()
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return static_cast<float>(state_ >> 40) / static_cast<float>(1 << 24);
    }
    // Triangular in (-1, 1): the sum of two uniform ones.
    float triangular() { return next() - next(); }

private:
    std::uint64_t state_ = 0x9E3779B97F4A7C15;
};

}  // namespace

std::vector<std::uint8_t> eightBitSamples(std::span<const float> samples, bool dither)
{
    Noise noise;
    std::vector<std::uint8_t> eightBit(samples.size());
    for (std::size_t n = 0; n < samples.size(); ++n) {
        // The converter overshoots a little on a sound at full scale; that is clipped without a word.
        const float value = std::isnan(samples[n]) ? 0.0f : std::clamp(samples[n], -1.0f, 1.0f);
        const float offset = dither ? noise.triangular() : 0.0f;
        eightBit[n] = static_cast<std::uint8_t>(std::clamp(Centre + std::lround(value * HalfRange + offset), 0L, 255L));
    }
    return eightBit;
}

void ClippingCount::add(float sample)
{
    const float size = std::fabs(sample);
    if (size > 1.0f) {
        ++count_;
        peak_ = std::max(peak_, size);
    }
}

std::optional<std::string> ClippingCount::report() const
{
    if (count_ == 0)
        return std::nullopt;
    // A float sample may be infinite: louder than any figure.
    char decibels[32];
    if (std::isinf(peak_))
        std::snprintf(decibels, sizeof decibels, "without limit");
    else
        std::snprintf(decibels, sizeof decibels, "by up to %.1f dB", 20.0 * std::log10(static_cast<double>(peak_)));
    return "clipped: " + std::to_string(count_) + (count_ == 1 ? " sample" : " samples") + " louder than full scale, "
        + decibels;
}

}  // namespace pagelark
