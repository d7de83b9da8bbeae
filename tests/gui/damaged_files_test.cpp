// Damaged and unusual files in the window: nothing takes long, nothing is
// written where it would destroy a file the program reads.
#include "tests/gui/display_fixture.h"

#include <QListWidget>
#include <QToolButton>

#include <filesystem>
#include <sys/stat.h>

namespace pagelark::testing {
namespace {

class DamagedFilesTest : public DisplayTest {};

TEST_F(DamagedFilesTest, SpriteWhoseColumnListsNeverEndIsNoSpriteEvenInALargeFile)
{
    // Every column points at a list of commands that runs on to the end of
    // a file of several megabytes.
    tools::VswapWriter::Chunk endless;
    endless.bytes = {0, 0, 63, 0};
    for (int column = 0; column < 64; ++column)
        endless.bytes.insert(endless.bytes.end(), {132, 0});
    endless.bytes.resize(6 * 1024 * 1024, 0x02);
    endless.recordedLength = 4096;
    openFile(userFile("VSWAP.BAD", tools::VswapWriter().wall(chunkOf(4096, 1)).sprite(endless).build()));
    stopHeartbeat();
    clickRow(1);
    EXPECT_EQ(view().pixel(160, 160), windowColor());
    for (int tick = 0; tick < 3; ++tick)
        form().Timer1Timer();
    const auto preview = readFileBytes(platform.dir.file("pl.bmp"));
    EXPECT_EQ(std::count(preview.begin() + 1078, preview.end(), 255), 4096);
    EXPECT_TRUE(platform.errors.empty());
}

}  // namespace
}  // namespace pagelark::testing

namespace pagelark::testing {
namespace {

TEST_F(DamagedFilesTest, DevicesAndPipesAreRefusedAtOnceAndNothingIsCopied)
{
    const std::string pipe = userDir.file("VSWAP.PIPE");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& chosen : {pipe, std::string("/dev/zero")}) {
        openFile(chosen);
        EXPECT_EQ(platform.errors.back(), "Not a regular file: " + chosen);
    }
    EXPECT_EQ(platform.errors.size(), 2u);
    EXPECT_FALSE(std::filesystem::exists(workingCopy(0)));
}

TEST_F(DamagedFilesTest, SavingNeverWritesIntoTheChosenFileOrTheWorkingCopy)
{
    // The chosen file lies where its walls would be saved, and a link to the
    // working copy under a sound's name.
    std::filesystem::create_directory(userDir.path() / "out");
    const auto bytes = tools::VswapWriter()
                           .wall(chunkOf(4096, 1))
                           .wall(chunkOf(4096, 2))
                           .soundPage(chunkOf(100, 3))
                           .sound(0, 100)
                           .build();
    const std::string chosen = userFile("out/wall0000.bmp", bytes);
    openFile(chosen);
    stopHeartbeat();
    std::filesystem::create_symlink(workingCopy(0), userDir.file("out/sound0000.wav"));
    form().S1->trigger();
    platform.answerSave(userDir.file("out/-"));
    form().spgem->click();
    EXPECT_EQ(platform.errors, std::vector<std::string>{"Not written: " + chosen + " is the file being read"});
    EXPECT_EQ(readFileBytes(chosen), bytes);

    // The run stops at the refused file, as at any file that cannot be written.
    platform.answerSave(userDir.file("out/-"));
    form().ListBox1->item(0)->setSelected(false);
    form().spgem->click();
    EXPECT_EQ(platform.errors.back(), "Not written: " + userDir.file("out/sound0000.wav") + " is the file being read");
    EXPECT_EQ(readFileBytes(workingCopy(0)), bytes);
    EXPECT_TRUE(std::filesystem::exists(userDir.file("out/wall0001.bmp")));
}

}  // namespace
}  // namespace pagelark::testing
