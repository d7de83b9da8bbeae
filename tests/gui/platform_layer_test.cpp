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

TEST_F(FileOpsTest, DeletingNeverReports)
{
    writeFileText(dir.file("old"), "x");
    deleteFileQuietly(dir.file("old"));
    EXPECT_FALSE(std::filesystem::exists(dir.file("old")));
    EXPECT_NO_THROW(deleteFileQuietly(dir.file("old")));
    EXPECT_NO_THROW(deleteFileQuietly(""));
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
