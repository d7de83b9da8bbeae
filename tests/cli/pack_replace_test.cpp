// Page files written back: pack of a saved folder and replace of chunks.
#include "archive/byte_file.h"
#include "archive/page_file.h"
#include "pictures/game_palette.h"
#include "pictures/sprite_encoder.h"
#include "sounds/wav_writer.h"
#include "tests/cli/run_cli.h"
#include "tests/support/odd_page_files.h"
#include "tests/support/sample_vswap.h"
#include "tests/support/temp_dir.h"
#include "tests/support/vswap_writer.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace pagelark::testing {
namespace {

namespace fs = std::filesystem;
using tools::VswapWriter;
using Bytes = std::vector<std::uint8_t>;

// Every chunk's bytes and every sound entry of a page file.
struct Contents {
    std::vector<Bytes> chunks;
    std::vector<SoundEntry> sounds;
};

Contents contentsOf(const std::string& path)
{
    ByteFile file;
    file.openRead(path);
    const PageFile model = readPageFile(file);
    Contents contents{{}, model.sounds};
    for (const PageChunk& chunk : model.chunks) {
        Bytes bytes(chunk.source ? chunk.source->length : 0);
        if (chunk.source) {
            file.seek(chunk.source->offset);
            file.readBytes(bytes.data(), bytes.size());
        }
        contents.chunks.push_back(bytes);
    }
    return contents;
}

void saveAndPackGivesTheSameBytes(const Bytes& original, const std::vector<std::string>& saveOptions)
{
    TempDir dir;
    writeFileBytes(dir.file("VSWAP.WL6"), original);
    fs::create_directory(dir.file("out"));
    std::vector<std::string> save{"save"};
    save.insert(save.end(), saveOptions.begin(), saveOptions.end());
    save.insert(save.end(), {dir.file("VSWAP.WL6"), dir.file("out")});
    const CommandResult saved = runCli(save);
    ASSERT_EQ(saved.status, 0) << saved.err;
    const CommandResult packed = runCli({"pack", dir.file("out"), dir.file("PACKED.WL6")});
    ASSERT_EQ(packed.status, 0) << packed.err;
    EXPECT_TRUE(readFileBytes(dir.file("PACKED.WL6")) == original);
}

Bytes chunkOfBytes(std::size_t size, std::uint8_t value) { return Bytes(size, value); }

TEST(PackAndReplace, SavingEveryChunkAndPackingTheFolderGivesBackTheFileByteForByte)
{
    for (const auto& options : std::vector<std::vector<std::string>>{{}, {"--format", "png"}}) {
        SCOPED_TRACE(options.empty() ? "bmp" : "png");
        saveAndPackGivesTheSameBytes(readFileBytes(PAGELARK_BIN_DIR "/VSWAP.DMO"), options);
        saveAndPackGivesTheSameBytes(testing::fullSizeVswap(), options);
    }
    // What no picture gives back: an absent wall with a length, a wall of one
    // byte and a shorter wall, a sprite laid out unlike the games', one that
    // does not decode, and a sound information that ends with zeros.
    PixelGrid dot;
    dot.fill(EmptyIndex);
    dot[gridCell(5, 5)] = 7;
    Bytes unusual = encodeSprite(dot);
    unusual.push_back(0xEE);
    const Bytes odd = VswapWriter()
                          .wall({chunkOfBytes(4096, 3), false, {}})
                          .wall({{}, true, 77})
                          .wall({{9}, false, {}})
                          .wall({chunkOfBytes(300, 4), false, {}})
                          .sprite({unusual, false, {}})
                          .sprite({{5, 0, 2, 0, 0, 0}, false, {}})
                          .soundPage({chunkOfBytes(10, 128), false, {}})
                          .sound(0, 10)
                          .terminateSoundInfo(true)
                          .build();
    saveAndPackGivesTheSameBytes(odd, {});
    for (const testing::OddPageFile& shape : testing::oddPageFiles()) {
        SCOPED_TRACE(shape.name);
        saveAndPackGivesTheSameBytes(shape.bytes, {});
    }
}

// Only the chunks replaced change, and what had to move for them: the bytes
// between and after the chunks stay, and so does the sound table while no
// sound changes its length or place.
TEST(PackAndReplace, ReplacingKeepsEveryByteOutsideTheChunksReplaced)
{
    for (const testing::OddPageFile& shape : testing::oddPageFiles()) {
        SCOPED_TRACE(shape.name);
        TempDir dir;
        writeFileBytes(dir.file("VSWAP.WL6"), shape.bytes);
        ASSERT_EQ(runCli({"save", dir.file("VSWAP.WL6"), dir.file("out")}).status, 0);
        std::vector<std::string> replace{"replace", dir.file("VSWAP.WL6"), dir.file("SAME.WL6"),
                                         "0=" + dir.file("out/wall0000.bmp")};
        if (fs::exists(dir.file("out/sound0000.wav")))
            replace.push_back(std::to_string(readFileBytes(dir.file("VSWAP.WL6"))[4]) + "="
                              + dir.file("out/sound0000.wav"));
        const CommandResult same = runCli(replace);
        ASSERT_EQ(same.status, 0) << same.err;
        EXPECT_TRUE(readFileBytes(dir.file("SAME.WL6")) == shape.bytes);
    }

    // A sprite that grows moves what follows it in the file, bytes between included.
    const Bytes original = testing::otherToolsVswap();
    TempDir dir;
    writeFileBytes(dir.file("VSWAP.WL6"), original);
    PixelGrid bar;
    bar.fill(EmptyIndex);
    for (int y = 0; y < 64; ++y)
        bar[gridCell(5, y)] = 0xAA;
    QImage picture(64, 64, QImage::Format_ARGB32);
    picture.fill(qRgba(0, 0, 0, 0));
    const RgbColor colour = gamePalette()[0xAA];
    for (int y = 0; y < 64; ++y)
        picture.setPixel(5, y, qRgb(colour.red, colour.green, colour.blue));
    ASSERT_TRUE(picture.save(QString::fromStdString(dir.file("bar.png"))));
    const CommandResult grown
        = runCli({"replace", dir.file("VSWAP.WL6"), dir.file("GROWN.WL6"), "2=" + dir.file("bar.png")});
    ASSERT_EQ(grown.status, 0) << grown.err;
    const Bytes out = readFileBytes(dir.file("GROWN.WL6"));
    const Bytes sprite = encodeSprite(bar);
    const std::size_t at = 6 + 6 * 8 + 2 * 4096;  // after the table and the two walls
    const std::size_t grownBy = sprite.size() - 15;
    ASSERT_EQ(out.size(), original.size() + grownBy);
    EXPECT_TRUE(Bytes(out.begin() + 6 + 6 * 8, out.begin() + static_cast<std::ptrdiff_t>(at))
                == Bytes(original.begin() + 6 + 6 * 8, original.begin() + static_cast<std::ptrdiff_t>(at)));
    EXPECT_TRUE(Bytes(out.begin() + static_cast<std::ptrdiff_t>(at),
                      out.begin() + static_cast<std::ptrdiff_t>(at + sprite.size()))
                == sprite);
    EXPECT_TRUE(Bytes(out.begin() + static_cast<std::ptrdiff_t>(at + sprite.size()), out.end())
                == Bytes(original.begin() + static_cast<std::ptrdiff_t>(at + 15), original.end()));
}

// A truecolour picture of a wall that uses both indices of colours the
// palette holds twice, edited in one pixel.
TEST(PackAndReplace, ReplacingKeepsEveryOtherChunkAndTheIndicesOfUnchangedColours)
{
    Bytes wall(4096);
    for (std::size_t n = 0; n < wall.size(); ++n)
        wall[n] = (n % 2 == 0) ? 7 : 21;  // one colour, two indices
    PixelGrid small;
    small.fill(EmptyIndex);
    small[gridCell(30, 30)] = 40;
    PixelGrid large;
    for (std::size_t n = 0; n < large.size(); ++n)
        large[n] = (n % 64 < 48) ? static_cast<std::uint8_t>(n % 200) : EmptyIndex;
    Bytes longSound(4100);
    for (std::size_t n = 0; n < longSound.size(); ++n)
        longSound[n] = static_cast<std::uint8_t>(n * 3);
    const Bytes original = VswapWriter()
                               .wall({wall, false, {}})
                               .wall({chunkOfBytes(4096, 50), false, {}})
                               .sprite({encodeSprite(small), false, {}})
                               .sprite({encodeSprite(small), false, {}})
                               .soundPage({chunkOfBytes(3000, 100), false, {}})
                               .soundPage({chunkOfBytes(20, 120), false, {}})
                               .sound(0, 3000)
                               .sound(1, 20)
                               .terminateSoundInfo(false)
                               .build();
    TempDir dir;
    writeFileBytes(dir.file("VSWAP.WL6"), original);
    fs::create_directory(dir.file("out"));
    ASSERT_EQ(runCli({"save", "--format", "png", dir.file("VSWAP.WL6"), dir.file("out"), "0"}).status, 0);
    QImage truecolour
        = QImage(QString::fromStdString(dir.file("out/wall0000.png"))).convertToFormat(QImage::Format_RGB32);
    const RgbColor edit = gamePalette()[40];  // a colour no other index has
    truecolour.setPixel(10, 20, qRgb(edit.red, edit.green, edit.blue));
    ASSERT_TRUE(truecolour.save(QString::fromStdString(dir.file("edited.png"))));
    QImage grown(64, 64, QImage::Format_Indexed8);
    for (int i = 0; i < 256; ++i)  // the palette in use: the indices are taken as they are
        grown.setColor(i, qRgb(gamePalette()[i].red, gamePalette()[i].green, gamePalette()[i].blue));
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            grown.setPixel(x, y, large[gridCell(x, y)]);
    ASSERT_TRUE(grown.save(QString::fromStdString(dir.file("grown.png"))));
    writeFileBytes(dir.file("long.wav"), wavFileBytes(longSound));

    const CommandResult run
        = runCli({"replace", dir.file("VSWAP.WL6"), dir.file("NEW.WL6"), "0=" + dir.file("edited.png"),
                  "2=" + dir.file("grown.png"), "4=" + dir.file("long.wav")});
    ASSERT_EQ(run.status, 0) << run.err;
    const Contents before = contentsOf(dir.file("VSWAP.WL6"));
    const Contents after = contentsOf(dir.file("NEW.WL6"));
    ASSERT_EQ(after.chunks.size(), before.chunks.size() + 1);  // the sound gained a page

    Bytes editedWall = wall;
    editedWall[10 * 64 + 20] = 40;
    EXPECT_TRUE(after.chunks[0] == editedWall);
    EXPECT_TRUE(after.chunks[1] == before.chunks[1]);
    EXPECT_TRUE(after.chunks[2] == encodeSprite(large));
    EXPECT_GT(after.chunks[2].size(), 512u);  // grown past the slot it had
    EXPECT_TRUE(after.chunks[3] == before.chunks[3]);
    EXPECT_TRUE(after.chunks[4] == Bytes(longSound.begin(), longSound.begin() + 4096));
    EXPECT_TRUE(after.chunks[5] == Bytes(longSound.begin() + 4096, longSound.end()));
    EXPECT_TRUE(after.chunks[6] == before.chunks[5]);
    EXPECT_EQ(after.sounds, (std::vector<SoundEntry>{{0, 4100}, {2, 20}}));
    EXPECT_TRUE(readFileBytes(dir.file("VSWAP.WL6")) == original);

    // Packed, the same edit keeps the indices of the page file given as the base.
    fs::create_directory(dir.file("all"));
    ASSERT_EQ(runCli({"save", "--format", "png", dir.file("VSWAP.WL6"), dir.file("all")}).status, 0);
    fs::copy_file(dir.file("edited.png"), dir.file("all/wall0000.png"), fs::copy_options::overwrite_existing);
    for (const bool withBase : {true, false}) {
        std::vector<std::string> pack{"pack", dir.file("all"), dir.file("PACKED.WL6")};
        if (withBase)
            pack.insert(pack.begin() + 1, {"--base", dir.file("VSWAP.WL6")});
        ASSERT_EQ(runCli(pack).status, 0);
        EXPECT_EQ(contentsOf(dir.file("PACKED.WL6")).chunks[0] == editedWall, withBase);
    }
}

// A sprite whose column commands lie beyond the end of its file has no
// colours to keep, and is replaced as any other, as in the window.
TEST(PackAndReplace, ASpriteCutShortByTheEndOfItsFileIsReplacedAsAnyOther)
{
    TempDir dir;
    writeFileBytes(dir.file("CUT.WL6"),
                   VswapWriter()
                       .wall({chunkOfBytes(4096, 3), false, {}})
                       .sprite({{0, 0, 1, 0, 0xA0, 0x0F, 0xA0, 0x0F}, false, {}})
                       .soundPage({chunkOfBytes(300, 9), false, {}})
                       .sound(0, 300)
                       .build());
    PixelGrid dot;
    dot.fill(EmptyIndex);
    dot[gridCell(7, 7)] = 40;
    QImage picture(64, 64, QImage::Format_ARGB32);
    picture.fill(qRgba(0, 0, 0, 0));
    const RgbColor colour = gamePalette()[40];
    picture.setPixel(7, 7, qRgb(colour.red, colour.green, colour.blue));
    ASSERT_TRUE(picture.save(QString::fromStdString(dir.file("dot.png"))));
    const CommandResult run = runCli({"replace", dir.file("CUT.WL6"), dir.file("NEW.WL6"), "1=" + dir.file("dot.png")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(contentsOf(dir.file("NEW.WL6")).chunks[1] == encodeSprite(dot));
}

// A float WAV of these samples at 6896 a second, mono.
Bytes floatWav(const std::vector<float>& samples)
{
    Bytes wav;
    const auto text = [&](const char* id) {
        for (int i = 0; i < 4; ++i)
            wav.push_back(static_cast<std::uint8_t>(id[i]));
    };
    const auto number = [&](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i)
            wav.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    };
    text("RIFF");
    number(static_cast<std::uint32_t>(36 + 4 * samples.size()), 4);
    text("WAVE");
    text("fmt ");
    number(16, 4);
    number(3, 2);  // IEEE float
    number(1, 2);
    number(6896, 4);
    number(4 * 6896, 4);
    number(4, 2);
    number(32, 2);
    text("data");
    number(static_cast<std::uint32_t>(4 * samples.size()), 4);
    for (const float sample : samples) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &sample, 4);
        number(bits, 4);
    }
    return wav;
}

