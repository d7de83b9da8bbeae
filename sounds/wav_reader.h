#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace pagelark {

// The sound a PCM WAV file holds, as its format chunk describes it.
struct WavSound {
    std::uint32_t sampleRate = 0;
    std::uint16_t channels = 0;
    std::uint16_t bitsPerSample = 0;
    std::vector<std::uint8_t> samples;  // the data chunk's bytes, unchanged
};

// Reads the bytes of a whole WAV file: a RIFF/WAVE file with a "fmt " chunk
// of uncompressed PCM (plain, or in the extensible form with the PCM sub-format)
// and a "data" chunk, other chunks skipped. Nothing for
// anything else, damaged files included. A data chunk that claims more bytes
// than the file has yields the bytes that are there.
std::optional<WavSound> readWav(std::span<const std::uint8_t> file);

}  // namespace pagelark
