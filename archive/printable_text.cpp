#include "archive/printable_text.h"

#include <cstdint>

namespace pagelark {

namespace {

constexpr char HexDigits[] = "0123456789ABCDEF";

void escape(std::string& out, unsigned char byte)
{
    out += "\\x";
    out += HexDigits[byte >> 4];
    out += HexDigits[byte & 0xF];
}

// The length of the well-formed UTF-8 sequence of a character beyond ASCII
// at the start of text, 0 when there is none; its code point goes to point.
std::size_t utf8Length(std::string_view text, std::uint32_t& point)
{
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length = 0;
    std::uint32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        point = lead & 0x1F;
        least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        point = lead & 0x0F;
        least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        point = lead & 0x07;
        least = 0x10000;
    } else {
        return 0;
    }
    if (text.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80)
            return 0;
        point = (point << 6) | (next & 0x3F);
    }
    if (point < least || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF))
        return 0;
    return length;
}

}  // namespace

std::string printableText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const auto byte = static_cast<unsigned char>(text[0]);
        if (byte < 0x80) {
            if (byte < 0x20 || byte == 0x7F)
                escape(out, byte);
            else if (byte == '\\')
                out += "\\\\";
            else
                out += static_cast<char>(byte);
            text.remove_prefix(1);
            continue;
        }
        std::uint32_t point = 0;
        const std::size_t length = utf8Length(text, point);
        // The C1 controls, such as the one-byte escape U+009B, are not printed either.
        if (length == 0 || (point >= 0x80 && point <= 0x9F)) {
            for (std::size_t i = 0; i < (length == 0 ? 1 : length); ++i)
                escape(out, static_cast<unsigned char>(text[i]));
            text.remove_prefix(length == 0 ? 1 : length);
            continue;
        }
        out.append(text.substr(0, length));
        text.remove_prefix(length);
    }
    return out;
}

}  // namespace pagelark
