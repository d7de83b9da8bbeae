#pragma once

#include <cstdint>
#include <vector>

namespace pagelark::testing {

// A GIF of one picture (Qt reads GIF files but does not write them): its
// colours as 0xRRGGBB, at most 256, and its indices in rows, top row first.
// The codes are written without compression, each pixel a code of its own,
// so that a test can tell where each pixel's bits lie.
std::vector<std::uint8_t> gifFileBytes(int width, int height, const std::vector<std::uint32_t>& colors,
                                       const std::vector<std::uint8_t>& indices);

}  // namespace pagelark::testing
