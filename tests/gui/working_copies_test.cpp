#include "tests/gui/window_fixture.h"

#include <filesystem>
#include <utility>

namespace pagelark::testing {
namespace {

namespace fs = std::filesystem;

// A second instance of the program, started from the same folder.
class SharedFolderPlatform : public FakePlatform {
public:
    explicit SharedFolderPlatform(std::string folder) : folder_(std::move(folder)) {}
    std::string programDir() override { return folder_; }

private:
    std::string folder_;
};

class WorkingCopiesTest : public WindowTest {};

TEST_F(WorkingCopiesTest, StaleCopiesGoWhileCopiesOfRunningInstancesAndOtherFilesStay)
{
    SharedFolderPlatform otherPlatform(platform.dir.withSeparator());
    TForm1 otherInstance(otherPlatform);
    otherPlatform.answerOpen(userFile("VSWAP.SOD", twoWallVswap()));
    otherInstance.SpeedButton1->click();
    ASSERT_EQ(otherInstance.state().workingCopyFile.name(), workingCopy(0));

    // Left by runs that ended without closing their windows: copies with their marks.
    {
        WorkingCopyFile ended[2];
        ended[0].fill(platform.dir.withSeparator(), userFile("ENDED", {1}));
        ended[1].fill(platform.dir.withSeparator(), userFile("ENDED", sampleVswap()));
    }
    ASSERT_TRUE(fs::exists(workingCopy(2)) && fs::exists(workingCopy(2) + ".pagelark"));
    // Files the program cannot show it made: the user's, under names like a
    // copy's, one with the mark of another copy, a hard link, a folder, a link.
    for (const char* name : {"vswap", "vswapx", "vswap3.bak", "vswap7", "vswap007"})
        writeFileText(platform.dir.file(name), "the user's");
    fs::copy_file(workingCopy(1) + ".pagelark", platform.dir.file("vswap7.pagelark"));
    fs::create_directory(platform.dir.file("vswap4"));
    const std::string linkedTo = userFile("LINKED", {1, 2, 3});
    fs::create_symlink(linkedTo, platform.dir.file("vswap5"));
    fs::create_hard_link(linkedTo, platform.dir.file("vswap6"));

    // Opening the stale copy vswap2 itself spares it.
    openFile(workingCopy(2));

    EXPECT_TRUE(platform.errors.empty());
    EXPECT_EQ(form().state().workingCopyFile.name(), workingCopy(1));
    EXPECT_EQ(readFileBytes(workingCopy(1)), sampleVswap());
    EXPECT_EQ(listedChunks(), sampleLines());
    EXPECT_EQ(readFileBytes(workingCopy(2)), sampleVswap());
    EXPECT_EQ(readFileBytes(workingCopy(0)), twoWallVswap());
    for (const char* name : {"vswap", "vswapx", "vswap3.bak", "vswap7", "vswap007"})
        EXPECT_EQ(readFileText(platform.dir.file(name)), "the user's") << name;
    EXPECT_TRUE(fs::is_directory(platform.dir.file("vswap4")));
    EXPECT_TRUE(fs::is_symlink(platform.dir.file("vswap5")));
    EXPECT_EQ(readFileBytes(linkedTo), std::vector<std::uint8_t>({1, 2, 3}));
    EXPECT_EQ(readFileBytes(platform.dir.file("vswap6")), std::vector<std::uint8_t>({1, 2, 3}));
    // The copies the program makes are the user's alone.
    EXPECT_EQ(fs::status(workingCopy(1)).permissions(), fs::perms::owner_read | fs::perms::owner_write);

    // Each instance deletes its own copy, and only that, when its window closes.
    destroyForm();
    EXPECT_FALSE(fs::exists(workingCopy(1)));
    EXPECT_FALSE(fs::exists(workingCopy(1) + ".pagelark"));
    EXPECT_EQ(readFileBytes(workingCopy(0)), twoWallVswap());
    otherInstance.close();
    EXPECT_FALSE(fs::exists(workingCopy(0)));
    EXPECT_TRUE(otherPlatform.errors.empty());
}

TEST_F(WorkingCopiesTest, SymbolicLinkUnderAWorkingCopyNameIsNeverWrittenThrough)
{
    const std::string nowhere = userDir.file("REDIRECTED");
    fs::create_symlink(nowhere, workingCopy(0));
    openFile(userFile("VSWAP.WL6", sampleVswap()));

    EXPECT_TRUE(platform.errors.empty());
    EXPECT_FALSE(fs::exists(fs::symlink_status(nowhere)));
    EXPECT_TRUE(fs::is_symlink(workingCopy(0)));
    EXPECT_EQ(form().state().workingCopyFile.name(), workingCopy(1));
    EXPECT_EQ(readFileBytes(workingCopy(1)), sampleVswap());

    // The copy of the run put aside and a link to a file of the user's put in
    // its place: the next open neither writes to that file nor deletes the link.
    const std::string precious = userFile("PRECIOUS", {7, 7, 7});
    fs::rename(workingCopy(1), userDir.file("MOVED"));
    fs::create_symlink(precious, workingCopy(1));
    openFile(userFile("VSWAP.SOD", twoWallVswap()));

    EXPECT_TRUE(platform.errors.empty());
    EXPECT_EQ(readFileBytes(precious), std::vector<std::uint8_t>({7, 7, 7}));
    EXPECT_EQ(form().state().workingCopyFile.name(), workingCopy(2));
    EXPECT_EQ(readFileBytes(workingCopy(2)), twoWallVswap());
    EXPECT_EQ(listedChunks(), QStringList({"   0 wall      0", "   1 wall      1"}));

    destroyForm();
    EXPECT_FALSE(fs::exists(workingCopy(2)));
    EXPECT_TRUE(fs::is_symlink(workingCopy(0)));
    EXPECT_TRUE(fs::is_symlink(workingCopy(1)));
    EXPECT_EQ(readFileBytes(precious), std::vector<std::uint8_t>({7, 7, 7}));
    EXPECT_EQ(readFileBytes(userDir.file("MOVED")), sampleVswap());
}

}  // namespace
}  // namespace pagelark::testing
