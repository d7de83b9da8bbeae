#include "tests/support/png_bytes.h"

#include "pictures/png_chunks.h"

#include <algorithm>
#include <string>

namespace pagelark::testing {

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t LargestStoredBlock = 65535;

void appendBigEndian(Bytes& bytes, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

void appendChunk(Bytes& png, const std::string& type, const Bytes& body)
{
    Bytes typed(type.begin(), type.end());
    typed.insert(typed.end(), body.begin(), body.end());
    appendBigEndian(png, static_cast<std::uint32_t>(body.size()));
    png.insert(png.end(), typed.begin(), typed.end());
    appendBigEndian(png, pngCrc(typed));
}

int channels(PngPicture::ColorType type)
{
    switch (type) {
    case PngPicture::Rgb:
        return 3;
    case PngPicture::GreyAlpha:
        return 2;
    case PngPicture::Rgba:
        return 4;
    default:
        return 1;
    }
}

// Each row a filter byte of 0 (none), then its values packed from the high bits down.
Bytes packedRows(const PngPicture& picture)
{
    const auto perRow = static_cast<std::size_t>(picture.width * channels(picture.colorType));
    Bytes rows;
    for (std::size_t row = 0; row < static_cast<std::size_t>(picture.height); ++row) {
        rows.push_back(0);
        int filled = 8;
        for (std::size_t i = 0; i < perRow; ++i) {
            if (filled == 8) {
                rows.push_back(0);
                filled = 0;
            }
            filled += picture.bitDepth;
            rows.back() = static_cast<std::uint8_t>(rows.back() | picture.samples.at(row * perRow + i) << (8 - filled));
        }
    }
    return rows;
}

// A zlib stream of stored deflate blocks.
Bytes zlibStored(const Bytes& data)
{
    Bytes stream = {0x78, 0x01};
    std::size_t at = 0;
    do {
        const std::size_t length = std::min(LargestStoredBlock, data.size() - at);
        const bool last = at + length == data.size();
        stream.push_back(last ? 1 : 0);
        stream.push_back(static_cast<std::uint8_t>(length));
        stream.push_back(static_cast<std::uint8_t>(length >> 8));
        stream.push_back(static_cast<std::uint8_t>(~length));
        stream.push_back(static_cast<std::uint8_t>(~length >> 8));
        stream.insert(stream.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
                      data.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
    } while (at < data.size());
    std::uint32_t low = 1;
    std::uint32_t high = 0;
    for (const std::uint8_t byte : data) {
        low = (low + byte) % 65521;
        high = (high + low) % 65521;
    }
    appendBigEndian(stream, high << 16 | low);
    return stream;
}

}  // namespace

std::vector<std::uint8_t> pngFileBytes(const PngPicture& picture)
{
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    appendBigEndian(header, static_cast<std::uint32_t>(picture.width));
    appendBigEndian(header, static_cast<std::uint32_t>(picture.height));
    header.insert(header.end(), {static_cast<std::uint8_t>(picture.bitDepth), picture.colorType, 0, 0, 0});
    appendChunk(png, "IHDR", header);
    if (!picture.palette.empty())
        appendChunk(png, "PLTE", picture.palette);
    if (!picture.transparency.empty())
        appendChunk(png, "tRNS", picture.transparency);
    appendChunk(png, "IDAT", zlibStored(packedRows(picture)));
    appendChunk(png, "IEND", {});
    return png;
}

}  // namespace pagelark::testing
