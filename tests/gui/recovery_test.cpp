// Replacements not saved when a termination signal ends the window: kept
// without a question, and offered back at the next start.
#include "app/desktop/termination_signals.h"
#include "tests/gui/editing_fixture.h"

#include <csignal>

namespace pagelark::testing {
namespace {

TEST_F(EditingTest, SignalKeepsUnsavedReplacementsForTheNextStartToRestoreOrDelete)
{
    const std::string kept = platform.dir.file("recovery.vswap");
    std::vector<std::uint8_t> edited;
    for (const Answer answer : {Answer::No, Answer::Yes}) {
        SCOPED_TRACE(answer == Answer::Yes ? "restored" : "declined");
        if (!form().state().workingCopy.isOpen())
            openFile(opened);
        edited = replaceWall();
        const auto before = std::signal(SIGTERM, SIG_DFL);
        {
            TForm1& window = form();
            const TerminationSignals termination(window, [&window] { window.closeKeepingEdits(); });
            std::raise(SIGTERM);
            EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }));
        }
        std::signal(SIGTERM, before);
        destroyForm();
        EXPECT_TRUE(platform.questions.empty());
        EXPECT_EQ(workingCopiesOnDisk(), 0);
        EXPECT_EQ(readFileBytes(kept), edited);
        EXPECT_EQ(readFileText(platform.dir.file("recovery.txt")), opened);

        // The next start.
        platform.answerQuestion(answer);
        form().offerRecovery();
        platform.questions.clear();
        EXPECT_FALSE(std::filesystem::exists(kept));
    }
    EXPECT_TRUE(platform.errors.empty());
    EXPECT_EQ(title(), opened + " *");
    EXPECT_EQ(readFileBytes(shownCopy()), edited);
    // Still the opened file's edits: saving over it is refused.
    platform.answerSave(opened);
    form().SaveVswapAs1->trigger();
    EXPECT_EQ(platform.errors.size(), 1u);
    EXPECT_EQ(readFileBytes(opened), editableVswap());
}

}  // namespace
}  // namespace pagelark::testing
