#include "pictures/bmp_reader.h"

#include "archive/little_endian.h"
#include "archive/run_error.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>
#include <string>

namespace pagelark {

namespace {

constexpr std::size_t FileHeaderSize = 14;
constexpr std::size_t PixelOffsetAt = 10;
constexpr std::size_t InfoHeaderAt = FileHeaderSize;
constexpr std::size_t MasksAt = InfoHeaderAt + 40;  // after the basic information header
constexpr std::size_t ColorEntrySize = 4;
constexpr std::uint32_t MaxColors = 256;

// The information headers of Windows bitmaps; 12 and 64 bytes are OS/2's.
constexpr std::array<std::uint32_t, 5> WindowsHeaderSizes = {40, 52, 56, 108, 124};
constexpr std::uint32_t Os2CoreHeaderSize = 12;
constexpr std::uint32_t Os2HeaderSize = 64;

enum Compression : std::uint32_t {
    Uncompressed = 0,
    Rle8 = 1,
    Rle4 = 2,
    BitFields = 3,
    Jpeg = 4,
    Png = 5,
    AlphaBitFields = 6,
};

[[noreturn]] void refuse(const std::string& why)
{
    throw RunError::message("not a BMP file Pagelark can read: " + why);
}

std::int32_t i32At(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return static_cast<std::int32_t>(little_endian::longWord(bytes, at));
}

ArgbColor argb(std::uint32_t alpha, std::uint32_t red, std::uint32_t green, std::uint32_t blue)
{
    return alpha << 24 | red << 16 | green << 8 | blue;
}

// One channel of a 32-bit pixel under a bit-field mask, scaled to 0..255.
class Channel {
public:
    Channel() = default;
    explicit Channel(std::uint32_t mask) : mask_(mask), shift_(std::countr_zero(mask))
    {
        // A mask must be one run of bits, or its values mean nothing.
        if (mask == 0 || !std::has_single_bit((std::uint64_t{mask} >> shift_) + 1))
            refuse("a colour mask of bits that are not side by side");
        max_ = std::uint64_t{mask} >> shift_;
    }

