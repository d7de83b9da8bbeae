#include "archive/program_places.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace pagelark {
namespace {

using testing::TempDir;
using testing::writeFileText;

// Sets an environment variable for the test's duration, restoring it afterwards.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedVariable()
    {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(ProgramPlaces, SideFilesBesideTheProgramOrInTheInstallsShareFolder)
{
    TempDir dir;
    // A build folder: the program and its side files together.
    std::filesystem::create_directories(dir.path() / "build/bin");
    writeFileText(dir.file("build/bin/wolfenstein.pal"), "");
    EXPECT_EQ(sideFilesFolder(dir.file("build/bin") + "/"), dir.file("build/bin") + "/");
    const ProgramPlaces build = programPlaces(dir.file("build/bin") + "/");
    EXPECT_EQ(build.sideFiles, dir.file("build/bin") + "/");
    EXPECT_EQ(build.ownFiles, dir.file("build/bin") + "/");

    // An install: <prefix>/bin and <prefix>/share/pagelark.
    std::filesystem::create_directories(dir.path() / "usr/bin");
    std::filesystem::create_directories(dir.path() / "usr/share/pagelark");
    writeFileText(dir.file("usr/share/pagelark/wolfenstein.pal"), "");
    EXPECT_EQ(sideFilesFolder(dir.file("usr/bin") + "/"), dir.file("usr/share/pagelark") + "/");

    // Neither: the program's folder, where the missing file is then reported.
    std::filesystem::create_directories(dir.path() / "bare/bin");
    EXPECT_EQ(sideFilesFolder(dir.file("bare/bin") + "/"), dir.file("bare/bin") + "/");
}

TEST(ProgramPlaces, UsersFolderFollowsTheBaseDirectoryRules)
{
    TempDir dir;
    const ScopedVariable home("HOME", dir.file("home"));
    {
        const ScopedVariable state("XDG_STATE_HOME", dir.file("state"));
        EXPECT_EQ(userFilesFolder(), dir.file("state/pagelark") + "/");
        const auto made = std::filesystem::status(dir.file("state/pagelark"));
        EXPECT_EQ(made.permissions() & std::filesystem::perms::all, std::filesystem::perms::owner_all);
    }
    // A relative setting is no setting: the default under HOME counts.
    const ScopedVariable relative("XDG_STATE_HOME", "state");
    EXPECT_EQ(userFilesFolder(), dir.file("home/.local/state/pagelark") + "/");
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("home/.local/state/pagelark")));
}

}  // namespace
}  // namespace pagelark
