// A WAV file of arbitrary bytes.

#include "sounds/wav_reader.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::optional<pagelark::WavSound> sound = pagelark::readWav({data, size});
    // The samples are the file's own bytes, never more than it has.
    if (sound && sound->samples.size() > size)
        std::abort();
    return 0;
}