    bool present() const { return mask_ != 0; }
    std::uint32_t of(std::uint32_t pixel) const
    {
        return static_cast<std::uint32_t>((std::uint64_t{pixel & mask_} >> shift_) * 255 / max_);
    }

private:
    std::uint32_t mask_ = 0;
    int shift_ = 0;
    std::uint64_t max_ = 1;
};

struct Layout {
    int width = 0;
    int rows = 0;
    bool topDown = false;
    int bitsPerPixel = 0;
    std::size_t pixelsAt = 0;
    std::size_t rowStride = 0;
};

// The file and information headers, every field checked against the file's
// length and against the kinds of bitmap decoded here.
Layout readLayout(std::span<const std::uint8_t> file, std::uint32_t& compression, std::uint32_t& headerSize)
{
    if (file.size() < 2 || file[0] != 'B' || file[1] != 'M')
        refuse("it does not start with \"BM\"");
    if (file.size() < InfoHeaderAt + 4)
        refuse("the file ends inside its header");
    headerSize = little_endian::longWord(file, InfoHeaderAt);
    if (headerSize == Os2CoreHeaderSize || headerSize == Os2HeaderSize)
        refuse("an OS/2 bitmap header");
    if (std::find(WindowsHeaderSizes.begin(), WindowsHeaderSizes.end(), headerSize) == WindowsHeaderSizes.end())
        refuse("a bitmap header of " + std::to_string(headerSize) + " bytes");
    if (file.size() < InfoHeaderAt + headerSize)
        refuse("the file ends inside its header");

    Layout layout;
    const std::int32_t width = i32At(file, InfoHeaderAt + 4);
    const std::int32_t height = i32At(file, InfoHeaderAt + 8);
    const std::uint16_t planes = little_endian::word(file, InfoHeaderAt + 12);
    layout.bitsPerPixel = little_endian::word(file, InfoHeaderAt + 14);
    compression = little_endian::longWord(file, InfoHeaderAt + 16);
    if (width <= 0 || height == 0 || height == INT32_MIN)
        refuse("a size of " + std::to_string(width) + " by " + std::to_string(height) + " pixels");
    if (planes != 1)
        refuse(std::to_string(planes) + " colour planes");
    if (layout.bitsPerPixel != 1 && layout.bitsPerPixel != 4 && layout.bitsPerPixel != 8 && layout.bitsPerPixel != 24
        && layout.bitsPerPixel != 32)
        refuse(std::to_string(layout.bitsPerPixel) + "-bit pixels");
    if (compression == Rle8 || compression == Rle4)
        refuse("RLE-compressed pixels");
    if (compression == Jpeg || compression == Png)
        refuse(compression == Jpeg ? "JPEG pixels" : "PNG pixels");
    const bool bitFields = compression == BitFields || compression == AlphaBitFields;
    if (compression != Uncompressed && !(bitFields && layout.bitsPerPixel == 32))
        refuse("compression method " + std::to_string(compression) + " for " + std::to_string(layout.bitsPerPixel)
               + "-bit pixels");

    layout.width = width;
    layout.rows = std::abs(height);
    layout.topDown = height < 0;
    // Rows are padded to whole 32-bit words.
    layout.rowStride = (static_cast<std::size_t>(width) * static_cast<std::size_t>(layout.bitsPerPixel) + 31) / 32 * 4;
    layout.pixelsAt = little_endian::longWord(file, PixelOffsetAt);
    if (layout.pixelsAt < InfoHeaderAt + headerSize || layout.pixelsAt > file.size())
        refuse("its pixels start at byte " + std::to_string(layout.pixelsAt) + " of a file of "
               + std::to_string(file.size()) + " bytes");
    if (static_cast<std::size_t>(layout.rows) > (file.size() - layout.pixelsAt) / layout.rowStride)
        refuse("the pixels of " + std::to_string(layout.width) + " by " + std::to_string(layout.rows)
               + " pixels run past the end of the file");
    return layout;
}

// The colour table of an indexed bitmap: blue, green, red and a reserved
// byte per entry, between the information header and the pixels; as many
// entries as the pixels can name unless the header says how many.
std::vector<ArgbColor> readColorTable(std::span<const std::uint8_t> file, const Layout& layout,
                                      std::uint32_t headerSize)
{
    const std::uint32_t declared = little_endian::longWord(file, InfoHeaderAt + 32);
    if (declared > MaxColors)
        refuse(std::to_string(declared) + " colours");
    const std::size_t count = declared == 0 ? std::size_t{1} << layout.bitsPerPixel : declared;
    const std::size_t tableAt = InfoHeaderAt + headerSize;
    if (layout.pixelsAt - tableAt < count * ColorEntrySize)
        refuse("its colour table of " + std::to_string(count) + " colours runs into its pixels");
    std::vector<ArgbColor> table(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = tableAt + i * ColorEntrySize;
        table[i] = argb(255, file[at + 2], file[at + 1], file[at]);
    }
    return table;
}

// The red, green, blue and alpha masks of 32-bit pixels. Without bit fields
// the fourth byte is reserved and most writers leave it 0, so it is no alpha.
std::array<Channel, 4> readChannels(std::span<const std::uint8_t> file, const Layout& layout, std::uint32_t compression,
                                    std::uint32_t headerSize)
{
    if (compression == Uncompressed)
        return {Channel(0x00FF0000), Channel(0x0000FF00), Channel(0x000000FF), Channel()};
    // A basic header is followed by the masks; the later headers hold them.
    const bool alphaMask = compression == AlphaBitFields || headerSize >= 56;
    const std::size_t masksEnd = MasksAt + (alphaMask ? 16 : 12);
    if (layout.pixelsAt < masksEnd)
        refuse("its colour masks run into its pixels");
    std::array<Channel, 4> channels{Channel(little_endian::longWord(file, MasksAt)),
                                    Channel(little_endian::longWord(file, MasksAt + 4)),
                                    Channel(little_endian::longWord(file, MasksAt + 8)), Channel()};
    if (alphaMask && little_endian::longWord(file, MasksAt + 12) != 0)
        channels[3] = Channel(little_endian::longWord(file, MasksAt + 12));
    return channels;
}

}  // namespace

DecodedPicture decodeBmp(std::span<const std::uint8_t> file)
{
    std::uint32_t compression = 0;
    std::uint32_t headerSize = 0;
    const Layout layout = readLayout(file, compression, headerSize);

    DecodedPicture picture;
    picture.width = layout.width;
    picture.height = layout.rows;
    picture.indexed = layout.bitsPerPixel <= 8;
    // Bounded by the file: every eight pixels have at least one byte of it.
    const std::size_t pixelCount = static_cast<std::size_t>(layout.width) * static_cast<std::size_t>(layout.rows);
    std::array<Channel, 4> channels;
    if (picture.indexed) {
        picture.colorTable = readColorTable(file, layout, headerSize);
        picture.indices.resize(pixelCount);
    } else {
        if (layout.bitsPerPixel == 32)
            channels = readChannels(file, layout, compression, headerSize);
        picture.pixels.resize(pixelCount);
    }

    const std::size_t bytesPerPixel = static_cast<std::size_t>(layout.bitsPerPixel) / 8;
    for (int row = 0; row < layout.rows; ++row) {
        const int y = layout.topDown ? row : layout.rows - 1 - row;
        const std::size_t rowAt = layout.pixelsAt + static_cast<std::size_t>(row) * layout.rowStride;
        const std::size_t out = static_cast<std::size_t>(y) * static_cast<std::size_t>(layout.width);
        if (layout.bitsPerPixel == 8) {
            const auto from = file.begin() + static_cast<std::ptrdiff_t>(rowAt);
            std::copy(from, from + layout.width, picture.indices.begin() + static_cast<std::ptrdiff_t>(out));
            continue;
        }
        if (picture.indexed) {
            // Pixels of fewer bits fill each byte from its high bits down.
            const auto bits = static_cast<std::size_t>(layout.bitsPerPixel);
            const auto mask = static_cast<unsigned>((1 << bits) - 1);
            for (std::size_t x = 0; x < static_cast<std::size_t>(layout.width); ++x) {
                const std::size_t bit = x * bits;
                picture.indices[out + x]
                    = static_cast<std::uint8_t>(file[rowAt + bit / 8] >> (8 - bits - bit % 8) & mask);
            }
            continue;
        }
        for (std::size_t x = 0; x < static_cast<std::size_t>(layout.width); ++x) {
            const std::size_t at = rowAt + x * bytesPerPixel;
            if (layout.bitsPerPixel == 24) {
                picture.pixels[out + x] = argb(255, file[at + 2], file[at + 1], file[at]);
            } else {
                const std::uint32_t value = little_endian::longWord(file, at);
                const std::uint32_t alpha = channels[3].present() ? channels[3].of(value) : 255;
                picture.pixels[out + x]
                    = argb(alpha, channels[0].of(value), channels[1].of(value), channels[2].of(value));
            }
        }
    }
    return picture;
}

}  // namespace pagelark
