#pragma once

#include <vector>

namespace pagelark {

// A sound at a rate far above what a converter handles quickly (a sound of
// a million samples a second) brought down by a whole factor first: five
// moving averages of `factor` samples, then every factor-th sample. What
// lies within an eighth of the new rate of its multiples, which would fold
// onto the lowest eighth, is kept out by more than 80 dB; that eighth itself
// loses at most 1.1 dB at its top. It costs five additions a sample, where a
// converter's filter for so large a step costs hundreds. Sample m of the
// result stands for input sample m * factor. A factor of 1 returns the
// samples as they are.
std::vector<float> decimated(std::vector<float> samples, int factor);

}  // namespace pagelark
