#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace pagelark {

// The page file's 8-bit unsigned samples of samples of full scale 1.0:
// 128 + round(x * 127), clipped to full scale, NaN taken as silence.
// Dithered, a triangular noise of up to one step either way is added
// before the rounding, so that a sound quieter than a step is not lost to
// silence; the noise comes from a generator of fixed seed, so the same
// sound always gives the same samples.
std::vector<std::uint8_t> eightBitSamples(std::span<const float> samples, bool dither);

// Counts the samples of a sound louder than full scale, to say how much
// of it is clipped.
class ClippingCount {
public:
    void add(float sample);
    // "clipped: 312 samples louder than full scale, by up to 6.0 dB", or
    // nothing for a sound within full scale.
    std::optional<std::string> report() const;

private:
    std::size_t count_ = 0;
    float peak_ = 1.0f;
};

}  // namespace pagelark
