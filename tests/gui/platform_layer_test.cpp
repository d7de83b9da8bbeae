#include "app/file_ops.h"
#include "app/handler_guard.h"
#include "app/qt_platform.h"
#include "archive/run_error.h"
#include "tests/gui/fake_platform.h"
#include "tests/support/temp_dir.h"

#include <QString>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace pagelark::testing {
namespace {

TEST(QtFilterTextTest, EveryFileFilterAndSeveralPatternsTakeQtsForm)
{
    EXPECT_EQ(qtFilterText({{"VSWAP Files", "VSWAP.*"}, {"All Files", "*.*"}}), "VSWAP Files (VSWAP.*);;All Files (*)");
    EXPECT_EQ(qtFilterText({{"Bitmap (*.bmp),sound(*.wav)", "*.bmp;*.wav"}}),
              "Bitmap (*.bmp),sound(*.wav) (*.bmp *.wav)");
}

TEST(QtPlatformTest, ProgramDirEndsWithTheSeparatorAndTheClockMoves)
{
    QtPlatform platform;
    const std::string dir = platform.programDir();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '/');
    EXPECT_TRUE(std::filesystem::is_directory(dir));
    const std::uint32_t before = platform.tickCount();
    QTest::qWait(20);
    EXPECT_GE(static_cast<std::uint32_t>(platform.tickCount() - before), 15u);
}

class FileOpsTest : public ::testing::Test {
protected:
    TempDir dir;
};

TEST_F(FileOpsTest, CopyReplacesALongerTarget)
{
    writeFileText(dir.file("from"), "short");
    writeFileText(dir.file("to"), "a much longer old content");
    copyFileReplacing(dir.file("from"), dir.file("to"));
    EXPECT_EQ(readFileText(dir.file("to")), "short");
    EXPECT_EQ(readFileText(dir.file("from")), "short");
}

TEST_F(FileOpsTest, CopyOfAMissingSourceIsFileNotFoundAndMakesNoTarget)
{
    try {
        copyFileReplacing(dir.file("missing"), dir.file("to"));
        FAIL() << "no error";
    } catch (const RunError& error) {
        EXPECT_EQ(error.code(), 2);
        EXPECT_STREQ(error.text(), "File not found");
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("to")));
}

TEST_F(FileOpsTest, CopyIntoAMissingFolderIsInvalidFilename)
{
    writeFileText(dir.file("from"), "bytes");
    try {
        copyFileReplacing(dir.file("from"), dir.file("no-folder/to"));
        FAIL() << "no error";
    } catch (const RunError& error) {
        EXPECT_EQ(error.code(), 3);
        EXPECT_STREQ(error.text(), "Invalid filename");
    }
    EXPECT_EQ(readFileText(dir.file("from")), "bytes");
}

TEST_F(FileOpsTest, CopyOntoItselfKeepsTheBytes)
{
    writeFileText(dir.file("same"), "keep me");
    std::filesystem::create_hard_link(dir.file("same"), dir.file("link"));
    copyFileReplacing(dir.file("same"), dir.file("same"));
    copyFileReplacing(dir.file("same"), dir.file("link"));
    EXPECT_EQ(readFileText(dir.file("same")), "keep me");
    EXPECT_TRUE(sameFile(dir.file("same"), dir.file("link")));
    EXPECT_FALSE(sameFile(dir.file("same"), dir.file("missing")));
}

TEST_F(FileOpsTest, DeletingNeverReports)
{
    writeFileText(dir.file("old"), "x");
    EXPECT_TRUE(fileExists(dir.file("old")));
    deleteFileQuietly(dir.file("old"));
    EXPECT_FALSE(fileExists(dir.file("old")));
    EXPECT_NO_THROW(deleteFileQuietly(dir.file("old")));
    EXPECT_NO_THROW(deleteFileQuietly(""));
    EXPECT_FALSE(fileExists(""));
}

TEST(HandlerGuardTest, ErrorEndsTheHandlerAndIsShown)
{
    FakePlatform platform;
    int stepsDone = 0;
    runGuarded(platform, [&] {
        ++stepsDone;
        throw RunError::io(100);
    });
    runGuarded(platform, [&] { ++stepsDone; });
    EXPECT_EQ(stepsDone, 2);
    EXPECT_EQ(platform.errors, std::vector<std::string>{"Read beyond end of file"});
}

}  // namespace
}  // namespace pagelark::testing
