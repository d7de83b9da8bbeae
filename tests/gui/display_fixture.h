#pragma once

#include "app/form/Unit1.h"
#include "app/widgets/clickable_fields.h"
#include "app/widgets/picture_box.h"
#include "tests/gui/window_fixture.h"

#include <QApplication>
#include <QListWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace pagelark::testing {

// A colour the program never draws (no palette entry has components that are
// not multiples of 4), painted over the view to see whether it is redrawn.
constexpr PackedColor Marker = packColor(1, 2, 3);

// The main window on the fake desktop, driven the way a user drives it, with
// ways to look at the picture view.
class DisplayTest : public WindowTest {
protected:
    void showWindow()
    {
        TForm1& window = form();
        if (window.isVisible())
            return;
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    // The test ticks the heartbeat itself, so a real tick must not come between.
    void stopHeartbeat() { form().Timer1->stop(); }

    void clickPicture()
    {
        showWindow();
        QTest::mouseClick(form().Image2, Qt::LeftButton, {}, QPoint(160, 160));
    }

    void clickRow(int row)
    {
        showWindow();
        QListWidget* list = form().ListBox1;
        ASSERT_LT(row, list->count());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    }

    void clickDecHex()
    {
        showWindow();
        QTest::mouseClick(form().Edit4, Qt::LeftButton);
    }

    // Shown on the window (the window itself may be hidden).
    bool shown(const QWidget* control) { return control->isVisibleTo(&form()); }

    PackedColor color(int index) { return form().state().palette[static_cast<std::size_t>(index)]; }

    PackedColor windowColor()
    {
        const QColor face = form().palette().color(QPalette::Window);
        return packColor(static_cast<std::uint32_t>(face.red()), static_cast<std::uint32_t>(face.green()),
                         static_cast<std::uint32_t>(face.blue()));
    }

    const Canvas& view() { return form().Image2->canvas(); }

    void markView() { form().Image2->canvas().fillRect({0, 0, 320, 320}, Marker); }

    // Every pixel of the view as it is now, row by row.
    std::vector<PackedColor> viewPixels()
    {
        std::vector<PackedColor> pixels;
        pixels.reserve(320 * 320);
        for (int y = 0; y < 320; ++y)
            for (int x = 0; x < 320; ++x)
                pixels.push_back(view().pixel(x, y));
        return pixels;
    }
};

// Compares every pixel of the view with the expected colour; names the first
// pixel that differs and how many do.
inline ::testing::AssertionResult viewMatches(const Canvas& view,
                                              const std::function<PackedColor(int x, int y)>& expected)
{
    int wrong = 0;
    std::ostringstream first;
    for (int y = 0; y < view.height(); ++y) {
        for (int x = 0; x < view.width(); ++x) {
            const PackedColor want = expected(x, y);
            const PackedColor got = view.pixel(x, y);
            if (want == got)
                continue;
            if (wrong++ == 0)
                first << "pixel (" << x << ", " << y << ") is " << got << ", expected " << want;
        }
    }
    if (wrong == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << wrong << " pixels differ; " << first.str();
}

// The palette index of wall cell (x, y) in the walls the picture tests use:
// every column and every row differs from its neighbours.
constexpr std::uint8_t patternCell(int x, int y) { return static_cast<std::uint8_t>((x * 4 + y * 9 + 25) % 256); }

inline tools::VswapWriter::Chunk patternWall()
{
    tools::VswapWriter::Chunk chunk;
    chunk.bytes.resize(4096);
    for (int x = 0; x < 64; ++x)
        for (int y = 0; y < 64; ++y)
            chunk.bytes[static_cast<std::size_t>(x * 64 + y)] = patternCell(x, y);
    return chunk;
}

// What the view shows of a wall whose cells are cell(x, y): plain, 5 x 5
// blocks; against the background, 3 x 3 blocks in (64, 64, 256, 256), the
// wall's right 64 pixel columns repeated at the left edge and its left 64 at
// the right edge, the ceiling colour above and palette entry 25 below.
inline PackedColor expectedWallPixel(int px, int py, bool background, PackedColor ceiling, const Palette& palette,
                                     const std::function<std::uint8_t(int, int)>& cell)
{
    if (!background)
        return palette[cell(px / 5, py / 5)];
    if (py < 64)
        return ceiling;
    if (py >= 256)
        return palette[25];
    int wallX = px;
    if (px < 64)
        wallX = px + 192;
    else if (px >= 256)
        wallX = px - 192;
    return palette[cell((wallX - 64) / 3, (py - 64) / 3)];
}

// A sprite chunk whose header and column offsets pass every check but whose
// first column's commands lie beyond the end of any small file.
inline tools::VswapWriter::Chunk spriteReadingBeyondTheFile()
{
    tools::VswapWriter::Chunk chunk;
    chunk.bytes = {0, 0, 1, 0, 0x00, 0x10, 0x00, 0x10};
    return chunk;
}

// A sprite chunk whose first column lies after its last: it holds no sprite.
inline tools::VswapWriter::Chunk spriteWithoutColumns()
{
    tools::VswapWriter::Chunk chunk;
    chunk.bytes = {5, 0, 2, 0, 0, 0, 0, 0};
    return chunk;
}

}  // namespace pagelark::testing
