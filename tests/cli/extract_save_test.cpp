#include "pictures/reference_tables.h"
#include "pictures/sprite_encoder.h"
#include "tests/cli/run_cli.h"
#include "tests/support/sample_vswap.h"
#include "tests/support/temp_dir.h"
#include "tests/support/vswap_writer.h"
#include "tools/picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace pagelark::testing {
namespace {

using tools::VswapWriter;
using Chunk = tools::VswapWriter::Chunk;

std::vector<std::string> filesIn(const std::string& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Byte of picture cell (x, y) in a written bitmap: rows bottom first.
std::uint8_t bitmapCell(const std::vector<std::uint8_t>& bitmap, int x, int y)
{
    return bitmap[1078 + static_cast<std::size_t>((63 - y) * 64 + x)];
}

// Two walls, a valid sprite, a sprite that does not decode, and a sound.
std::vector<std::uint8_t> smallVswap()
{
    VswapWriter writer;
    for (int w = 0; w < 2; ++w) {
        std::vector<std::uint8_t> wall(4096);
        for (std::size_t n = 0; n < wall.size(); ++n)
            wall[n] = static_cast<std::uint8_t>(n / 64 + 3 * w);  // column x holds x + 3w
        writer.wall({wall, false, {}});
    }
    tools::Picture picture;
    picture.fill(tools::Transparent);
    picture[tools::pictureCell(32, 10)] = 0xAA;
    writer.sprite({encodeSprite(tools::spriteGrid(picture)), false, {}});
    writer.sprite({{5, 0, 2, 0, 0, 0}, false, {}});  // first column above the last: refused
    writer.soundPage({std::vector<std::uint8_t>(50, 128), false, {}}).sound(0, 50);
    return writer.build();
}

TEST(ExtractSave, WritesEveryWallDecodableSpriteAndSound)
{
    TempDir dir;
    testing::writeFileBytes(dir.file("VSWAP.TST"), smallVswap());
    std::filesystem::create_directory(dir.file("out"));

    const CommandResult run = runCli({"save", dir.file("VSWAP.TST"), dir.file("out")});
    EXPECT_EQ(run.status, 0) << run.err;
    const std::string out = dir.file("out") + "/";
    EXPECT_EQ(run.out,
              out + "wall0000.bmp\n" + out + "wall0001.bmp\n" + out + "sprite0000.bmp\n" + out + "sound0000.wav\n" + out
                  + "vswap-layout.bin\n" + out
                  + "vswap-layout.txt\n4 files written, 1 sprite skipped (not a valid sprite)\n");
    // The sprite that does not decode keeps its bytes beside the layout file.
    EXPECT_EQ(filesIn(dir.file("out")),
              (std::vector<std::string>{"sound0000.wav", "sprite0000.bmp", "vswap-layout.bin", "vswap-layout.txt",
                                        "wall0000.bmp", "wall0001.bmp"}));

    const auto& reference = referenceBitmap();
    const auto wall1 = testing::readFileBytes(dir.file("out/wall0001.bmp"));
    ASSERT_EQ(wall1.size(), 5174u);
    EXPECT_TRUE(std::equal(reference.begin(), reference.begin() + 1078, wall1.begin()));
    EXPECT_EQ(bitmapCell(wall1, 0, 0), 3);
    EXPECT_EQ(bitmapCell(wall1, 40, 63), 43);

    // A sprite is saved without background: empty cells are 255.
    const auto sprite = testing::readFileBytes(dir.file("out/sprite0000.bmp"));
    ASSERT_EQ(sprite.size(), 5174u);
    EXPECT_EQ(bitmapCell(sprite, 32, 10), 0xAA);
    EXPECT_EQ(bitmapCell(sprite, 31, 10), 255);

    const auto sound = testing::readFileBytes(dir.file("out/sound0000.wav"));
    ASSERT_EQ(sound.size(), 94u);
    EXPECT_EQ(std::string(sound.begin(), sound.begin() + 4), "RIFF");
    EXPECT_EQ(sound[40], 50);
    EXPECT_EQ(std::count(sound.begin() + 44, sound.end(), 128), 50);
}

TEST(ExtractSave, ChosenIndicesInListOrderWithAPrefix)
{
    TempDir dir;
    testing::writeFileBytes(dir.file("VSWAP.TST"), smallVswap());
    const CommandResult run
        = runCli({"save", "--prefix", "pre", dir.file("VSWAP.TST"), dir.path().string(), "2", "1", "2"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, dir.file("prewall0001.bmp") + "\n" + dir.file("presprite0000.bmp") + "\n2 files written\n");

    const CommandResult unlisted = runCli({"save", dir.file("VSWAP.TST"), dir.path().string(), "5"});
    EXPECT_EQ(unlisted.status, 1);
    EXPECT_EQ(unlisted.err, "pagelark-cli: " + dir.file("VSWAP.TST") + ": chunk 5 is not in the chunk list\n");
}

TEST(ExtractSave, AMissingOutputFolderIsMadeButNotTheFoldersAboveIt)
{
    TempDir dir;
    testing::writeFileBytes(dir.file("VSWAP.TST"), smallVswap());
    const CommandResult made = runCli({"save", dir.file("VSWAP.TST"), dir.file("new")});
    EXPECT_EQ(made.status, 0) << made.err;
    EXPECT_TRUE(std::filesystem::exists(dir.file("new/wall0000.bmp")));

    const CommandResult deeper = runCli({"save", dir.file("VSWAP.TST"), dir.file("no/such")});
    EXPECT_EQ(deeper.status, 1);
    EXPECT_EQ(deeper.err, "pagelark-cli: " + dir.file("no/such")
                              + ": no such folder, nor the folder it would be made in: save makes the output folder, "
                                "not the folders above it\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("no")));

    // A file's name taken by a folder is said to be one.
    std::filesystem::create_directory(dir.file("taken"));
    std::filesystem::create_directory(dir.file("taken/wall0000.bmp"));
    const CommandResult folder = runCli({"save", dir.file("VSWAP.TST"), dir.file("taken"), "0"});
    EXPECT_EQ(folder.status, 1);
    EXPECT_EQ(folder.err, "pagelark-cli: " + dir.file("taken/wall0000.bmp") + ": that name is a folder\n");
}

TEST(ExtractSave, FullSizeFileGivesAFileForEveryChunkByteForByte)
{
    TempDir dir;
    testing::writeFileBytes(dir.file("VSWAP.WL6"), testing::fullSizeVswap());
    std::filesystem::create_directory(dir.file("out"));
    const CommandResult run = runCli({"save", dir.file("VSWAP.WL6"), dir.file("out")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("588 files written\n"), std::string::npos);
    const auto files = filesIn(dir.file("out"));
    const auto startingWith = [&](const std::string& word) {
        return std::count_if(files.begin(), files.end(),
                             [&](const std::string& name) { return name.rfind(word, 0) == 0; });
    };
    EXPECT_EQ(startingWith("wall"), testing::FullSizeWalls);
    EXPECT_EQ(startingWith("sprite"), testing::FullSizeSprites);
    EXPECT_EQ(startingWith("sound"), testing::FullSizeSounds);

    const auto wall = testing::readFileBytes(dir.file("out/wall0105.bmp"));
    EXPECT_EQ(bitmapCell(wall, 1, 2), (105 + 64 + 2) % 256);
    const auto sprite = testing::readFileBytes(dir.file("out/sprite0435.bmp"));
    ASSERT_EQ(sprite.size(), 5174u);
    EXPECT_EQ(bitmapCell(sprite, 435 % 60 + 2, 15), 435 % 255);
    EXPECT_EQ(std::count(sprite.begin() + 1078, sprite.end(), 255), 4096 - 11);

    // Sound k runs over its pages of 4096 bytes, every byte in its place.
    for (int k = 0; k < testing::FullSizeSounds; ++k) {
        const auto sound = testing::readFileBytes(
            dir.file("out/sound" + std::string(k < 10 ? "000" : "00") + std::to_string(k) + ".wav"));
        ASSERT_EQ(sound.size(), 44u + testing::fullSizeSoundLength(k)) << k;
        for (std::size_t n = 0; n + 44 < sound.size(); ++n)
            ASSERT_EQ(sound[44 + n], testing::fullSizeSoundByte(k, n)) << "sound " << k << " byte " << n;
    }
}

TEST(ExtractSave, UnreadableChunksAreNamedAndAllTheOthersSaved)
{
    TempDir dir;
    // A wall; a sprite whose column lists never end, in a file of several
    // megabytes; a good sprite; a sprite whose commands lie beyond the end of
    // the file; and a sound that runs past the end of the file.
    Chunk beyond{{0, 0, 1, 0, 0x00, 0x10, 0x00, 0x10}, false, {}};
    Chunk endless{{0, 0, 63, 0}, false, {}};
    for (int column = 0; column < 64; ++column)
        endless.bytes.insert(endless.bytes.end(), {132, 0});
    endless.bytes.resize(4 * 1024 * 1024, 0x02);
    endless.recordedLength = 4096;  // the table has 16 bits for it
    tools::Picture picture;
    picture.fill(tools::Transparent);
    picture[tools::pictureCell(3, 3)] = 9;
    const auto bytes = VswapWriter()
                           .wall({std::vector<std::uint8_t>(4096, 1), false, {}})
                           .sprite(endless)
                           .sprite({encodeSprite(tools::spriteGrid(picture)), false, {}})
                           .sprite(beyond)
                           .soundPage({std::vector<std::uint8_t>(30, 7), false, {}})
                           .sound(0, 60000)
                           .build();
    testing::writeFileBytes(dir.file("VSWAP.BAD"), bytes);
    std::filesystem::create_directory(dir.file("out"));
    const CommandResult run = runCli({"save", dir.file("VSWAP.BAD"), dir.file("out")});
    EXPECT_EQ(run.status, 1);
    const std::string input = "pagelark-cli: " + dir.file("VSWAP.BAD");
    EXPECT_EQ(run.err,
              input + ": chunk 3 (sprite0002.bmp): Read beyond end of file\n" + input
                  + ": chunk 4 (sound0000.wav): Read beyond end of file\n");
    EXPECT_NE(run.out.find("2 files written, 1 sprite skipped (not a valid sprite), 2 chunks not saved\n"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(filesIn(dir.file("out")),
              (std::vector<std::string>{"sprite0001.bmp", "vswap-layout.bin", "vswap-layout.txt", "wall0000.bmp"}));
}

TEST(ExtractSave, NeverWritesIntoTheFileItReads)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("out"));
    const auto bytes = smallVswap();
    // The input under an output name, and links to it under two others.
    testing::writeFileBytes(dir.file("out/wall0000.bmp"), bytes);
    std::filesystem::create_symlink(dir.file("out/wall0000.bmp"), dir.file("out/wall0001.bmp"));
    std::filesystem::create_hard_link(dir.file("out/wall0000.bmp"), dir.file("out/sprite0000.bmp"));

    const CommandResult run = runCli({"save", dir.file("out/wall0000.bmp"), dir.file("out")});
    EXPECT_EQ(run.status, 1);
    for (const char* name : {"wall0000.bmp", "wall0001.bmp", "sprite0000.bmp"})
        EXPECT_NE(run.err.find("pagelark-cli: Not written: " + dir.file("out/") + name + " is the file being read\n"),
                  std::string::npos)
            << name;
    EXPECT_EQ(testing::readFileBytes(dir.file("out/wall0000.bmp")), bytes);
    // The sound is saved all the same.
    EXPECT_TRUE(std::filesystem::exists(dir.file("out/sound0000.wav")));
}

TEST(ExtractSave, DevicesAndPipesAreRefusedAtOnce)
{
    TempDir dir;
    const std::string pipe = dir.file("VSWAP.PIPE");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& input : {pipe, std::string("/dev/zero")}) {
        const CommandResult run = runCli({"save", input, dir.path().string()});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "pagelark-cli: " + input + ": Not a regular file: " + input + "\n");
    }
}

}  // namespace
}  // namespace pagelark::testing