// --dither reaches the pictures and sounds of replace and pack; a sound
// clipped is said, naming its file.
TEST(PackAndReplace, DitherAndClippingReachTheCommandLine)
{
    TempDir dir;
    writeFileBytes(dir.file("VSWAP.WL6"), readFileBytes(PAGELARK_BIN_DIR "/VSWAP.DMO"));
    QImage gradient(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            gradient.setPixel(x, y, qRgb(x * 4, y * 4, 128));
    ASSERT_TRUE(gradient.save(QString::fromStdString(dir.file("gradient.png"))));
    std::vector<float> loud(2000);
    for (std::size_t n = 0; n < loud.size(); ++n)
        loud[n] = (n % 20 < 10 ? 2.0f : -2.0f);
    writeFileBytes(dir.file("loud.wav"), floatWav(loud));

    std::vector<Bytes> walls;
    for (const bool dither : {false, true}) {
        std::vector<std::string> args{"replace", dir.file("VSWAP.WL6"), dir.file("NEW.WL6"),
                                      "0=" + dir.file("gradient.png"), "45=" + dir.file("loud.wav")};
        if (dither)
            args.insert(args.begin() + 1, "--dither");
        const CommandResult run = runCli(args);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err.rfind("pagelark-cli: " + dir.file("loud.wav") + ": clipped: ", 0), 0u) << run.err;
        walls.push_back(contentsOf(dir.file("NEW.WL6")).chunks[0]);
    }
    // Diffused, a gradient takes more colours than its nearest ones.
    const auto colours = [](const Bytes& wall) { return std::set<std::uint8_t>(wall.begin(), wall.end()).size(); };
    EXPECT_GT(colours(walls[1]), colours(walls[0]));
}

