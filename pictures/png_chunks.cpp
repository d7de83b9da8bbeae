#include "pictures/png_chunks.h"

#include "archive/run_error.h"

#include <algorithm>
#include <array>
#include <string>

namespace pagelark {

namespace {

constexpr std::array<std::uint8_t, 8> Signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Length, type, body, check sum.
constexpr std::size_t ChunkFrame = 12;
constexpr std::uint32_t LargestChunk = 0x7FFFFFFF;

std::uint32_t u32At(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return static_cast<std::uint32_t>(bytes[at]) << 24 | static_cast<std::uint32_t>(bytes[at + 1]) << 16
        | static_cast<std::uint32_t>(bytes[at + 2]) << 8 | static_cast<std::uint32_t>(bytes[at + 3]);
}

// A chunk's type is four letters; anything else is shown by its numbers.
std::string typeName(std::span<const std::uint8_t> type)
{
    if (std::all_of(type.begin(), type.end(),
                    [](std::uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }))
        return std::string(type.begin(), type.end());
    std::string name;
    for (const std::uint8_t c : type)
        name += (name.empty() ? "" : " ") + std::to_string(c);
    return name;
}

[[noreturn]] void refuseCut()
{
    throw RunError::message("the picture's pixels cannot all be decoded: the file ends inside them");
}

}  // namespace

std::uint32_t pngCrc(std::span<const std::uint8_t> bytes)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> entries{};
        for (std::uint32_t n = 0; n < entries.size(); ++n) {
            std::uint32_t c = n;
            for (int bit = 0; bit < 8; ++bit)
                c = (c & 1) != 0 ? 0xEDB88320 ^ (c >> 1) : c >> 1;
            entries[n] = c;
        }
        return entries;
    }();
    std::uint32_t crc = 0xFFFFFFFF;
    for (const std::uint8_t byte : bytes)
        crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void checkPngChunks(std::span<const std::uint8_t> file)
{
    if (file.size() < Signature.size() || !std::equal(Signature.begin(), Signature.end(), file.begin()))
        return;
    // The pixel data is one run of IDAT chunks; the first other chunk after it ends it.
    bool inPixels = false;
    bool afterPixels = false;
    std::size_t at = Signature.size();
    for (;;) {
        const std::size_t left = file.size() - at;
        if (left < ChunkFrame || u32At(file, at) > left - ChunkFrame) {
            if (afterPixels)
                return;
            refuseCut();
        }
        const std::uint32_t length = u32At(file, at);
        if (length > LargestChunk)
            throw RunError::message("the picture file is damaged: a chunk of " + std::to_string(length) + " bytes");
        const std::span<const std::uint8_t> typeAndBody = file.subspan(at + 4, 4 + std::size_t{length});
        const std::span<const std::uint8_t> type = typeAndBody.first(4);
        if (pngCrc(typeAndBody) != u32At(file, at + 8 + length))
            throw RunError::message("the picture file is damaged: its " + typeName(type)
                                    + " chunk does not match its check sum");
        const bool pixels = std::equal(type.begin(), type.end(), "IDAT");
        afterPixels = afterPixels || (inPixels && !pixels);
        inPixels = pixels;
        if (std::equal(type.begin(), type.end(), "IEND"))
            return;
        at += ChunkFrame + length;
    }
}

}  // namespace pagelark
