// A picture file of arbitrary bytes read as Qt and the program's own readers
// read it, and made into walls and sprites every way the import makes them.
// Qt's readers are not instrumented; what they hand over, and everything the
// program does with it, is.

#include "archive/run_error.h"
#include "fuzz/require.h"
#include "pictures/game_palette.h"
#include "pictures/picture_import.h"
#include "pictures/picture_import_qt.h"

#include <QtGlobal>

#include <cstdlib>
#include <optional>

namespace {

using namespace pagelark;
using fuzz::require;

const Palette& gameColors()
{
    static const Palette palette = [] {
        Palette colors{};
        for (std::size_t i = 0; i < colors.size(); ++i)
            colors[i] = packColor(gamePalette()[i].red, gamePalette()[i].green, gamePalette()[i].blue);
        return colors;
    }();
    return palette;
}

std::optional<PixelGrid> grid(const DecodedPicture& picture, ItemKind kind, const PixelGrid* base,
                              ColorMatching matching)
{
    try {
        return gridFromPicture(picture, kind, gameColors(), base, matching);
    } catch (const RunError&) {
        return std::nullopt;  // transparent walls, indices beyond a colour table
    }
}

bool transparent(ArgbColor color) { return (color >> 24) < 128; }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // libpng's and libjpeg's warnings about damaged files would fill the log.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    DecodedPicture picture;
    try {
        picture = decodePictureBytes({data, size});
    } catch (const RunError&) {
        return 0;
    }
    PixelGrid pattern{};
    for (std::size_t n = 0; n < pattern.size(); ++n)
        pattern[n] = static_cast<std::uint8_t>(n * 5);

    for (const ItemKind kind : {ItemKind::Wall, ItemKind::Sprite}) {
        const std::optional<PixelGrid> nearest = grid(picture, kind, nullptr, ColorMatching::Nearest);
        // Dithering costs most; it runs once, with a base, whose kept
        // pixels it must pass over.
        const std::optional<PixelGrid> dithered = grid(picture, kind, &pattern, ColorMatching::Dithered);
        // Whether a picture can be a wall or a sprite does not depend on how its colours are matched.
        require(nearest.has_value() == dithered.has_value());
        if (!nearest)
            continue;
        // A grid's own colours, given back as its base, keep it as it is.
        require(grid(picture, kind, &*nearest, ColorMatching::Nearest) == nearest);
        // Matching never makes a sprite's background of a colour.
        if (kind == ItemKind::Sprite && !picture.indexed)
            for (int y = 0; y < GridSide; ++y)
                for (int x = 0; x < GridSide; ++x) {
                    const bool clear = transparent(picture.pixels[static_cast<std::size_t>(y * GridSide + x)]);
                    require(((*nearest)[gridCell(x, y)] == EmptyIndex) == clear);
                    require(((*dithered)[gridCell(x, y)] == EmptyIndex) == clear);
                }
    }
    return 0;
}
