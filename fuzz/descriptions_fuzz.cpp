// A description file of arbitrary bytes, read for arbitrary first sprite and
// first sound indices.
//
// Input: spriteStart, soundStart, then the file.

#include "archive/descriptions.h"
#include "archive/run_error.h"
#include "archive/text_file.h"
#include "fuzz/input_file.h"
#include "fuzz/input_words.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace pagelark;
    fuzz::InputWords words({data, size});
    const std::int32_t spriteStart = words.signedWord();
    const std::int32_t soundStart = words.signedWord();

    // One table per process: it is emptied by every read.
    static auto table = std::make_unique<DescriptionTable>();
    TextFile file;
    try {
        file.open(fuzz::writeInputFile(words.rest()));
        readDescriptions(file, spriteStart, soundStart, *table);
        file.close();
    } catch (const RunError&) {
    }
    return 0;
}
