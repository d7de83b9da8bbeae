#pragma once

#include <cstdint>
#include <string_view>

namespace pagelark {

// The number at the start of a text: leading spaces are skipped, then decimal
// digits are taken up to the first character that is not a digit. The value
// read so far counts, 0 when there is none; nothing is reported. The value
// stops growing at the largest 32-bit number instead of overflowing.
std::int32_t readLeadingNumber(std::string_view text);

// The number in characters first..last of a line (counted from 1), read as
// readLeadingNumber reads it; 0 when the line is shorter than that.
std::int32_t readNumberAt(std::string_view line, std::size_t first, std::size_t last);

}  // namespace pagelark
