// Sound files brought into the page file's format: the program's own WAV
// files unchanged, other sounds converted, and files that cannot be.
#include "archive/run_error.h"
#include "sounds/sound_import.h"
#include "sounds/wav_writer.h"
#include "tests/support/temp_dir.h"

#include <sndfile.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <numbers>
#include <numeric>
#include <string>
#include <vector>

namespace pagelark::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

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

void appendLittleEndian(Bytes& bytes, std::uint64_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A WAV file's header for PCM samples, in the plain form or the extensible
// one (an extension of 22 bytes, its last 16 the PCM sub-format's GUID).
Bytes wavHeader(int channels, int rate, int bits, std::uint32_t dataBytes, bool extensible)
{
    const std::uint32_t formatSize = extensible ? 40 : 16;
    Bytes header = {'R', 'I', 'F', 'F'};
    appendLittleEndian(header, 4 + (8 + formatSize) + 8 + std::uint64_t{dataBytes}, 4);
    header.insert(header.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    appendLittleEndian(header, formatSize, 4);
    appendLittleEndian(header, extensible ? 0xFFFE : 1, 2);
    appendLittleEndian(header, static_cast<std::uint64_t>(channels), 2);
    appendLittleEndian(header, static_cast<std::uint64_t>(rate), 4);
    appendLittleEndian(header, static_cast<std::uint64_t>(rate * channels * bits / 8), 4);
    appendLittleEndian(header, static_cast<std::uint64_t>(channels * bits / 8), 2);
    appendLittleEndian(header, static_cast<std::uint64_t>(bits), 2);
    if (extensible) {
        appendLittleEndian(header, 22, 2);
        appendLittleEndian(header, static_cast<std::uint64_t>(bits), 2);
        appendLittleEndian(header, 4, 4);  // the front centre speaker
        header.insert(header.end(),
                      {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71});
    }
    header.insert(header.end(), {'d', 'a', 't', 'a'});
    appendLittleEndian(header, dataBytes, 4);
    return header;
}

// How often the samples cross the middle level, twice a period of a tone.
int midlineCrossings(const Bytes& samples)
{
    int crossings = 0;
    for (std::size_t i = 1; i < samples.size(); ++i)
        crossings += (samples[i - 1] < 128) != (samples[i] < 128);
    return crossings;
}

std::vector<float> sine(int rate, int frames, double frequency, double amplitude)
{
    std::vector<float> samples;
    for (int frame = 0; frame < frames; ++frame)
        samples.push_back(static_cast<float>(amplitude * std::sin(2 * std::numbers::pi * frequency * frame / rate)));
    return samples;
}

TEST(SoundFiles, TheProgramsOwnWavFilesComeBackByteForByte)
{
    TempDir dir;
    for (const std::size_t count : {std::size_t{1}, std::size_t{1000}, std::size_t{65535}}) {
        writeWavFile(dir.file("sound.wav"), everyValue(count));
        EXPECT_EQ(importSound(dir.file("sound.wav")).samples, everyValue(count)) << count;
    }
    // The same in the extensible form, which some editors write: every
    // value, 0 included, which a conversion never gives.
    Bytes extensible = wavHeader(1, 6896, 8, 1000, true);
    const Bytes samples = everyValue(1000);
    extensible.insert(extensible.end(), samples.begin(), samples.end());
    testing::writeFileBytes(dir.file("extensible.wav"), extensible);
    EXPECT_EQ(importSound(dir.file("extensible.wav")).samples, samples);

    // In stereo it is mixed to mono, one sample a frame: 0.5 and 0 make 0.25.
    std::vector<float> stereo;
    for (int frame = 0; frame < 3000; ++frame)
        stereo.insert(stereo.end(), {0.5f, 0.0f});
    writeSoundFile(dir.file("stereo.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 2, 6896, stereo);
    EXPECT_EQ(importSound(dir.file("stereo.wav")).samples, Bytes(3000, 160));
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
    const Bytes samples = importSound(dir.file("sine.wav")).samples;

    EXPECT_NEAR(static_cast<double>(samples.size()), 6896, 1);
    EXPECT_NEAR(midlineCrossings(samples), 880, 10);
    EXPECT_NEAR(std::accumulate(samples.begin(), samples.end(), 0.0) / static_cast<double>(samples.size()), 128, 1);
    EXPECT_NEAR(*std::max_element(samples.begin() + 100, samples.end() - 100), 160, 1);
    EXPECT_NEAR(*std::min_element(samples.begin() + 100, samples.end() - 100), 96, 1);

    // A FLAC file at the page file's own rate is taken sample for sample,
    // each one 128 + round(x * 127).
    writeSoundFile(dir.file("steps.flac"), SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1, 6896, {-1, -0.5f, 0, 0.5f, 0.25f});
    EXPECT_EQ(importSound(dir.file("steps.flac")).samples, (Bytes{1, 64, 128, 192, 160}));
}

TEST(SoundFiles, DitherKeepsASoundQuieterThanAStepFromBecomingSilence)
{
    // 440 Hz at -50 dBFS, 0.4 of a step of the 8-bit samples.
    TempDir dir;
    const double amplitude = std::pow(10.0, -50.0 / 20);
    const std::vector<float> quiet = sine(6896, 6896, 440, amplitude);
    writeSoundFile(dir.file("quiet.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, 1, 6896, quiet);
    EXPECT_EQ(importSound(dir.file("quiet.wav")).samples, Bytes(6896, 128));

    const Bytes dithered = importSound(dir.file("quiet.wav"), {.dither = true}).samples;
    ASSERT_EQ(dithered.size(), quiet.size());
    // The tone is still there: the samples' projection on it gives its amplitude.
    double projection = 0;
    double energy = 0;
    for (std::size_t n = 0; n < quiet.size(); ++n) {
        projection += (dithered[n] - 128.0) * quiet[n];
        energy += static_cast<double>(quiet[n]) * quiet[n];
    }
    EXPECT_NEAR(projection / energy, 127, 20);
    EXPECT_LE(*std::max_element(dithered.begin(), dithered.end()), 130);
    EXPECT_GE(*std::min_element(dithered.begin(), dithered.end()), 126);
    EXPECT_EQ(importSound(dir.file("quiet.wav"), {.dither = true}).samples, dithered);
}

TEST(SoundFiles, ASoundLouderThanFullScaleIsClippedAndSaysHowMuch)
{
    TempDir dir;
    // Float samples: 300 of them at twice full scale, 12 at -1.5, the rest at half scale.
    std::vector<float> loud(1000, 0.5f);
    std::fill_n(loud.begin(), 300, 2.0f);
    std::fill_n(loud.begin() + 500, 12, -1.5f);
    writeSoundFile(dir.file("loud.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, 1, 6896, loud);
    const ImportedSound clipped = importSound(dir.file("loud.wav"));
    EXPECT_EQ(clipped.clipping, "clipped: 312 samples louder than full scale, by up to 6.0 dB");
    EXPECT_EQ(clipped.samples[0], 255);
    EXPECT_EQ(clipped.samples[500], 1);
    EXPECT_EQ(clipped.samples[999], 192);

    // A square wave at full scale: the converter overshoots at each edge,
    // which is clipped without a word.
    std::vector<float> square;
    for (int frame = 0; frame < 44100; ++frame)
        square.push_back(frame / 50 % 2 == 0 ? 1.0f : -1.0f);
    writeSoundFile(dir.file("square.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, 1, 44100, square);
    const ImportedSound fullScale = importSound(dir.file("square.wav"));
    EXPECT_EQ(fullScale.clipping, std::nullopt);
    EXPECT_EQ(*std::max_element(fullScale.samples.begin(), fullScale.samples.end()), 255);
}

TEST(SoundFiles, SoundsOfVeryHighRatesAndOfUnknownLengthAreRead)
{
    TempDir dir;
    // A second at two million samples a second, a rate beyond what the
    // converter takes in one step: 440 Hz and, which must not fold down
    // into the result, a tone 1000 Hz below the rate it is averaged down to
    // (2000000 / 72 = 27778).
    std::vector<float> fast = sine(2'000'000, 2'000'000, 440, 0.5);
    const std::vector<float> folding = sine(2'000'000, 2'000'000, 26778, 0.4);
    for (std::size_t n = 0; n < fast.size(); ++n)
        fast[n] += folding[n];
    writeSoundFile(dir.file("fast.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, 1, 2'000'000, fast);
    const Bytes samples = importSound(dir.file("fast.wav")).samples;
    EXPECT_NEAR(static_cast<double>(samples.size()), 6896, 1);
    EXPECT_NEAR(midlineCrossings(samples), 880, 10);
    EXPECT_NEAR(*std::max_element(samples.begin() + 100, samples.end() - 100), 192, 2);
    EXPECT_NEAR(*std::min_element(samples.begin() + 100, samples.end() - 100), 64, 2);

    // A FLAC stream whose header leaves its length unknown (0 in the 36
    // bits after the rate, channels and sample size) is counted as it is read.
    writeSoundFile(dir.file("stream.flac"), SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1, 6896, sine(6896, 5000, 300, 0.5));
    Bytes flac = testing::readFileBytes(dir.file("stream.flac"));
    constexpr std::size_t TotalSamplesAt = 8 + 13;  // "fLaC", the block header, then the information's 14th byte
    flac[TotalSamplesAt] &= 0xF0;
    std::fill_n(flac.begin() + TotalSamplesAt + 1, 4, 0);
    testing::writeFileBytes(dir.file("stream.flac"), flac);
    SF_INFO info{};
    SNDFILE* stream = sf_open(dir.file("stream.flac").c_str(), SFM_READ, &info);
    ASSERT_NE(stream, nullptr);
    sf_close(stream);
    ASSERT_EQ(info.frames, SF_COUNT_MAX);
    EXPECT_EQ(importSound(dir.file("stream.flac")).samples.size(), 5000U);
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
    // 6.25 s of 64 channels at 96000 samples/s, header alone too: short
    // enough, but more samples than are read.
    constexpr std::uint32_t ManyChannelBytes = 600000 * 64 * 2;
    testing::writeFileBytes(dir.file("channels.wav"), wavHeader(64, 96000, 16, ManyChannelBytes, false));
    std::filesystem::resize_file(dir.file("channels.wav"), 44 + ManyChannelBytes);

    const std::string tooLong = " samples long; a page file holds at most 65535 (9.5 s at 6896 samples/s)";
    const std::vector<std::pair<std::string, std::string>> refused = {
        {"long.wav", "the sound is 65536" + tooLong},
        {"hours.wav", "the sound is 49651200" + tooLong},
        {"channels.wav", "the sound holds 38400000 samples in its 64 channels; Pagelark reads at most 33554432"},
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
}  // namespace pagelark::testing
