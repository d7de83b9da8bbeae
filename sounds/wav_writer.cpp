#include "sounds/wav_writer.h"

#include "archive/byte_file.h"
#include "archive/run_error.h"

#include <algorithm>
#include <vector>

namespace pagelark {

namespace {

constexpr std::size_t RiffSizeAt = 4;
constexpr std::size_t DataSizeAt = 40;
// The RIFF chunk counts everything after its own eight bytes.
constexpr std::uint32_t RiffSizeBeyondSamples = WavHeaderSize - 8;

std::uint8_t hexDigit(char digit)
{
    if (digit >= '0' && digit <= '9')
        return static_cast<std::uint8_t>(digit - '0');
    return static_cast<std::uint8_t>(digit - 'A' + 10);
}

}  // namespace

std::uint8_t hexPairToByte(char high, char low)
{
    return static_cast<std::uint8_t>(16 * hexDigit(high) + hexDigit(low));
}

void storeLittleEndian(std::uint32_t value, std::size_t index, std::size_t count, WavHeader& header)
{
    for (std::size_t i = 0; i < count; ++i) {
        header.at(index + i) = static_cast<std::uint8_t>(value % 256);
        value /= 256;
    }
}

WavHeader wavHeaderFor(std::int32_t length)
{
    const std::string hex = std::string(WavHeaderTemplateStart) + std::string(WavHeaderTemplateEnd);
    WavHeader header{};
    for (std::size_t i = 0; i < header.size(); ++i)
        header[i] = hexPairToByte(hex[2 * i], hex[2 * i + 1]);
    const auto samples = static_cast<std::uint32_t>(length);
    storeLittleEndian(samples + RiffSizeBeyondSamples, RiffSizeAt, 4, header);
    storeLittleEndian(samples, DataSizeAt, 4, header);
    return header;
}

std::vector<std::uint8_t> readSoundSamples(ByteFile& source, std::int32_t offset, std::int32_t length)
{
    std::vector<std::uint8_t> samples(length > 0 ? static_cast<std::size_t>(length) : 0);
    source.seek(offset);
    source.readBytes(samples.data(), samples.size());
    return samples;
}

std::vector<std::uint8_t> wavFileBytes(const std::vector<std::uint8_t>& samples)
{
    const WavHeader header = wavHeaderFor(static_cast<std::int32_t>(samples.size()));
    // Sized first: GCC 12 warns falsely about an insert after the header at -O3.
    std::vector<std::uint8_t> bytes(header.size() + samples.size());
    std::copy(header.begin(), header.end(), bytes.begin());
    std::copy(samples.begin(), samples.end(), bytes.begin() + static_cast<std::ptrdiff_t>(header.size()));
    return bytes;
}

void writeWavFile(const std::string& path, const std::vector<std::uint8_t>& samples,
                  const std::vector<FileIdentity>& readFiles, OutputAccess access)
{
    writeFileSafely(path, wavFileBytes(samples), readFiles, access);
}

void writeWavFile(const std::string& path, ByteFile& source, std::int32_t offset, std::int32_t length,
                  const std::vector<FileIdentity>& readFiles, OutputAccess access)
{
    writeWavFile(path, readSoundSamples(source, offset, length), readFiles, access);
}

}  // namespace pagelark
