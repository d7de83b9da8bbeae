// A palette file of arbitrary bytes.

#include "archive/run_error.h"
#include "fuzz/input_file.h"
#include "pictures/palette.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    pagelark::Palette palette{};
    try {
        pagelark::readPaletteFile(pagelark::fuzz::writeInputFile({data, size}), palette);
    } catch (const pagelark::RunError&) {
    }
    return 0;
}
