#pragma once

#include "archive/byte_file.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pagelark {

// A page file's sound is at most this many samples long: its length is a 16-bit number.
constexpr std::int64_t MaxSoundSamples = 65535;

// The samples of a sound file as a page file holds them: 8-bit unsigned mono
// at 6896 samples per second. A WAV file in that very format (the one the
// program saves) gives its samples unchanged. Any other sound file libsndfile
// reads (WAV of any sample format, FLAC, Ogg Vorbis, ...) is mixed to mono
// as the mean of its channels, resampled to 6896 samples per second and
// stored as 128 + round(x * 127). Only regular files are read, and a sound
// too long for a page file is refused from its header, before its samples
// are read. Errors (RunError) say what is wrong, without the file's name.
std::vector<std::uint8_t> importSound(const std::string& path);
// The same from a file open for reading, read from its start.
std::vector<std::uint8_t> importSound(ByteFile& file);

}  // namespace pagelark
