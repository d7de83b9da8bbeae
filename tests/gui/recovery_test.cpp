// Replacements not saved when a termination signal ends the window: kept
// without a question, and offered back at the next start.
#include "app/desktop/recovery_files.h"
#include "app/desktop/termination_signals.h"
#include "tests/gui/editing_fixture.h"
#include "tests/support/commit_steps.h"

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

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
            const CommitSteps steps;
            std::raise(SIGTERM);
            EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }));
            // A signal may come at logout, before a power-off.
            for (const std::string& file : {kept, platform.dir.file("recovery.txt")})
                EXPECT_EQ(steps.of(file), (std::vector<std::string>{"flushed", "renamed"})) << file;
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

namespace fs = std::filesystem;

// Recovery files in the program's folder that the window did not keep:
// their title would name whatever path they hold, and a restore or a "no"
// would delete them.
TEST_F(EditingTest, AnotherUsersRecoveryFilesAreNeitherOfferedNorDeleted)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "files of another user's can only be made by root";
    const RecoveryFiles kept(platform.dir.withSeparator());
    for (const fs::perms mode : {fs::perms(0644), fs::perms(0600)}) {
        SCOPED_TRACE(static_cast<int>(mode));
        writeFileBytes(kept.pageFile(), editableVswap());
        writeFileText(kept.pathFile(), "/etc/shadow");
        for (const std::string& file : {kept.pageFile(), kept.pathFile()}) {
            fs::permissions(file, mode);
            ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0);
        }
        platform.notes.clear();
        form().offerRecovery();
        EXPECT_TRUE(platform.questions.empty());
        kept.remove();
        EXPECT_TRUE(fs::exists(kept.pageFile()) && fs::exists(kept.pathFile()));
        ASSERT_EQ(platform.notes.size(), 1u);
        EXPECT_NE(platform.notes[0].find(kept.pathFile() + " belongs to another user"), std::string::npos)
            << platform.notes[0];
        EXPECT_EQ(platform.notes[0].find("/etc/shadow"), std::string::npos) << platform.notes[0];
    }
    EXPECT_EQ(title(), opened);
}

// Only the user's own private files, each under its own name, are the
// window's: a link is not followed, and nothing else is offered or deleted.
TEST(RecoveryFiles, OnlyTheUsersOwnPrivateFilesAreOfferedOrDeleted)
{
    enum class Planted { PrivateFiles, ReadableFiles, PathLink, PageLink, PathPipe };
    struct Case {
        Planted planted;
        // What a removal leaves: anything but a file the window could have kept.
        bool pageStays;
        bool pathStays;
    };
    const std::vector<Case> cases = {{Planted::PrivateFiles, false, false},
                                     {Planted::ReadableFiles, true, true},
                                     {Planted::PathLink, false, true},
                                     {Planted::PageLink, true, false},
                                     {Planted::PathPipe, false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.planted));
        TempDir folder;
        TempDir elsewhere;
        const RecoveryFiles kept(folder.withSeparator());
        writeFileBytes(kept.pageFile(), editableVswap());
        writeFileText(kept.pathFile(), "/home/user/VSWAP.WL6");
        for (const std::string& file : {kept.pageFile(), kept.pathFile()})
            fs::permissions(file, c.planted == Planted::ReadableFiles ? fs::perms(0644) : fs::perms(0600));
        // A link to a file that would be offered were it there itself.
        const std::string linked = c.planted == Planted::PageLink ? kept.pageFile() : kept.pathFile();
        if (c.planted == Planted::PathLink || c.planted == Planted::PageLink) {
            fs::rename(linked, elsewhere.file("target"));
            fs::create_symlink(elsewhere.file("target"), linked);
        }
        if (c.planted == Planted::PathPipe) {
            fs::remove(kept.pathFile());
            ASSERT_EQ(::mkfifo(kept.pathFile().c_str(), 0600), 0);
        }
        const bool offered = c.planted == Planted::PrivateFiles;
        const RecoveryFiles::Found found = kept.find();
        EXPECT_EQ(found.openedPath, offered ? std::optional<std::string>("/home/user/VSWAP.WL6") : std::nullopt);
        EXPECT_EQ(found.leftAlone.empty(), offered) << found.leftAlone;
        kept.remove();
        EXPECT_EQ(fs::exists(fs::symlink_status(kept.pageFile())), c.pageStays);
        EXPECT_EQ(fs::exists(fs::symlink_status(kept.pathFile())), c.pathStays);
    }
}

}  // namespace
}  // namespace pagelark::testing
