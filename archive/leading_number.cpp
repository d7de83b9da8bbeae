#include "archive/leading_number.h"

#include <limits>

namespace pagelark {

std::int32_t readLeadingNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    std::int64_t value = 0;
    constexpr std::int64_t Largest = std::numeric_limits<std::int32_t>::max();
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > Largest)
            value = Largest;
    }
    return static_cast<std::int32_t>(value);
}

std::int32_t readNumberAt(std::string_view line, std::size_t first, std::size_t last)
{
    if (line.size() < first)
        return 0;
    return readLeadingNumber(line.substr(first - 1, last - first + 1));
}

}  // namespace pagelark
