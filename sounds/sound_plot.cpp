#include "sounds/sound_plot.h"

#include "archive/byte_file.h"
#include "pictures/picture_drawing.h"

namespace pagelark {

namespace {

constexpr int BandTop = 32;
constexpr int BandBottomRow = 287;
constexpr PackedColor Black = packColor(0, 0, 0);
constexpr PackedColor White = packColor(255, 255, 255);

}  // namespace

std::uint32_t SamplePositions::next(std::uint32_t length)
{
    seed_ = seed_ * 134775813u + 1u;
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(seed_) * length) >> 32);
}

void plotSound(ByteFile& file, std::int32_t offset, std::int32_t length, SamplePositions& positions, Canvas& view,
               PackedColor windowColor)
{
    clearPicture(view, windowColor);
    view.fillRect({0, BandTop, ViewSide, BandBottomRow + 1}, Black);
    // Callers pass listed chunks, whose lengths are at least 2; a length
    // below 1 would leave no position to draw.
    const std::uint32_t span = length > 0 ? static_cast<std::uint32_t>(length) : 0;
    int value = 0;
    for (int point = 0; point < SoundPlotPoints; ++point) {
        const std::uint32_t position = positions.next(span);
        const std::int64_t sampleAt = std::int64_t{offset} + position;
        if (sampleAt < file.size() - 1) {
            file.seek(sampleAt);
            value = file.readByte();
        }
        if (span == 0)
            continue;
        const auto column = static_cast<int>(std::uint64_t{position} * ViewSide / span);
        view.setPixel(column, BandBottomRow - value, White);
    }
}

}  // namespace pagelark
