#include "archive/byte_file.h"
#include "pictures/picture_drawing.h"
#include "sounds/sound_plot.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace pagelark::testing {
namespace {

constexpr PackedColor WindowColor = packColor(240, 240, 240);
constexpr PackedColor White = packColor(255, 255, 255);

struct PlotFixture : ::testing::Test {
    TempDir dir;
    ByteFile file;
    Canvas view{ViewSide, ViewSide};
    SamplePositions positions;

    void open(const std::vector<std::uint8_t>& bytes)
    {
        testing::writeFileBytes(dir.file("sound"), bytes);
        file.openRead(dir.file("sound"));
    }

    std::vector<std::pair<int, int>> whitePoints() const
    {
        std::vector<std::pair<int, int>> points;
        for (int x = 0; x < ViewSide; ++x)
            for (int y = 0; y < ViewSide; ++y)
                if (view.pixel(x, y) == White)
                    points.emplace_back(x, y);
        return points;
    }
};

TEST(SamplePositions, FollowTheGeneratorFromSeedZero)
{
    SamplePositions positions;
    // seed 1, then 134775814, then 134775814 * 134775813 + 1 (mod 2^32) = 3698175007
    EXPECT_EQ(positions.next(1000), 0u);
    EXPECT_EQ(positions.next(100), 3u);
    EXPECT_EQ(positions.next(4294967295u), 3698175006u);
    EXPECT_EQ(positions.next(0), 0u);
}

TEST_F(PlotFixture, PointsStayInTheBandAndTheRestKeepsTheWindowColour)
{
    std::vector<std::uint8_t> bytes(3000);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i);
    open(bytes);
    plotSound(file, 100, 2000, positions, view, WindowColor);

    for (int x = 0; x < ViewSide; ++x) {
        for (int y = 0; y < ViewSide; ++y) {
            const PackedColor color = view.pixel(x, y);
            if (y < 32 || y >= 288)
                ASSERT_EQ(color, WindowColor) << x << "," << y;
            else
                ASSERT_TRUE(color == White || color == 0u) << x << "," << y;
        }
    }
    // Each point's row is 287 minus the byte at its position.
    for (const auto& [x, y] : whitePoints()) {
        const int value = 287 - y;
        // Column x covers positions x * 2000 / 320 .. (x + 1) * 2000 / 320 - 1.
        const int first = 100 + (x * 2000 + 319) / 320;
        const int last = 100 + ((x + 1) * 2000 - 1) / 320;
        bool matches = false;
        for (int at = first; at <= last; ++at)
            matches = matches || bytes[static_cast<std::size_t>(at)] == value;
        EXPECT_TRUE(matches) << x << "," << y;
    }
}

TEST_F(PlotFixture, FirstPointOfTheRunIsTheFirstByteInColumnZero)
{
    std::vector<std::uint8_t> bytes(100, 0);
    bytes[10] = 255;  // the sound's first byte
    open(bytes);
    plotSound(file, 10, 50, positions, view, WindowColor);
    EXPECT_EQ(view.pixel(0, 32), White);
}

TEST_F(PlotFixture, LengthTwoDrawsOnlyColumnsZeroAndHalfway)
{
    open(std::vector<std::uint8_t>(64, 7));
    plotSound(file, 20, 2, positions, view, WindowColor);
    std::set<int> columns;
    for (const auto& point : whitePoints())
        columns.insert(point.first);
    EXPECT_EQ(columns, (std::set<int>{0, 160}));
}

TEST_F(PlotFixture, EachPlotTakesTheNext6400Draws)
{
    std::vector<std::uint8_t> bytes(20000);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>((i * 31) ^ (i >> 5));
    open(bytes);

    plotSound(file, 0, 19000, positions, view, WindowColor);
    const auto first = whitePoints();
    plotSound(file, 0, 19000, positions, view, WindowColor);
    const auto second = whitePoints();
    EXPECT_NE(first, second);

    // A fresh generator that skips 6400 draws gives the second plot again.
    SamplePositions fresh;
    Canvas again(ViewSide, ViewSide);
    for (int i = 0; i < SoundPlotPoints; ++i)
        fresh.next(19000);
    plotSound(file, 0, 19000, fresh, again, WindowColor);
    Canvas& secondView = view;
    for (int x = 0; x < ViewSide; ++x)
        for (int y = 0; y < ViewSide; ++y)
            ASSERT_EQ(again.pixel(x, y), secondView.pixel(x, y));
}

TEST_F(PlotFixture, TheFilesLastByteIsNeverRead)
{
    // All samples 0 but the file's last byte, 255.
    std::vector<std::uint8_t> bytes(300, 0);
    bytes.back() = 255;
    open(bytes);
    plotSound(file, 200, 100, positions, view, WindowColor);
    for (const auto& point : whitePoints())
        EXPECT_EQ(point.second, 287);

    // A sound that starts at the last byte reads nothing: every point is 0.
    bytes.assign(50, 200);
    open(bytes);
    plotSound(file, 49, 30, positions, view, WindowColor);
    for (const auto& point : whitePoints())
        EXPECT_EQ(point.second, 287);
}

}  // namespace
}  // namespace pagelark::testing
