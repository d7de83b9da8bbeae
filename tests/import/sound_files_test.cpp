// Sound files brought into the page file's format: the program's own WAV
// files unchanged, other sounds converted, and files that cannot be.
#include "archive/run_error.h"
#include "sounds/sound_import.h"
#include "sounds/wav_writer.h"
#include "tests/support/temp_dir.h"

#include <sndfile.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numbers>
#include <numeric>
#include <string>
#include <vector>

namespace pagelark {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::TempDir;

void writeSoundFile(const std::string& path, int format, int channels, int rate, const std::vector<float>& frames)
{
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    EXPECT_EQ(sf_writef_float(file, frames.data(), static_cast<sf_count_t>(frames.size()) / channels),
              static_cast<sf_count_t>(frames.size()) / channels);
    sf_close(file);
}

Bytes everyValue(std::size_t count)
{
    Bytes samples(count);
    for (std::size_t i = 0; i < count; ++i)
        samples[i] = static_cast<std::uint8_t>(i * 37);
    return samples;
}

TEST(SoundFiles, TheProgramsOwnWavFilesComeBackByteForByte)
{
    TempDir dir;
    for (const std::size_t count : {std::size_t{1}, std::size_t{1000}, std::size_t{65535}}) {
        writeWavFile(dir.file("sound.wav"), everyValue(count));
        EXPECT_EQ(importSound(dir.file("sound.wav")), everyValue(count)) << count;
    }
}

TEST(SoundFiles, OtherSoundsAreMixedToMonoResampledAndCentred)
{
    // One second of 440 Hz at half scale in the left channel, silence in the
    // right: their mean is a quarter scale, 128 +- 32.
    constexpr int Rate = 44100;
    std::vector<float> stereo;
    for (int frame = 0; frame < Rate; ++frame) {
        stereo.push_back(0.5f * static_cast<float>(std::sin(2 * std::numbers::pi * 440 * frame / Rate)));
        stereo.push_back(0);
    }
    TempDir dir;
    writeSoundFile(dir.file("sine.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, Rate, stereo);
    const Bytes samples = importSound(dir.file("sine.wav"));

    EXPECT_NEAR(static_cast<double>(samples.size()), 6896, 1);
    int crossings = 0;
    for (std::size_t i = 1; i < samples.size(); ++i)
        crossings += (samples[i - 1] < 128) != (samples[i] < 128);
    EXPECT_NEAR(crossings, 880, 10);
    EXPECT_NEAR(std::accumulate(samples.begin(), samples.end(), 0.0) / static_cast<double>(samples.size()), 128, 1);
    EXPECT_NEAR(*std::max_element(samples.begin() + 100, samples.end() - 100), 160, 1);
    EXPECT_NEAR(*std::min_element(samples.begin() + 100, samples.end() - 100), 96, 1);

    // A FLAC file at the page file's own rate is taken sample for sample,
    // each one 128 + round(x * 127).
    writeSoundFile(dir.file("steps.flac"), SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1, 6896, {-1, -0.5f, 0, 0.5f, 0.25f});
    EXPECT_EQ(importSound(dir.file("steps.flac")), (Bytes{1, 64, 128, 192, 160}));
}

TEST(SoundFiles, RefusesWhatCannotBeAPageFilesSound)
{
    TempDir dir;
    writeWavFile(dir.file("long.wav"), Bytes(65536, 128));
    writeWavFile(dir.file("empty.wav"), {});
    writeSoundFile(dir.file("empty16.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 44100, {});
    testing::writeFileText(dir.file("notes.wav"), "not a sound at all, just some words in a file");
    ASSERT_EQ(::mkfifo(dir.file("pipe.wav").c_str(), 0600), 0);
    // Two hours in the page file's own format, on disk as a header alone:
    // its length comes from the header, and not a sample is read.
    constexpr std::int32_t TwoHours = 2 * 3600 * 6896;
    const WavHeader header = wavHeaderFor(TwoHours);
    testing::writeFileBytes(dir.file("hours.wav"), Bytes(header.begin(), header.end()));
    std::filesystem::resize_file(dir.file("hours.wav"), header.size() + TwoHours);

    const std::string tooLong = " samples long; a page file holds at most 65535 (9.5 s at 6896 samples/s)";
    const std::vector<std::pair<std::string, std::string>> refused = {
        {"long.wav", "the sound is 65536" + tooLong},
        {"hours.wav", "the sound is 49651200" + tooLong},
        {"empty.wav", "the sound is empty"},
        {"empty16.wav", "the sound is empty"},
        {"notes.wav", "not a sound file Pagelark can read: format not recognised"},
        {"pipe.wav", "Not a regular file: " + dir.file("pipe.wav")},
    };
    for (const auto& [name, reason] : refused) {
        try {
            importSound(dir.file(name));
            ADD_FAILURE() << "imported " << name;
        } catch (const RunError& error) {
            EXPECT_EQ(error.text(), reason) << name;
        }
    }
}

}  // namespace
}  // namespace pagelark
