#include "tests/support/gif_bytes.h"

#include <algorithm>

namespace pagelark::testing {

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int ClearCode = 256;
constexpr int EndCode = 257;
constexpr int CodeBits = 9;
// After a clear code each pixel but the first adds an entry to the table;
// a clear code before it holds 512 keeps every code 9 bits wide.
constexpr int PixelsPerClear = 254;

void appendLittleEndian(Bytes& bytes, int value)
{
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

class CodeWriter {
public:
    void write(int code)
    {
        for (int bit = 0; bit < CodeBits; ++bit, ++bits_) {
            if (bits_ % 8 == 0)
                bytes_.push_back(0);
            bytes_.back() = static_cast<std::uint8_t>(bytes_.back() | ((code >> bit) & 1) << (bits_ % 8));
        }
    }
    const Bytes& bytes() const { return bytes_; }

private:
    Bytes bytes_;
    std::size_t bits_ = 0;
};

}  // namespace

std::vector<std::uint8_t> gifFileBytes(int width, int height, const std::vector<std::uint32_t>& colors,
                                       const std::vector<std::uint8_t>& indices)
{
    Bytes gif = {'G', 'I', 'F', '8', '9', 'a'};
    appendLittleEndian(gif, width);
    appendLittleEndian(gif, height);
    gif.insert(gif.end(), {0xF7, 0, 0});  // a colour table of 256 entries
    for (std::size_t i = 0; i < 256; ++i) {
        const std::uint32_t color = i < colors.size() ? colors[i] : 0;
        gif.insert(gif.end(),
                   {static_cast<std::uint8_t>(color >> 16), static_cast<std::uint8_t>(color >> 8),
                    static_cast<std::uint8_t>(color)});
    }
    gif.push_back(0x2C);
    appendLittleEndian(gif, 0);
    appendLittleEndian(gif, 0);
    appendLittleEndian(gif, width);
    appendLittleEndian(gif, height);
    gif.push_back(0);  // no colour table of its own, not interlaced
    gif.push_back(8);  // the codes start from 8-bit pixels

    CodeWriter codes;
    for (std::size_t i = 0; i < indices.size(); ++i) {
        if (i % PixelsPerClear == 0)
            codes.write(ClearCode);
        codes.write(indices[i]);
    }
    codes.write(EndCode);
    const Bytes& data = codes.bytes();
    for (std::size_t at = 0; at < data.size(); at += 255) {
        const std::size_t length = std::min<std::size_t>(255, data.size() - at);
        gif.push_back(static_cast<std::uint8_t>(length));
        gif.insert(gif.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
                   data.begin() + static_cast<std::ptrdiff_t>(at + length));
    }
    gif.push_back(0);
    gif.push_back(0x3B);
    return gif;
}

}  // namespace pagelark::testing
