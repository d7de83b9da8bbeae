#include "pictures/palette.h"

#include "archive/text_file.h"

namespace pagelark {

namespace {

constexpr int HeaderLines = 3;

}  // namespace

int readPaletteFile(const std::string& path, Palette& palette)
{
    int colourLines = 0;
    TextFile file;
    file.open(path);
    for (int line = 0; line < HeaderLines; ++line)
        file.skipLine();
    for (PackedColor& entry : palette) {
        // Past the end every number reads as 0: such a colour is not in the file.
        if (!file.eof())
            ++colourLines;
        // A number that cannot be read raises before the entry is touched, so
        // the colours read up to then stay and the rest keep their old ones.
        const std::int32_t red = file.readInteger();
        const std::int32_t green = file.readInteger();
        const std::int32_t blue = file.readInteger();
        file.skipLine();
        // Out-of-range numbers are packed as given, wrapping in 32 bits.
        entry = packColor(static_cast<std::uint32_t>(red), static_cast<std::uint32_t>(green),
                          static_cast<std::uint32_t>(blue));
    }
    file.close();
    return colourLines;
}

}  // namespace pagelark
