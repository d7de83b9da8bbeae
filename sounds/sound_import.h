#pragma once

#include "archive/byte_file.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pagelark {

// A page file's sound is at most this many samples long: its length is a 16-bit number.
constexpr std::int64_t MaxSoundSamples = 65535;

// The most samples, all channels counted, read from one sound file: 9.5 s of
// 64 channels at 48000 samples/s or of 8 at 384000. A sound of more is
// refused before it is read, as far as its header tells its length, and
// otherwise as soon as it has run past the limit.
constexpr std::int64_t MaxSoundSamplesRead = std::int64_t{1} << 25;

struct SoundImportOptions {
    // Triangular noise of one step either way added before the rounding to
    // 8 bits, so that quiet passages become noise rather than silence.
    bool dither = false;
};

struct ImportedSound {
    std::vector<std::uint8_t> samples;
    // Set when the sound was louder than full scale and clipped: what was
    // clipped and by how much ("clipped: 312 samples louder than full scale,
    // by up to 6.0 dB"), for the caller to put after the file's name.
    std::optional<std::string> clipping;
};

// The samples of a sound file as a page file holds them: 8-bit unsigned mono
// at 6896 samples per second. A WAV file in that very format (the one the
// program saves, in the plain or the extensible form) gives its samples
// unchanged. Any other sound file libsndfile reads (WAV of any sample
// format, FLAC, Ogg Vorbis, ...) is mixed to mono as the mean of its
// channels, resampled to 6896 samples per second and stored as
// 128 + round(x * 127); a mix louder than full scale is clipped and said to
// be. A sound of more than 192000 samples/s is first brought down by a whole
// factor to between 4 and 8 times 6896 by averages, which the best converter
// would take many seconds over. Only regular files are read, and a sound too
// long for a page file is refused from its header when that gives its
// length, before its samples are read. Errors (RunError) say what is
// wrong, without the file's name.
ImportedSound importSound(const std::string& path, const SoundImportOptions& options = {});
// The same from a file open for reading, read from its start.
ImportedSound importSound(ByteFile& file, const SoundImportOptions& options = {});

}  // namespace pagelark
