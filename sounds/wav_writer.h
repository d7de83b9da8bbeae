#pragma once

#include "archive/output_file.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pagelark {

class ByteFile;

constexpr int WavHeaderSize = 44;
using WavHeader = std::array<std::uint8_t, WavHeaderSize>;

// The header of every WAV file the program writes, as hexadecimal text, two
// characters per byte, high nibble first: 8-bit mono PCM at 6896 samples a
// second (F01A0000), the rate the durations are counted in. The two size fields hold the
// placeholders 11 11 11 11 and 77 77 77 77.
constexpr std::string_view WavHeaderTemplateStart = "524946461111111157415645666D74201000000001000100";
constexpr std::string_view WavHeaderTemplateEnd = "F01A0000F01A0000010008006461746177777777";

// The byte two hexadecimal characters (0-9, A-F) stand for, the first the high nibble.
std::uint8_t hexPairToByte(char high, char low);

// Stores count bytes of value into header from index on, least significant first.
void storeLittleEndian(std::uint32_t value, std::size_t index, std::size_t count, WavHeader& header);

// The header for a sound of this many sample bytes.
WavHeader wavHeaderFor(std::int32_t length);

// The length bytes of source from offset on; a sound that runs past the end
// of the file raises "Read beyond end of file".
std::vector<std::uint8_t> readSoundSamples(ByteFile& source, std::int32_t offset, std::int32_t length);

// The bytes of a WAV file of these samples: the header, then the samples.
std::vector<std::uint8_t> wavFileBytes(const std::vector<std::uint8_t>& samples);

// Writes a WAV file of these samples to path, whole or not at all (see OutputFile).
void writeWavFile(const std::string& path, const std::vector<std::uint8_t>& samples,
                  const std::vector<FileIdentity>& readFiles = {}, OutputAccess access = OutputAccess::Shared);

// Writes a WAV file of length bytes of source from offset on, unchanged. The
// samples are read before anything is written: a sound that cannot be read
// whole leaves no file, and an existing one as it was.
void writeWavFile(const std::string& path, ByteFile& source, std::int32_t offset, std::int32_t length,
                  const std::vector<FileIdentity>& readFiles = {}, OutputAccess access = OutputAccess::Shared);

}  // namespace pagelark
