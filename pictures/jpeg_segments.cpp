#include "pictures/jpeg_segments.h"

#include "archive/run_error.h"

#include <string>

namespace pagelark {

namespace {

// A marker is MarkerByte and a byte that says which: one of these, or a
// restart marker, one of eight in a row.
constexpr std::uint8_t MarkerByte = 0xFF;
enum Marker : std::uint8_t { Temporary = 0x01, StartOfImage = 0xD8, EndOfImage = 0xD9, StartOfScan = 0xDA };
constexpr std::uint8_t FirstRestart = 0xD0;
constexpr std::uint8_t LastRestart = 0xD7;

[[noreturn]] void refuseCut()
{
    throw RunError::message("the picture's pixels cannot all be decoded: the file ends inside them");
}

bool standalone(std::uint8_t marker)
{
    return marker == Temporary || (marker >= FirstRestart && marker <= LastRestart) || marker == StartOfImage;
}

// Where the compressed data of a scan ends: at the first marker that is not
// a stuffed zero byte or a restart marker within it.
std::size_t scanEnd(std::span<const std::uint8_t> file, std::size_t at)
{
    for (; at + 1 < file.size(); ++at) {
        if (file[at] != MarkerByte)
            continue;
        const std::uint8_t next = file[at + 1];
        if (next != 0 && next != MarkerByte && !(next >= FirstRestart && next <= LastRestart))
            return at;
    }
    refuseCut();
}

}  // namespace

void checkJpegSegments(std::span<const std::uint8_t> file)
{
    if (file.size() < 3 || file[0] != MarkerByte || file[1] != StartOfImage || file[2] != MarkerByte)
        return;
    std::size_t at = 2;
    for (;;) {
        // Bytes between segments are skipped, as the decoder skips them.
        while (at < file.size() && file[at] != MarkerByte)
            ++at;
        while (at < file.size() && file[at] == MarkerByte)
            ++at;
        if (at >= file.size())
            refuseCut();
        const std::uint8_t marker = file[at++];
        if (marker == EndOfImage)
            return;
        if (standalone(marker))
            continue;
        if (file.size() - at < 2)
            refuseCut();
        const std::size_t length = static_cast<std::size_t>(file[at] << 8 | file[at + 1]);
        if (length < 2)
            throw RunError::message("the picture file is damaged: a segment of " + std::to_string(length) + " bytes");
        if (file.size() - at < length)
            refuseCut();
        at += length;
        if (marker == StartOfScan)
            at = scanEnd(file, at);
    }
}

}  // namespace pagelark
