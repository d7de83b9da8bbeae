#include "pictures/gif_pixels.h"

#include "archive/little_endian.h"
#include "archive/run_error.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace pagelark {

namespace {

// The byte that says what the next block of the file is.
enum BlockIntroducer : std::uint8_t { ExtensionIntroducer = 0x21, ImageSeparator = 0x2C, Trailer = 0x3B };

constexpr std::size_t ScreenDescriptorEnd = 13;
constexpr std::size_t ImageDescriptorSize = 9;
constexpr std::uint8_t ColorTableFlag = 0x80;
constexpr int LargestCodeBits = 12;
constexpr int TableSize = 1 << LargestCodeBits;

[[noreturn]] void refuse(const std::string& why)
{
    throw RunError::message("the picture's pixels cannot all be decoded: " + why);
}

[[noreturn]] void refuseCut() { refuse("the file ends inside them"); }

// Bytes of a colour table, when its flag is set in these flags.
std::size_t colorTableBytes(std::uint8_t flags)
{
    return (flags & ColorTableFlag) != 0 ? std::size_t{3} << ((flags & 7) + 1) : 0;
}

std::size_t skip(std::span<const std::uint8_t> file, std::size_t at, std::size_t count)
{
    if (file.size() - at < count)
        refuseCut();
    return at + count;
}

// The data of a run of sub-blocks (a length byte, that many bytes, ..., a
// zero length) appended to data, as much of it as the file holds; returns
// where the run ends.
std::size_t subBlocks(std::span<const std::uint8_t> file, std::size_t at, std::vector<std::uint8_t>* data)
{
    while (at < file.size()) {
        const std::size_t length = file[at++];
        if (length == 0)
            return at;
        const std::size_t end = std::min(file.size(), at + length);
        if (data != nullptr)
            data->insert(data->end(), file.begin() + static_cast<std::ptrdiff_t>(at),
                         file.begin() + static_cast<std::ptrdiff_t>(end));
        at = end;
    }
    return at;
}

// Codes of a bit width, least significant bit first.
class CodeReader {
public:
    explicit CodeReader(const std::vector<std::uint8_t>& data) : data_(data) {}

    bool read(int bits, int& code)
    {
        if ((data_.size() * 8 - position_) < static_cast<std::size_t>(bits))
            return false;
        code = 0;
        for (int bit = 0; bit < bits; ++bit, ++position_)
            code |= ((data_[position_ / 8] >> (position_ % 8)) & 1) << bit;
        return true;
    }

private:
    const std::vector<std::uint8_t>& data_;
    std::size_t position_ = 0;
};

// Decodes the LZW codes as far as needed to count the pixels they give.
// Only each entry's length is kept: the count needs no pixel values.
void countPixels(const std::vector<std::uint8_t>& data, int minimumBits, std::size_t wanted)
{
    if (minimumBits < 1 || minimumBits >= LargestCodeBits)
        refuse("its compressed pixels are damaged");
    const int clear = 1 << minimumBits;
    const int end = clear + 1;
    std::array<std::size_t, TableSize> lengths{};
    std::fill_n(lengths.begin(), clear, std::size_t{1});
    int next = clear + 2;
    int bits = minimumBits + 1;
    int previous = -1;
    std::size_t pixels = 0;
    CodeReader codes(data);
    int code = 0;
    while (pixels < wanted) {
        if (!codes.read(bits, code))
            refuseCut();
        if (code == clear) {
            next = clear + 2;
            bits = minimumBits + 1;
            previous = -1;
            continue;
        }
        if (code == end)
            refuse("its compressed pixels end early");
        if (previous < 0) {
            if (code > clear)
                refuse("its compressed pixels are damaged");
            pixels += 1;
            previous = code;
            continue;
        }
        // A code one beyond the table stands for the previous entry and its own first pixel.
        if (code > next)
            refuse("its compressed pixels are damaged");
        const std::size_t added = lengths[static_cast<std::size_t>(previous)] + 1;
        pixels += code == next ? added : lengths[static_cast<std::size_t>(code)];
        if (next < TableSize) {
            lengths[static_cast<std::size_t>(next)] = added;
            ++next;
            if (next == 1 << bits && bits < LargestCodeBits)
                ++bits;
        }
        previous = code;
    }
}

}  // namespace

void checkGifPixels(std::span<const std::uint8_t> file)
{
    if (file.size() < 6 || (std::memcmp(file.data(), "GIF87a", 6) != 0 && std::memcmp(file.data(), "GIF89a", 6) != 0))
        return;
    std::size_t at = skip(file, 0, ScreenDescriptorEnd);
    at = skip(file, at, colorTableBytes(file[10]));
    for (;;) {
        if (at >= file.size())
            refuseCut();
        const std::uint8_t introducer = file[at++];
        if (introducer == ExtensionIntroducer) {
            at = subBlocks(file, skip(file, at, 1), nullptr);
        } else if (introducer == ImageSeparator) {
            const std::size_t descriptor = at;
            at = skip(file, at, ImageDescriptorSize);
            at = skip(file, at, colorTableBytes(file[descriptor + 8]));
            at = skip(file, at, 1);
            const int minimumBits = file[at - 1];
            std::vector<std::uint8_t> data;
            subBlocks(file, at, &data);
            countPixels(data, minimumBits,
                        std::size_t{little_endian::word(file, descriptor + 4)}
                            * little_endian::word(file, descriptor + 6));
            return;
        } else if (introducer == Trailer) {
            refuse("the file holds no picture");
        } else {
            refuse("its blocks are damaged");
        }
    }
}

}  // namespace pagelark
