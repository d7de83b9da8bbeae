#include "pictures/picture_import.h"

#include "archive/run_error.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string>
#include <unordered_map>

namespace pagelark {

namespace {

constexpr ArgbColor HalfOpaque = 128;

bool transparent(ArgbColor color) { return (color >> 24) < HalfOpaque; }

PackedColor packedOf(ArgbColor color) { return packColor((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF); }

int squaredDistance(PackedColor a, PackedColor b)
{
    int sum = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int difference = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        sum += difference * difference;
    }
    return sum;
}

// Nearest palette colours, each distinct colour searched once: a picture
// has few colours, the search costs 256 comparisons.
class NearestColors {
public:
    NearestColors(const Palette& palette, bool spareBackground)
        : palette_(palette), candidates_(spareBackground ? EmptyIndex : PaletteSize)
    {
    }

    std::uint8_t indexOf(PackedColor color)
    {
        const auto [found, added] = known_.try_emplace(color, 0);
        if (added) {
            int best = std::numeric_limits<int>::max();
            for (int index = 0; index < candidates_; ++index) {
                const int distance = squaredDistance(color, palette_[static_cast<std::size_t>(index)]);
                if (distance < best) {
                    best = distance;
                    found->second = static_cast<std::uint8_t>(index);
                }
            }
        }
        return found->second;
    }

private:
    const Palette& palette_;
    int candidates_;
    std::unordered_map<PackedColor, std::uint8_t> known_;
};

[[noreturn]] void refuseTransparentWall(int x, int y)
{
    throw RunError::message("a wall cannot be transparent: pixel (" + std::to_string(x) + ", " + std::to_string(y)
                            + ") is");
}

// An indexed picture's own indices, a less than half opaque entry of its
// colour table being a sprite's background.
PixelGrid gridOfIndices(const DecodedPicture& picture, bool sprite)
{
    // An index beyond a short colour table has no alpha to say it is transparent.
    std::array<bool, PaletteSize> clear{};
    for (std::size_t index = 0; index < std::min<std::size_t>(picture.colorTable.size(), PaletteSize); ++index)
        clear[index] = transparent(picture.colorTable[index]);
    PixelGrid grid;
    // Most pictures' colour tables are opaque throughout: their rows go into the columns as they are.
    if (std::none_of(clear.begin(), clear.end(), [](bool entry) { return entry; })) {
        for (int y = 0; y < GridSide; ++y)
            for (int x = 0; x < GridSide; ++x)
                grid[gridCell(x, y)] = picture.indices[static_cast<std::size_t>(y * GridSide + x)];
        return grid;
    }
    for (int y = 0; y < GridSide; ++y) {
        const std::uint8_t* row = picture.indices.data() + static_cast<std::size_t>(y * GridSide);
        for (int x = 0; x < GridSide; ++x) {
            const std::uint8_t index = row[x];
            if (clear[index] && !sprite)
                refuseTransparentWall(x, y);
            grid[gridCell(x, y)] = clear[index] ? EmptyIndex : index;
        }
    }
    return grid;
}

}  // namespace

void requireGridSize(int width, int height)
{
    if (width != GridSide || height != GridSide)
        throw RunError::message("the picture is " + std::to_string(width) + " by " + std::to_string(height)
                                + " pixels; walls and sprites are 64 by 64");
}

PixelGrid gridFromPicture(const DecodedPicture& picture, ItemKind kind, const Palette& palette, const PixelGrid* base)
{
    if (kind == ItemKind::Sound)
        throw RunError::message("a sound cannot be made from a picture");
    requireGridSize(picture.width, picture.height);
    const std::size_t cells = picture.indexed ? picture.indices.size() : picture.pixels.size();
    if (cells != GridCells)
        throw RunError::message("the picture holds " + std::to_string(cells) + " pixels instead of 64 by 64");

    const bool sprite = kind == ItemKind::Sprite;
    if (picture.indexed)
        return gridOfIndices(picture, sprite);
    NearestColors nearest(palette, sprite);
    PixelGrid grid{};
    for (int y = 0; y < GridSide; ++y) {
        for (int x = 0; x < GridSide; ++x) {
            const auto at = static_cast<std::size_t>(y * GridSide + x);
            std::uint8_t& cell = grid[gridCell(x, y)];
            const ArgbColor pixel = picture.pixels[at];
            if (transparent(pixel)) {
                if (!sprite)
                    refuseTransparentWall(x, y);
                cell = EmptyIndex;
                continue;
            }
            const PackedColor color = packedOf(pixel);
            // A sprite's background in the base is no colour: an opaque pixel
            // of entry 255's colour is drawn, so it takes another index.
            const std::uint8_t baseIndex = base != nullptr ? (*base)[gridCell(x, y)] : EmptyIndex;
            const bool keepBase
                = base != nullptr && !(sprite && baseIndex == EmptyIndex) && (palette[baseIndex] & 0xFFFFFF) == color;
            cell = keepBase ? baseIndex : nearest.indexOf(color);
        }
    }
    return grid;
}

}  // namespace pagelark
