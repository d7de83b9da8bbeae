#pragma once

#include <cstdint>
#include <span>

namespace pagelark {

// Checks that a JPEG file's segments and compressed pixels run to its end
// marker. The decoder fills what a cut file lacks with grey and reports
// success, with a warning only. Raises a RunError for a file that ends
// before its end marker; does nothing for a file that is no JPEG.
void checkJpegSegments(std::span<const std::uint8_t> file);

}  // namespace pagelark