// Every limit is an error naming the file and the number, and the page
// file to write stays as it was, with no trace of an attempt beside it.
TEST(PackAndReplace, LimitsAreCheckedBeforeAnythingIsWritten)
{
    TempDir dir;
    writeFileBytes(dir.file("VSWAP.WL6"), testing::fullSizeVswap());
    writeFileBytes(dir.file("NEW.WL6"), {1, 2, 3});
    QImage opaque(64, 64, QImage::Format_RGB32);
    opaque.fill(qRgb(0, 0, 0));
    opaque.save(QString::fromStdString(dir.file("opaque.png")));
    QImage wide(65, 64, QImage::Format_RGB32);
    wide.fill(qRgb(0, 0, 0));
    wide.save(QString::fromStdString(dir.file("wide.png")));
    QImage holey(64, 64, QImage::Format_ARGB32);
    holey.fill(qRgba(0, 0, 0, 0));
    holey.save(QString::fromStdString(dir.file("holey.png")));
    writeFileBytes(dir.file("empty.wav"), wavFileBytes({}));

    const std::vector<std::pair<std::string, std::string>> cases = {
        {"106=" + dir.file("opaque.png"), dir.file("opaque.png") + ": the sprite takes 4740 bytes, 644 more than"},
        {"0=" + dir.file("wide.png"), dir.file("wide.png") + ": the picture is 65 by 64 pixels"},
        {"0=" + dir.file("holey.png"), dir.file("holey.png") + ": a wall cannot be transparent"},
        {"542=" + dir.file("empty.wav"), dir.file("empty.wav") + ": the sound is empty"},
    };
    for (const auto& [replacement, error] : cases) {
        SCOPED_TRACE(replacement);
        const CommandResult run = runCli({"replace", dir.file("VSWAP.WL6"), dir.file("NEW.WL6"), replacement});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err.rfind("pagelark-cli: " + error, 0), 0u) << run.err;
        EXPECT_TRUE(readFileBytes(dir.file("NEW.WL6")) == (Bytes{1, 2, 3}));
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 6);
}

