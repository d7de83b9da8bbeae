// A sprite decoded from an arbitrary chunk, encoded, and decoded again: the
// encoder's chunk holds the same picture, the reader takes it whenever its
// column offsets stay within the reader's reach, and encoding what it decodes
// gives the same chunk again.

#include "archive/byte_file.h"
#include "archive/run_error.h"
#include "fuzz/input_file.h"
#include "fuzz/require.h"
#include "pictures/decoders.h"
#include "pictures/sprite_encoder.h"

#include <cstdlib>
#include <optional>
#include <vector>

namespace {

using namespace pagelark;
using fuzz::require;

// The reader follows no column offset beyond this byte of the chunk.
constexpr std::size_t FarthestColumnOffset = 4096;

// The chunk's commands of its last column start farthest in.
std::size_t lastColumnOffset(const std::vector<std::uint8_t>& chunk)
{
    const std::size_t at = 4 + 2 * static_cast<std::size_t>(chunk[2] - chunk[0]);
    return chunk[at] | std::size_t{chunk[at + 1]} << 8;
}

std::optional<PixelGrid> decoded(std::span<const std::uint8_t> chunk)
{
    ByteFile file;
    file.openRead(fuzz::writeInputFile(chunk));
    PixelGrid grid{};
    if (!decodeSprite(file, 0, std::nullopt, grid))
        return std::nullopt;
    return grid;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::optional<PixelGrid> grid;
    try {
        grid = decoded({data, size});
    } catch (const RunError&) {
        // Commands or pixels beyond the end of the input.
    }
    if (!grid)
        return 0;

    // The encoder's own chunk is read without an error, whatever it holds.
    const std::vector<std::uint8_t> chunk = encodeSprite(*grid);
    const std::optional<PixelGrid> again = decoded(chunk);
    require(again.has_value() == (lastColumnOffset(chunk) <= FarthestColumnOffset));
    if (again) {
        require(*again == *grid);
        require(encodeSprite(*again) == chunk);
    }
    return 0;
}
