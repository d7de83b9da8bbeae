#include "archive/byte_file.h"
#include "archive/run_error.h"
#include "sounds/wav_writer.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace pagelark::testing {
namespace {

// The header of a sound of 100 bytes, byte for byte.
const std::vector<std::uint8_t> HeaderOf100
    = {'R',  'I',  'F',  'F',  0x88, 0x00, 0x00, 0x00, 'W',  'A',  'V',  'E',  'f',  'm',  't',
       ' ',  0x10, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0xF0, 0x1A, 0x00, 0x00, 0xF0, 0x1A,
       0x00, 0x00, 0x01, 0x00, 0x08, 0x00, 'd',  'a',  't',  'a',  0x64, 0x00, 0x00, 0x00};

std::size_t openDescriptors()
{
    return static_cast<std::size_t>(
        std::distance(std::filesystem::directory_iterator("/proc/self/fd"), std::filesystem::directory_iterator()));
}

class WavWriterTest : public ::testing::Test {
protected:
    // A source file whose byte n is n mod 251, opened for reading.
    void SetUp() override
    {
        std::vector<std::uint8_t> bytes(1000);
        for (std::size_t n = 0; n < bytes.size(); ++n)
            bytes[n] = static_cast<std::uint8_t>(n % 251);
        writeFileBytes(dir.file("vswap0"), bytes);
        source.openRead(dir.file("vswap0"));
    }

    TempDir dir;
    ByteFile source;
};

TEST_F(WavWriterTest, HeaderDeclaresTheLengthAndTheSamplesFollowUnchanged)
{
    writeWavFile(dir.file("a.wav"), source, 300, 100);
    const auto bytes = readFileBytes(dir.file("a.wav"));
    ASSERT_EQ(bytes.size(), 144u);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 44), HeaderOf100);
    for (std::size_t k = 0; k < 100; ++k)
        ASSERT_EQ(bytes[44 + k], (300 + k) % 251) << k;

    // No pad byte after an odd number of samples; an empty sound is the header alone.
    writeWavFile(dir.file("odd.wav"), source, 0, 7);
    EXPECT_EQ(readFileBytes(dir.file("odd.wav")).size(), 51u);
    writeWavFile(dir.file("empty.wav"), source, 0, 0);
    const auto empty = readFileBytes(dir.file("empty.wav"));
    ASSERT_EQ(empty.size(), 44u);
    EXPECT_EQ(std::vector<std::uint8_t>(empty.begin() + 4, empty.begin() + 8),
              (std::vector<std::uint8_t>{36, 0, 0, 0}));
    EXPECT_EQ(std::vector<std::uint8_t>(empty.begin() + 40, empty.end()), (std::vector<std::uint8_t>{0, 0, 0, 0}));
}

TEST_F(WavWriterTest, LongSoundsAndTheHexadecimalTemplate)
{
    EXPECT_EQ(hexPairToByte('F', '0'), 0xF0);
    EXPECT_EQ(hexPairToByte('0', 'A'), 0x0A);
    const WavHeader header = wavHeaderFor(65535);
    // 65535 + 36 = 0x10023: the size fields carry into their third byte.
    EXPECT_EQ(std::vector<std::uint8_t>(header.begin() + 4, header.begin() + 8),
              (std::vector<std::uint8_t>{0x23, 0x00, 0x01, 0x00}));
    EXPECT_EQ(std::vector<std::uint8_t>(header.begin() + 40, header.end()),
              (std::vector<std::uint8_t>{0xFF, 0xFF, 0x00, 0x00}));
}

TEST_F(WavWriterTest, ReplacesALongerFileWithoutATrace)
{
    writeFileBytes(dir.file("pl.wav"), std::vector<std::uint8_t>(5000, 0xEE));
    writeWavFile(dir.file("pl.wav"), source, 10, 20);
    const auto bytes = readFileBytes(dir.file("pl.wav"));
    ASSERT_EQ(bytes.size(), 64u);
    EXPECT_EQ(bytes.back(), 29);
}

TEST_F(WavWriterTest, SoundRunningPastTheEndLeavesTheOldFileAndNothingOpen)
{
    const std::size_t before = openDescriptors();
    writeFileBytes(dir.file("cut.wav"), {1, 2, 3});
    try {
        writeWavFile(dir.file("cut.wav"), source, 990, 100);
        FAIL() << "no error raised";
    } catch (const RunError& error) {
        EXPECT_EQ(error.text(), std::string("Read beyond end of file"));
    }
    EXPECT_EQ(readFileBytes(dir.file("cut.wav")), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_THROW(writeWavFile(dir.file("no/such/folder.wav"), source, 0, 10), RunError);
    EXPECT_EQ(openDescriptors(), before);
}

}  // namespace
}  // namespace pagelark::testing
