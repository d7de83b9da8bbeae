#pragma once

#include "pictures/bitmap_writer.h"
#include "tests/gui/display_fixture.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QUrl>

#include <filesystem>

namespace pagelark::testing {

// Rows are chunk indices: two walls, a sprite and a one-page sound.
constexpr int WallRow = 0;
constexpr int SpriteRow = 2;
constexpr int SoundRow = 3;

inline std::vector<std::uint8_t> editableVswap()
{
    return tools::VswapWriter()
        .wall(patternWall())
        .wall(chunkOf(4096, 5))
        .sprite(spriteBar(30, 77))
        .soundPage(chunkOf(300, 0x11))
        .sound(0, 300)
        .build();
}

// A grid of one index with a bar of another in column 10, rows 20 to 40.
inline PixelGrid barGrid(std::uint8_t ground, std::uint8_t bar)
{
    PixelGrid grid;
    grid.fill(ground);
    std::fill_n(grid.begin() + gridCell(10, 20), 21, bar);
    return grid;
}

// The window with the editable file open and shown, its heartbeat stopped.
class EditingTest : public DisplayTest {
protected:
    void SetUp() override
    {
        opened = userFile("VSWAP.WL6", editableVswap());
        openFile(opened);
        stopHeartbeat();
        showWindow();
    }

    // A picture as the program saves it: an 8-bit BMP.
    std::string bitmapFile(const std::string& name, const PixelGrid& grid)
    {
        const auto bytes = bitmapFileBytes(grid, form().state().bmpHeader);
        return userFile(name, {bytes.begin(), bytes.end()});
    }

    // A palette PNG in the window's palette, index 255 transparent.
    std::string pngFile(const std::string& name, const PixelGrid& grid, int side = GridSide)
    {
        QImage image(side, side, QImage::Format_Indexed8);
        for (int i = 0; i < 256; ++i) {
            const auto c = static_cast<int>(color(i));
            image.setColor(i, qRgba(c & 0xFF, c >> 8 & 0xFF, c >> 16 & 0xFF, i == EmptyIndex ? 0 : 255));
        }
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                image.setPixel(x, y, grid[static_cast<std::size_t>(gridCell(x % GridSide, y % GridSide))]);
        EXPECT_TRUE(image.save(QString::fromStdString(userDir.file(name)), "PNG"));
        return userDir.file(name);
    }

    void selectOnly(int row)
    {
        form().ListBox1->clearSelection();
        clickRow(row);
    }

    void replaceByMenu(const std::string& path)
    {
        platform.answerOpen(path);
        form().Replace1->trigger();
    }

    // Replaces the first wall by the menu; the bytes of the page file then shown.
    std::vector<std::uint8_t> replaceWall(std::uint8_t ground = 42)
    {
        selectOnly(WallRow);
        replaceByMenu(bitmapFile("wall.bmp", barGrid(ground, 43)));
        return readFileBytes(shownCopy());
    }

    // Drags the file in from a file manager and drops it at this point of
    // the window; whether the window took it there.
    bool dropAt(const QPoint& at, const std::string& path)
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        for (QEvent* event : std::initializer_list<QEvent*>{&enter, &move, &drop})
            QApplication::sendEvent(&form(), event);
        return move.isAccepted() && drop.isAccepted();
    }

    QPoint rowPoint(int row)
    {
        QListWidget* list = form().ListBox1;
        return list->viewport()->mapTo(&form(), list->visualItemRect(list->item(row)).center());
    }

    std::string title() { return form().windowTitle().toStdString(); }

    std::string shownCopy() { return form().state().edits.shownName(); }

    // A chunk of the page file shown, where the window's table says it is.
    std::vector<std::uint8_t> shownChunk(std::int32_t index)
    {
        const std::vector<std::uint8_t> file = readFileBytes(shownCopy());
        const ChunkTable& table = form().state().chunks;
        const auto from = file.begin() + table.offset[static_cast<std::size_t>(index)];
        return {from, from + table.length[static_cast<std::size_t>(index)]};
    }

    int workingCopiesOnDisk()
    {
        int count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(platform.dir.path()))
            count += entry.path().filename().string().starts_with("vswap") && entry.path().extension() != ".pagelark";
        return count;
    }

    std::string opened;
};

}  // namespace pagelark::testing
