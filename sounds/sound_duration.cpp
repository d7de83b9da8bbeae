#include "sounds/sound_duration.h"

#include <charconv>
#include <cmath>

namespace pagelark {

std::string durationText(std::int32_t length, const std::string& decimalSeparator)
{
    const double tenths = std::trunc(static_cast<double>(std::int64_t{length} * 10) / SoundSampleRate);
    const double seconds = tenths / 10.0;
    // The general format: up to 15 significant digits, no trailing zeros;
    // to_chars, unlike printf, does not follow the process's locale.
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, seconds, std::chars_format::general, 15).ptr;
    std::string result(text, end);
    if (const std::size_t point = result.find('.'); point != std::string::npos)
        result.replace(point, 1, decimalSeparator);
    return result + " sec";
}

}  // namespace pagelark
