#pragma once

#include "app/form/Unit1.h"
#include "pictures/sprite_encoder.h"
#include "tests/gui/fake_platform.h"
#include "tests/gui/qt_printing.h"
#include "tests/support/temp_dir.h"
#include "tests/support/vswap_writer.h"
#include "tools/picture.h"

#include <QListWidget>
#include <QStringList>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace pagelark::testing {

// A main window on a fake desktop, with a folder of the user's own files
// apart from the program's directory.
class WindowTest : public ::testing::Test {
protected:
    TForm1& form()
    {
        if (!form_)
            form_ = std::make_unique<TForm1>(platform);
        return *form_;
    }

    // The user's file of this name, written with these bytes; its full path.
    std::string userFile(const std::string& name, const std::vector<std::uint8_t>& bytes)
    {
        const std::string path = userDir.file(name);
        writeFileBytes(path, bytes);
        return path;
    }

    // Ends the program's window, as closing it and leaving the program does.
    void destroyForm()
    {
        if (form_)
            form_->close();
        form_.reset();
    }

    // Presses "Load vswap file" and chooses this file in the dialog.
    void openFile(const std::string& path)
    {
        platform.answerOpen(path);
        form().SpeedButton1->click();
    }

    QStringList listLines()
    {
        QStringList lines;
        for (int row = 0; row < form().ListBox1->count(); ++row)
            lines << form().ListBox1->item(row)->text();
        return lines;
    }

    // The list lines without their descriptions: index, kind and number.
    QStringList listedChunks()
    {
        QStringList chunks;
        for (const QString& line : listLines())
            chunks << line.left(16);
        return chunks;
    }

    std::string workingCopy(int n) const { return platform.dir.file("vswap" + std::to_string(n)); }

    FakePlatform platform;
    TempDir userDir;

private:
    std::unique_ptr<TForm1> form_;
};

inline tools::VswapWriter::Chunk chunkOf(std::size_t size, std::uint8_t value)
{
    tools::VswapWriter::Chunk chunk;
    chunk.bytes.assign(size, value);
    return chunk;
}

// A sprite with one bar of colour in column x, rows 10 to 20.
inline tools::VswapWriter::Chunk spriteBar(int x, std::int16_t color)
{
    tools::Picture picture;
    picture.fill(tools::Transparent);
    for (int y = 10; y <= 20; ++y)
        picture[tools::pictureCell(x, y)] = color;
    tools::VswapWriter::Chunk chunk;
    chunk.bytes = encodeSprite(tools::spriteGrid(picture));
    return chunk;
}

inline tools::VswapWriter::Chunk absentChunk()
{
    tools::VswapWriter::Chunk chunk;
    chunk.absent = true;
    return chunk;
}

// Walls 0 and 3 listed (1 absent, 2 one byte long), sprites 4 and 5, the
// sound starting at chunk 6 and running on over chunk 7, the sound
// information in chunk 8.
inline std::vector<std::uint8_t> sampleVswap()
{
    return tools::VswapWriter()
        .wall(chunkOf(10, 1))
        .wall(absentChunk())
        .wall(chunkOf(1, 2))
        .wall(chunkOf(20, 3))
        .sprite(spriteBar(20, 4))
        .sprite(spriteBar(40, 5))
        .soundPage(chunkOf(50, 6))
        .soundPage(chunkOf(60, 7))
        .sound(0, 110)
        .build();
}

inline QStringList sampleLines()
{
    return {
        QStringLiteral("   0 wall      0"), QStringLiteral("   3 wall      3"), QStringLiteral("   4 sprite    0"),
        QStringLiteral("   5 sprite    1"), QStringLiteral("   6 sound     0"),
    };
}

// Two walls only: another file with another list.
inline std::vector<std::uint8_t> twoWallVswap()
{
    return tools::VswapWriter().wall(chunkOf(64, 9)).wall(chunkOf(64, 8)).build();
}

}  // namespace pagelark::testing
