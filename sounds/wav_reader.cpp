#include "sounds/wav_reader.h"

#include "archive/little_endian.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace pagelark {

namespace {

constexpr std::size_t ChunkHeaderSize = 8;
constexpr std::size_t RiffHeaderSize = 12;
constexpr std::size_t PcmFormatSize = 16;
// The extensible form names its sample format by a GUID after the PCM
// fields, their extension size and two more fields.
enum FormatTag : std::uint16_t { PcmFormatTag = 1, ExtensibleFormatTag = 0xFFFE };
constexpr std::size_t ExtensibleFormatSize = 40;
constexpr std::size_t SubFormatAt = 24;
constexpr std::array<std::uint8_t, 16> PcmSubFormat
    = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

bool idAt(std::span<const std::uint8_t> bytes, std::size_t at, const char (&id)[5])
{
    return std::memcmp(bytes.data() + at, id, 4) == 0;
}

bool isPcm(std::span<const std::uint8_t> format)
{
    const std::uint16_t tag = little_endian::word(format, 0);
    if (tag == PcmFormatTag)
        return true;
    return tag == ExtensibleFormatTag && format.size() >= ExtensibleFormatSize
        && std::equal(PcmSubFormat.begin(), PcmSubFormat.end(), format.begin() + SubFormatAt);
}

}  // namespace

std::optional<WavSound> readWav(std::span<const std::uint8_t> file)
{
    if (file.size() < RiffHeaderSize || !idAt(file, 0, "RIFF") || !idAt(file, 8, "WAVE"))
        return std::nullopt;

    // The RIFF size is not trusted: writers that stream often leave it 0 or
    // wrong, so the walk is bounded by the bytes really there.
    std::optional<std::span<const std::uint8_t>> format;
    std::optional<std::span<const std::uint8_t>> data;
    std::size_t at = RiffHeaderSize;
    while (file.size() - at >= ChunkHeaderSize && !(format && data)) {
        const std::size_t bodyAt = at + ChunkHeaderSize;
        const std::size_t declared = little_endian::longWord(file, at + 4);
        const std::size_t present = std::min(declared, file.size() - bodyAt);
        const std::span<const std::uint8_t> body = file.subspan(bodyAt, present);
        if (idAt(file, at, "fmt ") && !format)
            format = body;
        else if (idAt(file, at, "data") && !data)
            data = body;
        if (present < declared)
            break;
        // Chunks start on even offsets; an odd-sized body is followed by a pad byte.
        at = bodyAt + declared + (declared & 1U);
        if (at > file.size())
            break;
    }
    if (!format || !data || format->size() < PcmFormatSize || !isPcm(*format))
        return std::nullopt;

    WavSound sound;
    sound.channels = little_endian::word(*format, 2);
    sound.sampleRate = little_endian::longWord(*format, 4);
    sound.bitsPerSample = little_endian::word(*format, 14);
    if (sound.channels == 0 || sound.sampleRate == 0 || sound.bitsPerSample == 0)
        return std::nullopt;
    sound.samples.assign(data->begin(), data->end());
    return sound;
}

}  // namespace pagelark
