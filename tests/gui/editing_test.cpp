// Replacing chunks in the window: by the pop-up menu and by a drop, what the
// window shows afterwards, undo and redo, and imports that fail.
#include "pictures/sprite_encoder.h"
#include "sounds/wav_writer.h"
#include "tests/gui/editing_fixture.h"

namespace pagelark::testing {
namespace {

TEST_F(EditingTest, WallSpriteAndSoundAreReplacedByMenuAndByDropAndUndone)
{
    TForm1& window = form();
    const std::vector<std::uint8_t> samples(500, 0x60);
    std::vector<std::uint8_t> wall(4096, 42);
    std::fill_n(wall.begin() + gridCell(10, 20), 21, 43);
    struct Case {
        int row;
        std::string file;
        std::vector<std::uint8_t> chunk;
        std::uint8_t lastPreviewByte;
    };
    // The sprite's file has no extension: a drop tells a picture by its content.
    const std::vector<Case> cases = {
        {WallRow, bitmapFile("wall.bmp", barGrid(42, 43)), wall, 42},
        {SpriteRow, pngFile("sprite", barGrid(EmptyIndex, 99)), encodeSprite(barGrid(EmptyIndex, 99)), 255},
        {SoundRow, userFile("sound.wav", wavFileBytes(samples)), samples, 0x60},
    };
    const auto tickThrice = [&] {
        for (int tick = 0; tick < 3; ++tick)
            window.Timer1Timer();
    };
    for (const bool byDrop : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.file + (byDrop ? " dropped" : " by menu"));
            selectOnly(c.row);
            tickThrice();
            const std::vector<std::uint8_t> before = shownChunk(c.row);
            if (byDrop)
                EXPECT_TRUE(dropAt(rowPoint(c.row), c.file));
            else
                replaceByMenu(c.file);

            ASSERT_TRUE(platform.errors.empty()) << platform.errors.front();
            EXPECT_EQ(shownChunk(c.row), c.chunk);
            EXPECT_EQ(title(), opened + " *");
            EXPECT_EQ(window.ListBox1->currentRow(), c.row);
            EXPECT_EQ(window.ListBox1->selectedItems(), QList<QListWidgetItem*>{window.ListBox1->item(c.row)});
            // The preview file gets the new bytes on the third tick, as after a click.
            tickThrice();
            EXPECT_EQ(readFileBytes(platform.dir.file(c.row == SoundRow ? "pl.wav" : "pl.bmp")).back(),
                      c.lastPreviewByte);

            window.Undo1->trigger();
            EXPECT_EQ(shownChunk(c.row), before);
            EXPECT_EQ(title(), opened);
        }
    }
    EXPECT_EQ(readFileBytes(opened), editableVswap());

    // Replace takes exactly one selected entry; a picture dropped off the list replaces nothing.
    window.S1->trigger();
    EXPECT_FALSE(window.Replace1->isEnabled());
    EXPECT_FALSE(dropAt(QPoint(160, 200), cases[0].file));
    EXPECT_EQ(title(), opened);
    EXPECT_TRUE(platform.allAnswersUsed());
}

// A sprite whose column commands lie beyond the end of its file has no
// colours to keep, and is replaced as any other, as on the command line.
TEST_F(EditingTest, ASpriteCutShortByTheEndOfItsFileIsReplacedAsAnyOther)
{
    const std::vector<std::uint8_t> cut = {0, 0, 1, 0, 0xA0, 0x0F, 0xA0, 0x0F};
    openFile(userFile("CUT.WL6",
                      tools::VswapWriter()
                          .wall(patternWall())
                          .wall(chunkOf(4096, 5))
                          .sprite({cut, false, {}})
                          .soundPage(chunkOf(300, 0x11))
                          .sound(0, 300)
                          .build()));
    selectOnly(SpriteRow);
    platform.errors.clear();  // showing it says it cannot be read
    replaceByMenu(pngFile("sprite.png", barGrid(EmptyIndex, 99)));
    EXPECT_TRUE(platform.errors.empty()) << platform.errors.front();
    EXPECT_EQ(shownChunk(SpriteRow), encodeSprite(barGrid(EmptyIndex, 99)));
}

TEST_F(EditingTest, UndoAndRedoGoBetweenTheCopiesBackToTheFileAsOpened)
{
    TForm1& window = form();
    const std::vector<std::uint8_t> opening = shownChunk(0);
    const std::vector<std::uint8_t> first = replaceWall(1);
    replaceByMenu(bitmapFile("two.bmp", barGrid(2, 2)));
    window.Undo1->trigger();
    EXPECT_EQ(readFileBytes(shownCopy()), first);
    window.Undo1->trigger();
    EXPECT_EQ(shownChunk(0), opening);
    EXPECT_FALSE(window.Undo1->isEnabled());
    window.Redo1->trigger();
    window.Redo1->trigger();
    EXPECT_EQ(shownChunk(0), std::vector<std::uint8_t>(4096, 2));
    EXPECT_FALSE(window.Redo1->isEnabled());

    // A replacement after an undo drops the step undone; the file as opened
    // and the step shown are the only copies on disk.
    window.Undo1->trigger();
    replaceByMenu(bitmapFile("three.bmp", barGrid(3, 3)));
    EXPECT_FALSE(window.Redo1->isEnabled());
    EXPECT_EQ(workingCopiesOnDisk(), 2);
    EXPECT_EQ(view().pixel(0, 0), color(3));
    EXPECT_EQ(window.Undo1->text().toStdString(), "Undo replacement of wall 0");

    // The oldest steps go once there are more than the history keeps.
    for (int n = 0; n < EditHistory::MaxSteps; ++n)
        replaceWall(static_cast<std::uint8_t>(n));
    EXPECT_EQ(workingCopiesOnDisk(), 2);
    int undone = 0;
    for (; window.Undo1->isEnabled() && undone <= EditHistory::MaxSteps; ++undone)
        window.Undo1->trigger();
    EXPECT_EQ(undone, EditHistory::MaxSteps);
    EXPECT_EQ(shownChunk(0), std::vector<std::uint8_t>(4096, 3));

    // Every copy goes with the window.
    platform.answerQuestion(Answer::Discard);
    destroyForm();
    EXPECT_EQ(workingCopiesOnDisk(), 0);
    EXPECT_TRUE(platform.errors.empty());
}

TEST_F(EditingTest, FailedImportShowsOneErrorNamingTheFileAndChangesNothing)
{
    PixelGrid speckled;
    for (std::size_t i = 0; i < speckled.size(); ++i)
        speckled[i] = static_cast<std::uint8_t>(i % 200);
    const std::vector<std::pair<int, std::string>> cases = {
        {WallRow, pngFile("small.png", barGrid(1, 2), 32)},
        {SpriteRow, bitmapFile("crowded.bmp", speckled)},
        {SoundRow, userFile("noise.wav", {'n', 'o', 'i', 's', 'e'})},
    };
    for (const auto& [row, file] : cases) {
        SCOPED_TRACE(file);
        platform.errors.clear();
        selectOnly(row);
        const std::vector<std::uint8_t> before = shownChunk(row);
        replaceByMenu(file);
        ASSERT_EQ(platform.errors.size(), 1u);
        EXPECT_TRUE(platform.errors[0].starts_with(file + ": ")) << platform.errors[0];
        EXPECT_EQ(shownChunk(row), before);
        EXPECT_EQ(title(), opened);
        EXPECT_EQ(workingCopiesOnDisk(), 1);
    }
}

}  // namespace
}  // namespace pagelark::testing
