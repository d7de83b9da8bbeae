#pragma once

#include "app/Unit1.h"
#include "tests/gui/fake_platform.h"
#include "tests/support/temp_dir.h"
#include "tools/vswap_writer.h"

#include <QListWidget>
#include <QToolButton>
#include <QStringList>

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
        .sprite(chunkOf(30, 4))
        .sprite(chunkOf(40, 5))
        .soundPage(chunkOf(50, 6))
        .soundPage(chunkOf(60, 7))
        .sound(0, 110)
        .build();
}

inline QStringList sampleLines()
{
    return {
        QStringLiteral("   0 wall      0"),
        QStringLiteral("   3 wall      3"),
        QStringLiteral("   4 sprite    0"),
        QStringLiteral("   5 sprite    1"),
        QStringLiteral("   6 sound     0"),
    };
}

// Two walls only: another file with another list.
inline std::vector<std::uint8_t> twoWallVswap()
{
    return tools::VswapWriter()
        .wall(chunkOf(64, 9))
        .wall(chunkOf(64, 8))
        .build();
}

}  // namespace pagelark::testing
