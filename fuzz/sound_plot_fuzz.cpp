// A sound plotted from an arbitrary file at an offset and length the input
// chooses.
//
// Input: offset, length, then the file.

#include "archive/byte_file.h"
#include "archive/run_error.h"
#include "fuzz/input_file.h"
#include "fuzz/input_words.h"
#include "pictures/picture_drawing.h"
#include "sounds/sound_plot.h"

namespace {

using namespace pagelark;

constexpr PackedColor WindowColor = packColor(240, 240, 240);

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::InputWords words({data, size});
    const std::int32_t offset = words.signedWord();
    const std::int32_t length = words.signedWord();

    static Canvas view(ViewSide, ViewSide);
    // Fresh positions for each input, so that an input plots the same points
    // whenever it is run again.
    SamplePositions positions;
    ByteFile file;
    try {
        file.openRead(fuzz::writeInputFile(words.rest()));
        plotSound(file, offset, length, positions, view, WindowColor);
    } catch (const RunError&) {
    }
    return 0;
}
