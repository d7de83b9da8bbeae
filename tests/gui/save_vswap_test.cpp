// Saving the edited page file, the files it refuses, and the question that
// comes before replacements not saved would be lost.
#include "tests/gui/editing_fixture.h"
#include "tests/support/commit_steps.h"

namespace pagelark::testing {
namespace {

TEST_F(EditingTest, SaveAsWritesTheEditedFileAndRefusesTheOpenFileAndTheWorkingCopies)
{
    TForm1& window = form();
    const std::vector<std::uint8_t> edited = replaceWall();
    const std::string link = userDir.file("LINK.WL6");
    std::filesystem::create_symlink(opened, link);
    const std::string base = window.state().workingCopyFile.name();
    for (const std::string& refused : {opened, link, base, shownCopy()}) {
        platform.errors.clear();
        platform.answerSave(refused);
        window.SaveVswapAs1->trigger();
        ASSERT_EQ(platform.errors.size(), 1u) << refused;
        // The open file is refused as every output refuses a file being read.
        EXPECT_TRUE(platform.errors[0].starts_with(refused + ": this is the window's working copy")
                    || platform.errors[0] == "Not written: " + refused + " is the file being read")
            << platform.errors[0];
    }
    EXPECT_EQ(readFileBytes(opened), editableVswap());
    EXPECT_EQ(readFileBytes(base), editableVswap());
    EXPECT_EQ(title(), opened + " *");

    const std::string saved = userDir.file("NEW.WL6");
    platform.answerSave(saved);
    {
        const CommitSteps steps;
        window.SaveVswapAs1->trigger();
        // On the disk before its name leads to it: a crash leaves the old file or the whole new one.
        EXPECT_EQ(steps.of(saved), (std::vector<std::string>{"flushed", "renamed"}));
    }
    EXPECT_EQ(platform.saveRequests.front().startDirectory, userDir.path().string());
    EXPECT_EQ(readFileBytes(saved), edited);
    EXPECT_EQ(title(), opened);
    window.Undo1->trigger();
    EXPECT_EQ(title(), opened + " *");
}

// Whatever the window writes for itself in its own folder it writes over or
// deletes later: saving the edits there under such a name would lose them
// while the title says they are saved.
TEST_F(EditingTest, SaveAsRefusesTheNamesOfTheWindowsOwnFilesInItsOwnFolderHoweverReached)
{
    TForm1& window = form();
    const std::vector<std::uint8_t> edited = replaceWall();
    const std::filesystem::path own = window.state().ownFilesDir;
    const std::filesystem::path ownByLink = userDir.file("own");
    std::filesystem::create_symlink(own, ownByLink);
    writeFileText(own / "pl.bmp", "the preview");
    struct Case {
        std::filesystem::path path;
        bool refused;
    };
    const std::vector<Case> cases = {
        {own / "pl.bmp", true},
        {own / "pl.wav", true},
        {own / "vswap7", true},
        {own / "vswap0.pagelark", true},
        {own / "recovery.vswap", true},
        {own / "recovery.txt", true},
        {own / ".VSWAP.WL6.pagelark-a1b2c3d4", true},
        {ownByLink / "pl.bmp", true},
        {own / "." / "vswap3", true},
        // Other names in the folder, and the same names in another.
        {own / "EDITED.WL6", false},
        {userDir.path() / "pl.bmp", false},
    };
    for (const Case& c : cases) {
        const std::string path = c.path.string();
        SCOPED_TRACE(path);
        const bool existed = std::filesystem::exists(path);
        const std::string before = existed ? readFileText(path) : std::string();
        platform.errors.clear();
        platform.answerSave(path);
        window.SaveVswapAs1->trigger();
        if (!c.refused) {
            EXPECT_TRUE(platform.errors.empty()) << platform.errors.front();
            EXPECT_EQ(readFileBytes(path), edited);
            continue;
        }
        ASSERT_EQ(platform.errors.size(), 1u);
        EXPECT_EQ(platform.errors[0], path
                      + ": this is one of the files Pagelark keeps for itself, which it writes over and deletes; "
                        "save under another name");
        EXPECT_EQ(std::filesystem::exists(path), existed);
        EXPECT_EQ(existed ? readFileText(path) : std::string(), before);
        EXPECT_EQ(title(), opened + " *");
    }
}

TEST_F(EditingTest, OpeningAnotherFileOrClosingAsksFirst)
{
    TForm1& window = form();
    const std::vector<std::uint8_t> edited = replaceWall();
    const std::string other = userFile("VSWAP.SOD", twoWallVswap());
    // Cancelled, or a save cancelled: the edited file stays open.
    platform.answerQuestion(Answer::Cancel);
    openFile(other);
    platform.answerQuestion(Answer::Save);
    platform.cancelSave();
    openFile(other);
    ASSERT_EQ(platform.questions.size(), 2u);
    EXPECT_EQ(platform.questions.front().answers, (std::vector<Answer>{Answer::Save, Answer::Discard, Answer::Cancel}));
    EXPECT_EQ(title(), opened + " *");
    EXPECT_EQ(readFileBytes(shownCopy()), edited);

    // Saved, then opened; nothing unsaved asks nothing.
    platform.answerQuestion(Answer::Save);
    platform.answerSave(userDir.file("SAVED.WL6"));
    openFile(other);
    EXPECT_EQ(readFileBytes(userDir.file("SAVED.WL6")), edited);
    EXPECT_EQ(title(), other);
    EXPECT_TRUE(dropAt(QPoint(160, 200), opened));
    EXPECT_EQ(platform.questions.size(), 3u);

    // Dropped on, discarding; closing, cancelled and then discarding.
    replaceWall();
    platform.answerQuestion(Answer::Discard);
    EXPECT_TRUE(dropAt(QPoint(160, 200), other));
    EXPECT_EQ(title(), other);
    EXPECT_EQ(workingCopiesOnDisk(), 1);
    replaceWall();
    platform.answerQuestion(Answer::Cancel);
    EXPECT_FALSE(window.close());
    platform.answerQuestion(Answer::Discard);
    EXPECT_TRUE(window.close());
    EXPECT_EQ(workingCopiesOnDisk(), 0);
    EXPECT_TRUE(platform.allAnswersUsed());
    EXPECT_TRUE(platform.errors.empty());
}

}  // namespace
}  // namespace pagelark::testing
