// Editing in another program: the chunk goes out as a file, the stand-in
// editor saves it by renaming a new file over it or by writing in place, and
// each save comes back as an undo step.
#include "pictures/sprite_encoder.h"
#include "sounds/wav_writer.h"
#include "tests/gui/editing_fixture.h"

#include <QMenu>
#include <QTest>

#include <sys/stat.h>

#include <cstdlib>

namespace pagelark::testing {
namespace {

class LiveEditingTest : public EditingTest {
protected:
    void SetUp() override
    {
        // The folder for the files to edit is made in the runtime folder.
        ::chmod(runtime.path().c_str(), 0700);
        ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
        platform.applications["image/png"] = {{"paint.desktop", "Paint"}, {"draw.desktop", "Draw"}};
        platform.applications["audio/x-wav"] = {{"cut.desktop", "Cut"}};
        EditingTest::SetUp();
    }
    void TearDown() override { ::unsetenv("XDG_RUNTIME_DIR"); }

    // Sends the row out; the file it went out as.
    std::string sendOut(int row)
    {
        selectOnly(row);
        form().EditInEditor1->trigger();
        EXPECT_FALSE(platform.launches.empty());
        return platform.launches.empty() ? std::string() : platform.launches.back().path;
    }

    // An editor's save: a new file renamed over the old, or the old rewritten.
    void save(const std::string& path, const std::vector<std::uint8_t>& bytes, bool byRename)
    {
        const std::string written = byRename ? path + ".new" : path;
        writeFileBytes(written, bytes);
        if (byRename)
            std::filesystem::rename(written, path);
    }

    std::vector<std::uint8_t> pngBytes(const PixelGrid& grid) { return readFileBytes(pngFile("picture.png", grid)); }

    // Waits, as the user would, for the window to take a save.
    bool undoBecomes(const std::string& text)
    {
        return QTest::qWaitFor([&] { return form().Undo1->text().toStdString() == text; }, 3000);
    }

    TempDir runtime;
};

TEST_F(LiveEditingTest, EachSaveOfAWallSpriteOrSoundIsOneUndoStep)
{
    TForm1& window = form();
    struct Case {
        int row;
        std::string name;
        std::string mimeType;
        std::vector<std::uint8_t> first, second;  // the two saves
        std::vector<std::uint8_t> chunk;          // what the second makes of the chunk
        std::string step;
    };
    const std::vector<std::uint8_t> samples(700, 0x70);
    const std::vector<Case> cases = {
        {WallRow, "wall0000.png", "image/png", pngBytes(barGrid(1, 2)), pngBytes(barGrid(3, 4)),
         [] {
             std::vector<std::uint8_t> wall(4096, 3);
             std::fill_n(wall.begin() + gridCell(10, 20), 21, 4);
             return wall;
         }(),
         "wall 0"},
        {SpriteRow, "sprite0000.png", "image/png", pngBytes(barGrid(EmptyIndex, 5)), pngBytes(barGrid(EmptyIndex, 6)),
         encodeSprite(barGrid(EmptyIndex, 6)), "sprite 0"},
        {SoundRow, "sound0000.wav", "audio/x-wav", wavFileBytes(std::vector<std::uint8_t>(100, 0x50)),
         wavFileBytes(samples), samples, "sound 0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::uint8_t> before = shownChunk(c.row);
        const std::string path = sendOut(c.row);
        EXPECT_EQ(std::filesystem::path(path).filename(), c.name);
        EXPECT_EQ(platform.launches.back().mimeType, c.mimeType);
        struct stat folder {};
        ASSERT_EQ(::stat(std::filesystem::path(path).parent_path().c_str(), &folder), 0);
        EXPECT_EQ(folder.st_mode & 0777, 0700u);
        EXPECT_TRUE(path.starts_with(runtime.path().string()));

        const std::string step = "Undo edit of " + c.step;
        save(path, c.first, true);
        ASSERT_TRUE(undoBecomes(step));
        save(path, c.second, false);
        ASSERT_TRUE(QTest::qWaitFor([&] { return shownChunk(c.row) == c.chunk; }, 3000));
        ASSERT_TRUE(platform.errors.empty()) << platform.errors.front();
        EXPECT_EQ(title(), opened + " *");
        // Two saves, two steps; redoing them is the undo history's own, tested with it.
        window.Undo1->trigger();
        EXPECT_EQ(window.Undo1->text().toStdString(), step);
        window.Undo1->trigger();
        EXPECT_EQ(shownChunk(c.row), before);
    }
}

TEST_F(LiveEditingTest, ABadSaveKeepsTheLastGoodStateAndADeletedFileIsHarmless)
{
    TForm1& window = form();
    const std::string path = sendOut(WallRow);
    save(path, pngBytes(barGrid(1, 2)), true);
    ASSERT_TRUE(undoBecomes("Undo edit of wall 0"));
    const std::vector<std::uint8_t> good = shownChunk(WallRow);

    // A picture of another size: one message naming the file, nothing changed.
    save(path, readFileBytes(pngFile("small.png", barGrid(7, 7), 32)), true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !platform.errors.empty(); }, 3000));
    QTest::qWait(2 * EditorFiles::SettleMilliseconds);
    ASSERT_EQ(platform.errors.size(), 1u);
    EXPECT_NE(platform.errors.front().find(path), std::string::npos) << platform.errors.front();
    EXPECT_EQ(shownChunk(WallRow), good);

    // The next good save is still taken.
    save(path, pngBytes(barGrid(8, 9)), false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shownChunk(WallRow) != good; }, 3000));

    // Deleted, the file is no longer watched; sent again, it is written afresh.
    std::filesystem::remove(path);
    QTest::qWait(2 * EditorFiles::SettleMilliseconds);
    EXPECT_EQ(platform.errors.size(), 1u);
    EXPECT_EQ(sendOut(WallRow), path);

    // The page file is not saved into the folder, which goes with the window.
    platform.answerSave(path);
    window.SaveVswapAs1->trigger();
    EXPECT_EQ(platform.errors.size(), 2u);
    platform.answerQuestion(Answer::Discard);
    destroyForm();
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(path).parent_path()));
}

TEST_F(LiveEditingTest, EditWithKeepsTheChoiceAndNoApplicationNamesTheFile)
{
    TForm1& window = form();
    selectOnly(SpriteRow);
    emit window.EditWith1->aboutToShow();
    QList<QAction*> offered = window.EditWith1->actions();
    ASSERT_EQ(offered.size(), 2);
    EXPECT_EQ(offered[1]->text(), "Draw");
    offered[1]->trigger();
    EXPECT_EQ(platform.launches.back().applicationId, "draw.desktop");
    // The choice holds for the next file of the type, and shows as checked.
    sendOut(WallRow);
    EXPECT_EQ(platform.launches.back().applicationId, "draw.desktop");
    emit window.EditWith1->aboutToShow();
    EXPECT_TRUE(window.EditWith1->actions()[1]->isChecked());

    platform.applications.clear();
    selectOnly(SoundRow);
    window.EditInEditor1->trigger();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.messages.front().second.find("sound0000.wav"), std::string::npos);
    emit window.EditWith1->aboutToShow();
    ASSERT_EQ(window.EditWith1->actions().size(), 1);
    EXPECT_FALSE(window.EditWith1->actions().front()->isEnabled());
}

}  // namespace
}  // namespace pagelark::testing
