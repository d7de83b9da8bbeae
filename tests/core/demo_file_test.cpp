#include "tools/demo_sounds.h"
#include "tools/demo_sprites.h"
#include "tools/demo_vswap.h"
#include "tools/demo_walls.h"

#include "archive/byte_file.h"
#include "archive/chunk_table.h"
#include "pictures/decoders.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace pagelark::tools {
namespace {

using pagelark::testing::TempDir;

constexpr int SoundPages = 3;  // the chirp on one page, the beep on two

class DemoFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        bytes_ = buildDemoVswap();
        pagelark::testing::writeFileBytes(dir_.file("VSWAP.DMO"), bytes_);
        file_.openRead(dir_.file("VSWAP.DMO"));
        readChunkTable(file_, header_, table_);
    }

    PixelGrid wallAt(int index)
    {
        PixelGrid grid{};
        decodeWall(file_, table_.offset[static_cast<std::size_t>(index)], grid);
        return grid;
    }

    // The sprite's picture, with 255 where it is transparent; fails the test
    // when the decoder refuses the chunk.
    PixelGrid spriteAt(int spriteNumber)
    {
        PixelGrid grid{};
        const std::size_t index = static_cast<std::size_t>(header_.spriteStart + spriteNumber);
        EXPECT_TRUE(decodeSprite(file_, table_.offset[index], std::nullopt, grid)) << "sprite " << spriteNumber;
        return grid;
    }

    std::vector<std::uint8_t> bytes_;
    TempDir dir_;
    ByteFile file_;
    VswapHeader header_;
    ChunkTable table_;
};

PixelGrid asGrid(const Picture& picture)
{
    PixelGrid grid{};
    for (std::size_t i = 0; i < grid.size(); ++i)
        grid[i] = picture[i] == Transparent ? EmptyIndex : static_cast<std::uint8_t>(picture[i]);
    return grid;
}

TEST_F(DemoFile, ListsEveryWallSpriteAndSound)
{
    EXPECT_EQ(header_.spriteStart, demo::WallCount);
    EXPECT_EQ(header_.soundStart, demo::WallCount + demo::SpriteCount);
    EXPECT_EQ(header_.chunkCount, header_.soundStart + SoundPages + 1);
    EXPECT_LT(bytes_.size(), 200u * 1024);

    for (int i = 0; i < header_.soundStart; ++i) {
        EXPECT_TRUE(table_.isListed(i)) << "chunk " << i;
        EXPECT_EQ(table_.itemNumber[static_cast<std::size_t>(i)],
                  i < header_.spriteStart ? i : i - header_.spriteStart);
    }
    const auto sound = [&](int page) { return static_cast<std::size_t>(header_.soundStart + page); };
    EXPECT_EQ(table_.itemNumber[sound(0)], demo::Chirp);
    EXPECT_EQ(table_.length[sound(0)], static_cast<std::int32_t>(chirpSound().size()));
    EXPECT_EQ(table_.itemNumber[sound(1)], demo::Beep);
    EXPECT_EQ(table_.length[sound(1)], static_cast<std::int32_t>(twoToneBeep().size()));
    EXPECT_FALSE(table_.isListed(header_.soundStart + 2)) << "the beep's second page";
    EXPECT_FALSE(table_.isListed(header_.chunkCount - 1)) << "the sound information";
}

