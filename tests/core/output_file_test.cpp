#include "archive/output_file.h"
#include "archive/run_error.h"
#include "tests/support/commit_steps.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pagelark::testing {
namespace {

namespace fs = std::filesystem;

const std::vector<std::uint8_t> NewBytes{1, 2, 3, 4};
const std::vector<std::uint8_t> OldBytes{9, 9};

std::vector<std::string> namesIn(const TempDir& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

FileIdentity identityOfFile(const std::string& path) { return *identityOf(path); }

// Whatever a hostile user plants under the target's name, or swaps in just
// before the rename, the files it leads to keep their bytes.
TEST(OutputFile, NeverWritesThroughWhatIsPlantedUnderItsName)
{
    struct Case {
        const char* what;
        // Plants something under out's name before writing or just before the rename.
        std::function<void(const TempDir&, const std::string& victim)> plant;
        bool justBeforeRename;
    };
    const std::vector<Case> cases = {
        {"a link to another file", [](const TempDir& d, const std::string& v) { fs::create_symlink(v, d.file("out")); },
         false},
        {"a hard link to another file",
         [](const TempDir& d, const std::string& v) { fs::create_hard_link(v, d.file("out")); }, false},
        {"a link swapped in at the last moment",
         [](const TempDir& d, const std::string& v) { fs::create_symlink(v, d.file("out")); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        TempDir elsewhere;
        const std::string victim = elsewhere.file("victim");
        writeFileBytes(victim, OldBytes);
        if (c.justBeforeRename) {
            static std::function<void()> swap;
            swap = [&] { c.plant(dir, victim); };
            output_file_testing::beforeRename = [](const std::string&) { swap(); };
        } else {
            c.plant(dir, victim);
        }
        writeFileSafely(dir.file("out"), NewBytes);
        output_file_testing::beforeRename = nullptr;

        EXPECT_EQ(readFileBytes(victim), OldBytes);
        EXPECT_FALSE(fs::is_symlink(dir.file("out")));
        EXPECT_EQ(readFileBytes(dir.file("out")), NewBytes);
        EXPECT_EQ(namesIn(dir), std::vector<std::string>{"out"});
    }
}

TEST(OutputFile, TheFileBeingReadIsRefusedUnderAnyNameAndStaysAsItWas)
{
    TempDir dir;
    const std::string input = dir.file("VSWAP.WL6");
    writeFileBytes(input, OldBytes);
    fs::create_symlink(input, dir.file("link"));
    fs::create_hard_link(input, dir.file("second"));
    for (const char* name : {"VSWAP.WL6", "link", "second"}) {
        SCOPED_TRACE(name);
        try {
            writeFileSafely(dir.file(name), NewBytes, {identityOfFile(input)});
            ADD_FAILURE() << "written";
        } catch (const RunError& error) {
            EXPECT_EQ(error.text(), "Not written: " + dir.file(name) + " is the file being read");
        }
        EXPECT_EQ(readFileBytes(input), OldBytes);
    }
    EXPECT_EQ(namesIn(dir), (std::vector<std::string>{"VSWAP.WL6", "link", "second"}));
}

TEST(OutputFile, AnOutputNotCommittedLeavesTheOldFileAndNoTrace)
{
    TempDir dir;
    writeFileBytes(dir.file("out"), OldBytes);
    {
        OutputFile out(dir.file("out"));
        out.write(NewBytes);
    }
    EXPECT_EQ(readFileBytes(dir.file("out")), OldBytes);
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{"out"});
}

TEST(OutputFile, AFailedWriteLeavesTheOldFileAndNoTrace)
{
    TempDir dir;
    writeFileBytes(dir.file("out"), OldBytes);
    // A child whose files may not grow past one block: the write fails as on a full disk.
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{512, 512};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        try {
            writeFileSafely(dir.file("out"), std::vector<std::uint8_t>(4096, 7));
        } catch (const RunError&) {
            ::_exit(1);
        }
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1);
    EXPECT_EQ(readFileBytes(dir.file("out")), OldBytes);
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{"out"});
}

TEST(OutputFile, ATerminatingSignalMidWriteRemovesTheUnfinishedFile)
{
    TempDir dir;
    const pid_t child = ::fork();
    if (child == 0) {
        removeUnfinishedOutputsOnSignals();
        OutputFile out(dir.file("out"));
        out.write(NewBytes);
        ::raise(SIGTERM);
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_TRUE(namesIn(dir).empty());
}

TEST(OutputFile, FoldersOthersCanChangeAndTargetsThatAreNoFiles)
{
    TempDir dir;
    fs::create_directory(dir.file("shared"));
    fs::permissions(dir.file("shared"), fs::perms::all);
    fs::create_directory(dir.file("sticky"));
    fs::permissions(dir.file("sticky"), fs::perms::all | fs::perms::sticky_bit);
    fs::create_directory(dir.file("folder"));
    ::mkfifo(dir.file("pipe").c_str(), 0600);

    const std::vector<std::pair<std::string, std::string>> refusals = {
        {dir.file("shared/out"), "Not written: " + dir.file("shared") + " is a folder other users can change"},
        {dir.file("pipe"), "Not a regular file: " + dir.file("pipe")},
        {dir.file("folder"), "File access denied"},
        {dir.file("missing/out"), "Invalid filename"},
        {dir.file("out/"), "Invalid filename"},
    };
    for (const auto& [path, text] : refusals) {
        SCOPED_TRACE(path);
        try {
            writeFileSafely(path, NewBytes);
            ADD_FAILURE() << "written";
        } catch (const RunError& error) {
            EXPECT_EQ(error.text(), text);
        }
    }
    writeFileSafely(dir.file("sticky/out"), NewBytes);
    EXPECT_EQ(readFileBytes(dir.file("sticky/out")), NewBytes);
}

TEST(OutputFile, PrivateFilesAreTheUsersAloneAndReplacedFilesKeepTheirMode)
{
    TempDir dir;
    writeFileSafely(dir.file("pl.bmp"), NewBytes, {}, OutputAccess::Private);
    EXPECT_EQ(fs::status(dir.file("pl.bmp")).permissions(), fs::perms::owner_read | fs::perms::owner_write);

    writeFileBytes(dir.file("kept"), OldBytes);
    fs::permissions(dir.file("kept"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    writeFileSafely(dir.file("kept"), NewBytes);
    EXPECT_EQ(fs::status(dir.file("kept")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// A page file reaches the disk before it replaces the old one, so that after
// a crash the name holds one of the two whole; the small files of a save do
// not wait for the disk.
TEST(OutputFile, OnlyAFlushedOutputIsFlushedAndThatBeforeItsRename)
{
    const std::vector<std::pair<OutputDurability, std::vector<std::string>>> cases = {
        {OutputDurability::Flushed, {"flushed", "renamed"}},
        {OutputDurability::Ordinary, {"renamed"}},
    };
    for (const auto& [durability, steps] : cases) {
        TempDir dir;
        const CommitSteps seen;
        writeFileSafely(dir.file("out"), NewBytes, {}, OutputAccess::Shared, durability);
        EXPECT_EQ(seen.of(dir.file("out")), steps)
            << (durability == OutputDurability::Flushed ? "flushed" : "ordinary");
    }
}

// The names OutputFile gives its temporary files are known as such; names
// a user may well give a file are not.
TEST(OutputFile, TemporaryNamesAreKnownAsSuch)
{
    TempDir dir;
    OutputFile out(dir.file("VSWAP.WL6"));
    ASSERT_EQ(namesIn(dir).size(), 1u);
    EXPECT_TRUE(isTemporaryOutputName(namesIn(dir)[0])) << namesIn(dir)[0];
    for (const char* name : {"VSWAP.WL6.pagelark-a1b2c3d4", ".notes.pagelark-2024", ".VSWAP.WL6.pagelark-A1B2C3D4"})
        EXPECT_FALSE(isTemporaryOutputName(name)) << name;
}

}  // namespace
}  // namespace pagelark::testing
