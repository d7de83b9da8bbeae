// Damaged and unusual files in the window: nothing takes long, nothing is
// written where it would destroy a file the program reads.
#include "tests/gui/display_fixture.h"

#include <filesystem>

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
