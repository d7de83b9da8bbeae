#include "tests/sound/sound_window.h"

#include "tests/support/vswap_writer.h"

#include <QCoreApplication>
#include <QListWidget>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>

namespace pagelark::testing {

namespace {

constexpr std::size_t PageSize = 4096;

}  // namespace

SoundWindow::SoundWindow() : output(soundModulePaths((QCoreApplication::applicationDirPath() + u'/').toStdString()))
{
    platform.sounds.passOnTo = &output;
    form_ = std::make_unique<TForm1>(platform);
    form_->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
}

SoundWindow::~SoundWindow()
{
    // The window stops the sound as it goes, through the output, which outlives it.
    form_->close();
    form_.reset();
}

void SoundWindow::openSounds(const std::vector<Samples>& sounds)
{
    tools::VswapWriter writer;
    tools::VswapWriter::Chunk wall;
    wall.bytes.assign(PageSize, 1);
    writer.wall(wall);
    std::uint16_t page = 0;
    for (const Samples& sound : sounds) {
        writer.sound(page, static_cast<std::uint16_t>(sound.size()));
        for (std::size_t at = 0; at < sound.size(); at += PageSize) {
            tools::VswapWriter::Chunk chunk;
            chunk.bytes.assign(sound.begin() + static_cast<std::ptrdiff_t>(at),
                               sound.begin() + static_cast<std::ptrdiff_t>(std::min(sound.size(), at + PageSize)));
            writer.soundPage(chunk);
            ++page;
        }
    }
    const std::string path = userDir_.file("VSWAP.WL6");
    writeFileBytes(path, writer.build());
    platform.answerOpen(path);
    form_->SpeedButton1->click();
}

void SoundWindow::selectSound(int number)
{
    // The wall's line comes first, then one line for each sound.
    QListWidget* list = form_->ListBox1;
    const int row = 1 + number;
    ASSERT_LT(row, list->count());
    ASSERT_TRUE(list->item(row)->text().contains(QStringLiteral("sound")));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

void SoundWindow::pressPlay() { form_->Sb2->click(); }

void SoundWindow::pressMute() { form_->Sb4->click(); }

}  // namespace pagelark::testing
