// Saving the selected entries: which files a run writes and under which
// names, how it ends on a cancel or an error, and what the window refuses
// while the run lets other events through.
#include "app/widgets/about_picture.h"
#include "app/widgets/circle_shape.h"
#include "tests/gui/display_fixture.h"

#include <QComboBox>
#include <QMenu>

#include <filesystem>

namespace pagelark::testing {
namespace {

// Rows of the list, in the order the page file holds them.
enum Row { WallRow, SpriteRow, BrokenSpriteRow, SoundRow };

// A wall, a sprite, a chunk that holds no sprite and a sound over two pages,
// the first a whole page of 4096 bytes as in the games' files.
std::vector<std::uint8_t> mixedVswap()
{
    return tools::VswapWriter()
        .wall(patternWall())
        .sprite(spriteBar(30, 77))
        .sprite(spriteWithoutColumns())
        .soundPage(chunkOf(4096, 0x11))
        .soundPage(chunkOf(40, 0x22))
        .sound(0, 4136)
        .build();
}

std::vector<std::string> filesIn(const std::filesystem::path& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class SaveSelectedTest : public DisplayTest {
protected:
    void SetUp() override
    {
        openFile(userFile("VSWAP.WL6", mixedVswap()));
        stopHeartbeat();
        showWindow();
        std::filesystem::create_directory(outDir());
    }

    std::filesystem::path outDir() { return userDir.path() / "out"; }

    void selectRows(std::initializer_list<int> rows)
    {
        QListWidget* list = form().ListBox1;
        for (int row : rows)
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                              list->visualItemRect(list->item(row)).center());
    }

    // Presses "Save selected" and accepts the dialog with this name in the folder.
    void saveAs(const std::string& name)
    {
        platform.answerSave((outDir() / name).string());
        QTest::mouseClick(form().spgem, Qt::LeftButton);
    }
};

TEST_F(SaveSelectedTest, MixedSelectionGivesAFileForEachWallSpriteAndSound)
{
    TForm1& window = form();
    selectRows({WallRow, BrokenSpriteRow, SoundRow});
    saveAs("-");
    ASSERT_EQ(platform.saveRequests.size(), 1u);
    EXPECT_EQ(platform.saveRequests[0].presetName, "-");
    EXPECT_EQ(platform.saveRequests[0].filters[0].pattern, "*.bmp;*.wav");
    EXPECT_EQ(filesIn(outDir()), (std::vector<std::string>{"sound0000.wav", "wall0000.bmp"}));
    const auto wall = readFileBytes((outDir() / "wall0000.bmp").string());
    ASSERT_EQ(wall.size(), 5174u);
    EXPECT_EQ(wall[1078 + (63 - 7) * 64 + 5], patternCell(5, 7));
    const auto sound = readFileBytes((outDir() / "sound0000.wav").string());
    ASSERT_EQ(sound.size(), 4180u);
    EXPECT_EQ(sound[44 + 4095], 0x11);
    EXPECT_EQ(sound[44 + 4096], 0x22);

    // The work list is a copy of the selected lines; the selection stays.
    EXPECT_EQ(window.ListBox2->count(), 3);
    EXPECT_EQ(window.ListBox2->item(2)->text(), window.ListBox1->item(SoundRow)->text());
    EXPECT_EQ(window.ListBox1->selectedItems().size(), 3);
    EXPECT_EQ(platform.pendingEventRuns, 3);
    EXPECT_TRUE(platform.errors.empty());

    // Saving again replaces the files; a good sprite is saved over index 255.
    selectRows({SpriteRow});
    saveAs("-");
    EXPECT_EQ(filesIn(outDir()), (std::vector<std::string>{"sound0000.wav", "sprite0000.bmp", "wall0000.bmp"}));
    const auto sprite = readFileBytes((outDir() / "sprite0000.bmp").string());
    EXPECT_EQ(std::count(sprite.begin() + 1078, sprite.end(), 255), 4096 - 11);
}

TEST_F(SaveSelectedTest, TypedNameIsAPrefixUnlessItIsTheBareDash)
{
    selectRows({WallRow});
    saveAs("pre");
    saveAs("-.bmp");
    EXPECT_EQ(filesIn(outDir()), (std::vector<std::string>{"-.bmpwall0000.bmp", "prewall0000.bmp"}));
}

TEST_F(SaveSelectedTest, EndsWithTheCurrentEntryShownAgainUnlessAnErrorStopsIt)
{
    TForm1& window = form();
    selectRows({WallRow});
    // Cancelled: nothing saved, the entry shown again.
    markView();
    platform.cancelSave();
    QTest::mouseClick(window.spgem, Qt::LeftButton);
    EXPECT_TRUE(filesIn(outDir()).empty());
    EXPECT_NE(view().pixel(0, 0), Marker);
    EXPECT_TRUE(window.Image1->isVisible());

    // A missing folder stops the run at its first file, without showing the entry again.
    markView();
    platform.answerSave((outDir() / "missing" / "-").string());
    QTest::mouseClick(window.spgem, Qt::LeftButton);
    EXPECT_EQ(platform.errors, std::vector<std::string>{"Invalid filename"});
    EXPECT_EQ(view().pixel(0, 0), Marker);
    EXPECT_TRUE(window.Image1->isVisible());

    // A file that cannot be replaced stops the run there; the files before it stay.
    std::filesystem::create_directory(outDir() / "sound0000.wav");
    selectRows({SpriteRow, SoundRow});
    saveAs("-");
    EXPECT_EQ(platform.errors.back(), "File access denied");
    EXPECT_TRUE(std::filesystem::exists(outDir() / "sprite0000.bmp"));
    EXPECT_TRUE(window.Image1->isVisible());
    EXPECT_TRUE(window.spgem->isEnabled());

    // With nothing selected there is only the message.
    window.ListBox1->clearSelection();
    QTest::mouseClick(window.spgem, Qt::LeftButton);
    EXPECT_EQ(platform.messages.back(), std::make_pair(std::string("Error"), std::string("NO ITEMS SELECTED")));
    EXPECT_EQ(platform.saveRequests.size(), 3u);
}

TEST_F(SaveSelectedTest, WhileARunGoesOnNothingMayChangeTheFileOrTheListUnderIt)
{
    TForm1& window = form();
    window.S1->trigger();
    const QString versionBefore = window.cb1->currentText();
    std::vector<bool> circleSeen;
    int colourChanges = 0;
    platform.whilePendingEventsRun = [&] {
        circleSeen.push_back(!window.Image1->isVisible() && window.Shape1->isVisible());
        // Loading, saving, the version and the list are refused ...
        EXPECT_FALSE(window.SpeedButton1->isEnabled());
        EXPECT_FALSE(window.spgem->isEnabled());
        EXPECT_FALSE(window.cb1->isEnabled());
        QTest::mouseClick(window.ListBox1->viewport(), Qt::LeftButton, {},
                          window.ListBox1->visualItemRect(window.ListBox1->item(WallRow)).center());
        QTest::keyClick(window.cb1, Qt::Key_Down);
        // ... while the timer, the picture and the animation controls work.
        const PackedColor before = window.Shape1->brushColor();
        window.Timer1Timer();
        colourChanges += window.Shape1->brushColor() != before;
        clickPicture();
    };
    saveAs("-");
    platform.whilePendingEventsRun = nullptr;
    EXPECT_EQ(circleSeen, std::vector<bool>(4, true));
    EXPECT_EQ(colourChanges, 4);
    EXPECT_EQ(filesIn(outDir()), (std::vector<std::string>{"sound0000.wav", "sprite0000.bmp", "wall0000.bmp"}));
    EXPECT_EQ(window.ListBox1->selectedItems().size(), 4);
    EXPECT_EQ(window.cb1->currentText(), versionBefore);
    EXPECT_TRUE(platform.errors.empty());
    // Afterwards everything works as before.
    EXPECT_TRUE(window.Image1->isVisible());
    for (QWidget* control : {static_cast<QWidget*>(window.SpeedButton1), static_cast<QWidget*>(window.spgem),
                             static_cast<QWidget*>(window.cb1), static_cast<QWidget*>(window.ListBox1)})
        EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
    clickRow(SoundRow);
    EXPECT_EQ(window.state().current.kind, ItemKind::Sound);
}

TEST_F(SaveSelectedTest, ClosingTheWindowEndsTheRunCleanly)
{
    TForm1& window = form();
    window.S1->trigger();
    platform.whilePendingEventsRun = [&] {
        if (platform.pendingEventRuns == 2)
            window.close();
    };
    saveAs("-");
    platform.whilePendingEventsRun = nullptr;
    EXPECT_EQ(filesIn(outDir()), std::vector<std::string>{"wall0000.bmp"});
    EXPECT_FALSE(std::filesystem::exists(workingCopy(0)));
    EXPECT_TRUE(platform.errors.empty());
}

TEST_F(SaveSelectedTest, EscStopsTheRunBeforeItsNextItemAndTheNextDialogStartsInTheFolderChosenLast)
{
    TForm1& window = form();
    window.S1->trigger();
    platform.whilePendingEventsRun = [&] {
        if (platform.pendingEventRuns == 3)
            QTest::keyClick(window.Image2, Qt::Key_Escape);
    };
    saveAs("-");
    platform.whilePendingEventsRun = nullptr;
    EXPECT_EQ(filesIn(outDir()), (std::vector<std::string>{"sprite0000.bmp", "wall0000.bmp"}));
    EXPECT_EQ(
        platform.messages,
        (std::vector<std::pair<std::string, std::string>>{{"Save selected", "Saving stopped: 2 of 4 items saved."}}));
    // Esc outside a run stops no later one.
    QTest::keyClick(window.Image2, Qt::Key_Escape);
    saveAs("-");
    EXPECT_EQ(filesIn(outDir()).size(), 3u);
    EXPECT_EQ(platform.saveRequests[0].startDirectory, "");
    EXPECT_EQ(platform.saveRequests[1].startDirectory, outDir().string());
}

// Three chunks whose header puts the first sprite after the first sound:
// chunk 0 a wall, chunk 1 the only sound, chunk 2 the sound information.
std::vector<std::uint8_t> soundsBeforeSpritesVswap()
{
    std::vector<std::uint8_t> bytes = {3, 0, 3, 0, 1, 0};
    const std::uint32_t offsets[] = {24, 24 + 4096, 24 + 4096 + 100};
    for (std::uint32_t offset : offsets)
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<std::uint8_t>(offset >> shift));
    for (const int length : {4096, 100, 8}) {
        bytes.push_back(static_cast<std::uint8_t>(length));
        bytes.push_back(static_cast<std::uint8_t>(length >> 8));
    }
    bytes.resize(24 + 4096, 0x33);
    bytes.resize(24 + 4096 + 100, 0x44);
    // The sound: page 0, 100 bytes; then the closing entry.
    bytes.insert(bytes.end(), {0, 0, 100, 0, 0, 0, 0, 0});
    return bytes;
}

TEST_F(SaveSelectedTest, ChunkFromTheFirstSoundOnIsSavedAsASoundOnly)
{
    openFile(userFile("VSWAP.ODD", soundsBeforeSpritesVswap()));
    form().S1->trigger();
    saveAs("-");
    EXPECT_EQ(filesIn(outDir()), (std::vector<std::string>{"sound0000.wav", "wall0000.bmp"}));
    const auto wall = readFileBytes((outDir() / "wall0000.bmp").string());
    EXPECT_EQ(std::count(wall.begin() + 1078, wall.end(), 0x33), 4096);
    EXPECT_EQ(readFileBytes((outDir() / "sound0000.wav").string()).size(), 144u);
}

}  // namespace
}  // namespace pagelark::testing
