// An installed window whose state folder another user has prepared.
#include "tests/gui/window_fixture.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace pagelark::testing {
namespace {

namespace fs = std::filesystem;

// The program as installed: <prefix>/bin, its side files in <prefix>/share/pagelark.
class InstalledPlatform : public FakePlatform {
public:
    InstalledPlatform()
    {
        fs::create_directories(dir.path() / "bin");
        fs::create_directories(dir.path() / "share" / "pagelark");
        for (const char* name : {"wolfenstein.pal", "wolf10swpics.txt", "wolfpics.txt", "spearpics.txt"})
            fs::rename(dir.path() / name, dir.path() / "share" / "pagelark" / name);
    }
    std::string programDir() override { return dir.file("bin") + "/"; }
};

TEST(HostileStateFolder, PreviewsNeverGoThroughAnotherUsersFolder)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "a folder of another user's can only be made by root";
    TempDir userDir;
    TempDir hostile;
    // Another user's folder that everyone may write to, where the window's
    // state folder would be, with the preview's name linked to a file of the victim's.
    const fs::path planted = hostile.path() / "pagelark";
    fs::permissions(hostile.path(), fs::perms::all);
    fs::create_directory(planted);
    fs::permissions(planted, fs::perms::all);
    const std::string victim = userDir.file("precious");
    writeFileText(victim, "the victim's");
    fs::create_symlink(victim, planted / "pl.bmp");
    ASSERT_EQ(::lchown((planted / "pl.bmp").c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chown(planted.c_str(), 65534, 65534), 0);
    ::setenv("XDG_STATE_HOME", hostile.path().c_str(), 1);

    InstalledPlatform platform;
    auto form = std::make_unique<TForm1>(platform);
    platform.answerOpen(userDir.file("VSWAP.WL6"));
    writeFileBytes(userDir.file("VSWAP.WL6"), sampleVswap());
    form->SpeedButton1->click();
    for (int tick = 0; tick < 3; ++tick)
        form->Timer1Timer();
    ::unsetenv("XDG_STATE_HOME");

    EXPECT_TRUE(platform.errors.empty()) << platform.errors.front();
    EXPECT_EQ(readFileText(victim), "the victim's");
    EXPECT_EQ(std::distance(fs::directory_iterator(planted), fs::directory_iterator()), 1);
    ASSERT_EQ(platform.notes.size(), 1u);
    EXPECT_NE(platform.notes[0].find("it belongs to another user"), std::string::npos) << platform.notes[0];
    const std::string own = form->state().ownFilesDir;
    EXPECT_TRUE(fs::exists(own + "pl.bmp"));
    EXPECT_EQ(fs::status(own + "pl.bmp").permissions(), fs::perms::owner_read | fs::perms::owner_write);

    // The folder made for the run goes with it.
    form->close();
    form.reset();
    EXPECT_FALSE(fs::exists(own));
}

}  // namespace
}  // namespace pagelark::testing
