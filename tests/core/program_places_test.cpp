#include "archive/program_places.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace pagelark::testing {
namespace {

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
        EXPECT_EQ(userFilesPlaces().ownFiles, dir.file("state/pagelark") + "/");
        const auto made = std::filesystem::status(dir.file("state/pagelark"));
        EXPECT_EQ(made.permissions() & std::filesystem::perms::all, std::filesystem::perms::owner_all);
    }
    // A relative setting is no setting: the default under HOME counts.
    const ScopedVariable relative("XDG_STATE_HOME", "state");
    EXPECT_EQ(userFilesPlaces().ownFiles, dir.file("home/.local/state/pagelark") + "/");
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("home/.local/state/pagelark")));

    // Without HOME, the home the password database gives, never the current folder.
    ::unsetenv("HOME");
    const std::string ownFiles = userFilesPlaces().ownFiles;
    EXPECT_EQ(ownFiles.front(), '/');
    EXPECT_EQ(ownFiles.find(std::filesystem::current_path().string() + "/.local"), std::string::npos);
}

TEST(ProgramPlaces, AnInstalledProgramKeepsItsFilesInTheStateFolderEvenWhereItCouldWrite)
{
    TempDir dir;
    const ScopedVariable state("XDG_STATE_HOME", dir.file("state"));
    std::filesystem::create_directories(dir.path() / "usr/bin");
    std::filesystem::create_directories(dir.path() / "usr/share/pagelark");
    writeFileText(dir.file("usr/share/pagelark/wolfenstein.pal"), "");
    const ProgramPlaces installed = programPlaces(dir.file("usr/bin") + "/");
    EXPECT_EQ(installed.ownFiles, dir.file("state/pagelark") + "/");
    EXPECT_TRUE(installed.notice.empty());

    // A build folder other users can write to is not used either, and the user is told.
    std::filesystem::create_directories(dir.path() / "build/bin");
    writeFileText(dir.file("build/bin/wolfenstein.pal"), "");
    std::filesystem::permissions(dir.file("build/bin"), std::filesystem::perms::all);
    const ProgramPlaces shared = programPlaces(dir.file("build/bin") + "/");
    EXPECT_EQ(shared.sideFiles, dir.file("build/bin") + "/");
    EXPECT_EQ(shared.ownFiles, dir.file("state/pagelark") + "/");
    EXPECT_NE(shared.notice.find("other users can change"), std::string::npos) << shared.notice;
}

// Another user's state folder, or one planted where others can write, is
// never used: the files go to a private folder made for the run, and the
// user learns why.
TEST(ProgramPlaces, AStateFolderOthersControlIsNotUsed)
{
    struct Case {
        const char* why;
        std::function<void(const std::filesystem::path& own)> plant;
        bool needsRoot;
    };
    const std::vector<Case> cases = {
        {"other users can write to it",
         [](const std::filesystem::path& own) {
             std::filesystem::create_directory(own);
             std::filesystem::permissions(own, std::filesystem::perms::all);
         },
         false},
        {"it is a link",
         [](const std::filesystem::path& own) { std::filesystem::create_directory_symlink("/tmp", own); }, false},
        {"other users can replace it",
         [](const std::filesystem::path& own) {
             std::filesystem::permissions(own.parent_path(), std::filesystem::perms::all);
         },
         false},
        {"it belongs to another user",
         [](const std::filesystem::path& own) {
             std::filesystem::create_directory(own);
             std::filesystem::permissions(own, std::filesystem::perms::owner_all);
             ASSERT_EQ(::chown(own.c_str(), 65534, 65534), 0);
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        if (c.needsRoot && ::geteuid() != 0)
            continue;  // only root can give a folder to another user
        TempDir dir;
        std::filesystem::create_directory(dir.path() / "state");
        const ScopedVariable state("XDG_STATE_HOME", dir.file("state"));
        c.plant(dir.path() / "state" / "pagelark");

        const ProgramPlaces places = userFilesPlaces();
        EXPECT_NE(places.notice.find(c.why), std::string::npos) << places.notice;
        ASSERT_TRUE(places.ownFilesForThisRun);
        struct stat own {};
        ASSERT_EQ(::lstat(places.ownFiles.c_str(), &own), 0);
        EXPECT_TRUE(S_ISDIR(own.st_mode));
        EXPECT_EQ(own.st_uid, ::geteuid());
        EXPECT_EQ(own.st_mode & 0777, 0700u);
        std::filesystem::remove(places.ownFiles);
    }
}

}  // namespace
}  // namespace pagelark::testing