// Every file pack or replace reads is refused as its output, by name or through a link.
TEST(PackAndReplace, NoFileReadIsWrittenOver)
{
    TempDir dir;
    writeFileBytes(dir.file("VSWAP.WL6"), readFileBytes(PAGELARK_BIN_DIR "/VSWAP.DMO"));
    fs::create_directory(dir.file("out"));
    ASSERT_EQ(runCli({"save", dir.file("VSWAP.WL6"), dir.file("out")}).status, 0);
    fs::create_symlink(dir.file("out/wall0001.bmp"), dir.file("link.bmp"));
    const std::vector<std::vector<std::string>> runs = {
        {"replace", dir.file("VSWAP.WL6"), dir.file("VSWAP.WL6"), "0=" + dir.file("out/wall0000.bmp")},
        {"replace", dir.file("VSWAP.WL6"), dir.file("out/wall0000.bmp"), "0=" + dir.file("out/wall0000.bmp")},
        {"replace", dir.file("VSWAP.WL6"), dir.file("link.bmp"), "1=" + dir.file("out/wall0001.bmp")},
        {"pack", dir.file("out"), dir.file("out/sound0000.wav")},
        {"pack", dir.file("out"), dir.file("out/vswap-layout.txt")},
        {"pack", dir.file("out"), dir.file("link.bmp")},
    };
    const auto readFiles = [&] {
        std::vector<Bytes> files;
        for (const char* name : {"VSWAP.WL6", "out/wall0000.bmp", "out/wall0001.bmp", "out/sound0000.wav"})
            files.push_back(readFileBytes(dir.file(name)));
        return files;
    };
    const std::vector<Bytes> before = readFiles();
    for (const std::vector<std::string>& run : runs) {
        SCOPED_TRACE(run[0] + " " + run[2]);
        const CommandResult result = runCli(run);
        EXPECT_EQ(result.status, 1);
        EXPECT_NE(result.err.find("is the file being read"), std::string::npos) << result.err;
    }
    EXPECT_TRUE(readFiles() == before);
}

}  // namespace
}  // namespace pagelark::testing
