#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pagelark::testing {

// Bytes counting up from `from` in steps of `step`, wrapping at 256: chunk
// contents in which a byte moved, lost or repeated shows.
inline std::vector<std::uint8_t> countingBytes(std::size_t size, std::uint8_t from, std::uint8_t step)
{
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t n = 0; n < size; ++n)
        bytes[n] = static_cast<std::uint8_t>(from + n * step);
    return bytes;
}

}  // namespace pagelark::testing
