#include "app/desktop/deferred_sound_output.h"
#include "app/desktop/file_ops.h"
#include "app/desktop/handler_guard.h"
#include "app/desktop/qt_platform.h"
#include "archive/run_error.h"
#include "tests/gui/fake_platform.h"
#include "tests/support/temp_dir.h"

#include <QString>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

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

// The window's program links neither libzip, libsndfile nor GIO: they come when first needed.
TEST(QtPlatformTest, ModsAndSoundImportComeFromTheirModulesAndTheDesktopsApplicationsFromGio)
{
    QtPlatform platform;
    const ModOperations& mods = platform.modOperations();
    EXPECT_NE(mods.madeMod, nullptr);
    EXPECT_NE(mods.madeMod, linkedModOperations().madeMod) << "taken from the program, not the module";
    EXPECT_EQ(&platform.modOperations(), &mods);
    const SoundImportOperations& sounds = platform.soundImportOperations();
    EXPECT_NE(sounds.importSoundFile, nullptr);
    EXPECT_NE(sounds.importSoundFile, linkedSoundImportOperations().importSoundFile);
    // The window tells an import's failure by its RunError, thrown from the module.
    EXPECT_THROW(sounds.importSoundFile("/nonexistent.wav", {}), RunError);
    EXPECT_EQ(&platform.soundImportOperations(), &sounds);
    EXPECT_TRUE(platform.applicationsFor("application/x-pagelark-no-such-type").empty());
    EXPECT_FALSE(platform.openInApplication("/nonexistent", "application/x-pagelark-no-such-type", std::nullopt));
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

bool multimediaIsLoaded()
{
    std::ifstream maps("/proc/self/maps");
    const std::string mapped{std::istreambuf_iterator<char>(maps), std::istreambuf_iterator<char>()};
    return mapped.find("libQt6Multimedia") != std::string::npos;
}

TEST(DeferredSoundOutputTest, LoadsTheModuleWithTheFirstSoundAndIsSilentWithoutIt)
{
    TempDir dir;
    const std::string notAModule = dir.file(SoundModuleName);
    std::ofstream(notAModule) << "not a module";

    DeferredSoundOutput missing({dir.file("nothing-here.so"), notAModule});
    missing.playSound({dir.file("pl.wav"), sound_flag::Async | sound_flag::FileName});
    missing.playSound({});
    EXPECT_FALSE(missing.loaded());

    // Only this test loads the module into the test program.
    EXPECT_FALSE(multimediaIsLoaded()) << "the window's program should not load Qt Multimedia before a sound plays";
    DeferredSoundOutput built(soundModulePaths(PAGELARK_BIN_DIR "/"));
    built.playSound({});
    EXPECT_FALSE(built.loaded()) << "stopping before anything played needs no sound output";
    // A file that is not there is not heard; the output is loaded all the same.
    built.playSound({dir.file("pl.wav"), sound_flag::Async | sound_flag::FileName});
    EXPECT_TRUE(built.loaded());
    EXPECT_TRUE(multimediaIsLoaded());
    built.playSound({});
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