TEST_F(DemoFile, WallsAndSpritesDecodeToThePicturesDrawn)
{
    const std::vector<Picture> walls = demoWalls();
    ASSERT_EQ(static_cast<int>(walls.size()), header_.spriteStart);
    for (int i = 0; i < header_.spriteStart; ++i)
        EXPECT_EQ(wallAt(i), asGrid(walls[static_cast<std::size_t>(i)])) << "wall " << i;
    EXPECT_EQ(wallAt(header_.spriteStart - 2), asGrid(doorLeaf()));
    EXPECT_EQ(wallAt(header_.spriteStart - 1), asGrid(doorJamb()));

    const std::vector<Picture> sprites = demoSprites();
    ASSERT_EQ(static_cast<int>(sprites.size()), header_.soundStart - header_.spriteStart);
    for (int n = 0; n < demo::SpriteCount; ++n)
        EXPECT_EQ(spriteAt(n), asGrid(sprites[static_cast<std::size_t>(n)])) << "sprite " << n;
    EXPECT_EQ(spriteAt(demo::Lark), asGrid(lark()));
    EXPECT_EQ(spriteAt(demo::Barrel), asGrid(barrel()));
    EXPECT_EQ(spriteAt(demo::Lamp), asGrid(ceilingLamp()));
}

TEST_F(DemoFile, AnimationsHaveTheirFramesWhereTheAnimationLooksForThem)
{
    // Two frames side by side that differ: a blink.
    EXPECT_EQ(demo::GhostEyesShut, demo::GhostEyesOpen + 1);
    EXPECT_EQ(spriteAt(demo::GhostEyesOpen), asGrid(ghost(true)));
    EXPECT_EQ(spriteAt(demo::GhostEyesShut), asGrid(ghost(false)));
    EXPECT_NE(ghost(true), ghost(false));

    // Four steps eight chunks apart, all 32 chunks of the block before the first sound.
    const int firstFrame = header_.spriteStart + demo::WalkerFirst;
    EXPECT_LT(firstFrame + 32 - 1, header_.soundStart);
    for (int direction = 0; direction < WalkerDirections; ++direction) {
        for (int step = 0; step < WalkerSteps; ++step)
            EXPECT_EQ(spriteAt(demo::WalkerFirst + 8 * step + direction), asGrid(walker(direction, step)))
                << "direction " << direction << " step " << step;
    }
    for (int step = 1; step < WalkerSteps; ++step)
        EXPECT_NE(walker(0, step), walker(0, step - 1)) << "the figure moves between steps";
}

TEST_F(DemoFile, SoundsRunOnOverTheirPagesForTheirWholeLength)
{
    // The table gives each sound's first page the whole sound's length.
    const auto soundFrom = [&](int page) {
        const std::size_t index = static_cast<std::size_t>(header_.soundStart + page);
        const auto start = static_cast<std::size_t>(table_.offset[index]);
        const auto end = start + static_cast<std::size_t>(table_.length[index]);
        EXPECT_LE(end, bytes_.size());
        return std::vector<std::uint8_t>(bytes_.begin() + static_cast<std::ptrdiff_t>(start),
                                         bytes_.begin() + static_cast<std::ptrdiff_t>(std::min(end, bytes_.size())));
    };
    const std::vector<std::uint8_t> chirp = soundFrom(0);
    const std::vector<std::uint8_t> beep = soundFrom(1);
    EXPECT_EQ(chirp, chirpSound());
    EXPECT_EQ(beep, twoToneBeep());
    EXPECT_GT(beep.size(), static_cast<std::size_t>(demo::SoundPageSize)) << "the beep spans two pages";
    EXPECT_EQ(table_.offset[static_cast<std::size_t>(header_.soundStart + 2)],
              table_.offset[static_cast<std::size_t>(header_.soundStart + 1)] + demo::SoundPageSize);

    EXPECT_NEAR(static_cast<double>(chirp.size()) / DemoSampleRate, 0.4, 0.01);
    EXPECT_NEAR(static_cast<double>(beep.size()) / DemoSampleRate, 0.8, 0.01);
}

TEST_F(DemoFile, TheFileBesideTheProgramIsTheOneBuilt)
{
    const std::string built = PAGELARK_BIN_DIR "/VSWAP.DMO";
    if (!std::filesystem::exists(built))
        GTEST_SKIP() << built << " has not been written in this build";
    EXPECT_EQ(pagelark::testing::readFileBytes(built), bytes_);
}

}  // namespace
}  // namespace pagelark::tools
