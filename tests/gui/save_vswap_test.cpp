// Saving the edited page file, the files it refuses, and the question that
// comes before replacements not saved would be lost.
#include "tests/gui/editing_fixture.h"

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
        EXPECT_TRUE(platform.errors[0].starts_with(refused + ": this is the ")) << platform.errors[0];
    }
    EXPECT_EQ(readFileBytes(opened), editableVswap());
    EXPECT_EQ(readFileBytes(base), editableVswap());
    EXPECT_EQ(title(), opened + " *");

    const std::string saved = userDir.file("NEW.WL6");
    platform.answerSave(saved);
    window.SaveVswapAs1->trigger();
    EXPECT_EQ(platform.saveRequests.front().startDirectory, userDir.path().string());
    EXPECT_EQ(readFileBytes(saved), edited);
    EXPECT_EQ(title(), opened);
    window.Undo1->trigger();
    EXPECT_EQ(title(), opened + " *");
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
