#include "sounds/wav_reader.h"
#include "sounds/wav_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace pagelark {
namespace {

using Bytes = std::vector<std::uint8_t>;

void appendU16(Bytes& bytes, std::uint32_t value)
{
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

void appendU32(Bytes& bytes, std::uint32_t value)
{
    appendU16(bytes, value & 0xFFFF);
    appendU16(bytes, value >> 16);
}

// A chunk with its id, the declared size (the body's size unless told) and
// the body, padded to an even length as RIFF wants.
Bytes chunk(const std::string& id, const Bytes& body, std::optional<std::uint32_t> declared = std::nullopt)
{
    Bytes bytes(id.begin(), id.end());
    appendU32(bytes, declared.value_or(static_cast<std::uint32_t>(body.size())));
    bytes.insert(bytes.end(), body.begin(), body.end());
    if (body.size() % 2 == 1)
        bytes.push_back(0);
    return bytes;
}

Bytes pcmFormat(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits)
{
    Bytes body;
    appendU16(body, tag);
    appendU16(body, channels);
    appendU32(body, rate);
    appendU32(body, rate * channels * bits / 8);
    appendU16(body, static_cast<std::uint16_t>(channels * bits / 8));
    appendU16(body, bits);
    return body;
}

Bytes riff(const std::vector<Bytes>& chunks)
{
    Bytes inner = {'W', 'A', 'V', 'E'};
    for (const Bytes& c : chunks)
        inner.insert(inner.end(), c.begin(), c.end());
    Bytes file = {'R', 'I', 'F', 'F'};
    appendU32(file, static_cast<std::uint32_t>(inner.size()));
    file.insert(file.end(), inner.begin(), inner.end());
    return file;
}

Bytes ramp(std::size_t count)
{
    Bytes samples(count);
    for (std::size_t i = 0; i < count; ++i)
        samples[i] = static_cast<std::uint8_t>(i * 7 + 3);
    return samples;
}

TEST(WavReader, ReadsTheFilesTheProgramWrites)
{
    for (std::size_t count : {std::size_t{0}, std::size_t{1}, std::size_t{4097}}) {
        const Bytes samples = ramp(count);
        const std::optional<WavSound> sound = readWav(wavFileBytes(samples));
        ASSERT_TRUE(sound) << count << " samples";
        EXPECT_EQ(sound->sampleRate, 6896U);
        EXPECT_EQ(sound->channels, 1U);
        EXPECT_EQ(sound->bitsPerSample, 8U);
        EXPECT_EQ(sound->samples, samples);
    }
}

// The extensible form: the PCM fields, an extension of 22 bytes (valid bits,
// channel mask) and the sub-format's GUID, whose first two bytes are the tag.
Bytes extensibleFormat(std::uint16_t subFormat, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits)
{
    Bytes body = pcmFormat(0xFFFE, channels, rate, bits);
    appendU16(body, 22);
    appendU16(body, bits);
    appendU32(body, 4);
    appendU16(body, subFormat);
    body.insert(body.end(), {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71});
    return body;
}

TEST(WavReader, ReadsThePcmOfTheExtensibleFormAsThePlainOne)
{
    const Bytes samples = ramp(9);
    const std::optional<WavSound> sound
        = readWav(riff({chunk("fmt ", extensibleFormat(1, 1, 6896, 8)), chunk("data", samples)}));
    ASSERT_TRUE(sound);
    EXPECT_EQ(sound->sampleRate, 6896U);
    EXPECT_EQ(sound->channels, 1U);
    EXPECT_EQ(sound->bitsPerSample, 8U);
    EXPECT_EQ(sound->samples, samples);
    // Floating-point samples in the extensible form are no PCM.
    EXPECT_FALSE(readWav(riff({chunk("fmt ", extensibleFormat(3, 1, 6896, 32)), chunk("data", samples)})));
}

TEST(WavReader, SkipsOtherChunksAndTakesWhatThereIsOfAShortDataChunk)
{
    const Bytes samples = ramp(10);
    Bytes longFormat = pcmFormat(1, 2, 22050, 16);
    appendU16(longFormat, 0);  // the extension size some writers add

    // An odd-sized chunk (with its pad byte) and an extended format chunk before the data.
    const std::optional<WavSound> sound
        = readWav(riff({chunk("LIST", {1, 2, 3, 4, 5}), chunk("fmt ", longFormat), chunk("data", samples)}));
    ASSERT_TRUE(sound);
    EXPECT_EQ(sound->sampleRate, 22050U);
    EXPECT_EQ(sound->channels, 2U);
    EXPECT_EQ(sound->bitsPerSample, 16U);
    EXPECT_EQ(sound->samples, samples);

    // The data chunk claims 1000 bytes; the file ends after 10.
    Bytes cut = riff({chunk("fmt ", pcmFormat(1, 1, 6896, 8))});
    const Bytes data = chunk("data", samples, 1000);
    cut.insert(cut.end(), data.begin(), data.end());
    const std::optional<WavSound> shortData = readWav(cut);
    ASSERT_TRUE(shortData);
    EXPECT_EQ(shortData->samples, samples);
}

TEST(WavReader, RejectsDamagedAndForeignFilesWithoutReadingPastTheirEnd)
{
    const Bytes fmt = chunk("fmt ", pcmFormat(1, 1, 6896, 8));
    const Bytes data = chunk("data", ramp(6));
    const std::vector<std::pair<std::string, Bytes>> unplayable = {
        {"empty", {}},
        {"RIFF header only", {'R', 'I', 'F', 'F', 4, 0, 0, 0}},
        {"not WAVE",
         [&] {
             Bytes b = riff({fmt, data});
             b[8] = 'A';
             return b;
         }()},
        {"no data chunk", riff({fmt})},
        {"no format chunk", riff({data})},
        {"format chunk too short", riff({chunk("fmt ", Bytes(14, 1)), data})},
        {"IEEE float", riff({chunk("fmt ", pcmFormat(3, 1, 6896, 32)), data})},
        {"extensible", riff({chunk("fmt ", pcmFormat(0xFFFE, 1, 6896, 8)), data})},
        {"no channels", riff({chunk("fmt ", pcmFormat(1, 0, 6896, 8)), data})},
        {"rate 0", riff({chunk("fmt ", pcmFormat(1, 1, 0, 8)), data})},
        // A chunk that claims nearly 4 GiB hides everything after it.
        {"huge chunk before the data", riff({fmt, chunk("junk", {1, 2}, 0xFFFFFFFF), data})},
    };
    for (const auto& [what, bytes] : unplayable)
        EXPECT_FALSE(readWav(bytes)) << what;

    // Every cut of a good file: without a whole data chunk header there is
    // nothing to play; after it, the samples that made it.
    const Bytes whole = wavFileBytes(ramp(20));
    for (std::size_t length = 0; length < whole.size(); ++length) {
        const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
        const std::optional<WavSound> sound = readWav(cut);
        if (length < WavHeaderSize) {
            EXPECT_FALSE(sound) << "cut at " << length;
        } else {
            EXPECT_EQ(sound.value_or(WavSound{}).samples.size(), length - WavHeaderSize) << "cut at " << length;
        }
    }

    // Damaged files: a good one with a few bytes changed and cut at random.
    // Whatever comes out, the sanitizers see no read past the end.
    const Bytes good = riff({chunk("LIST", {1, 2, 3}), fmt, data});
    std::mt19937 random(7);
    for (int round = 0; round < 5000; ++round) {
        Bytes bytes = good;
        for (int change = 0; change < 3; ++change)
            bytes[4 + random() % (bytes.size() - 4)] = static_cast<std::uint8_t>(random());
        // A copy of exactly the cut length, so a read past it leaves the allocation.
        const Bytes cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(random() % (bytes.size() + 1)));
        const std::optional<WavSound> sound = readWav(cut);
        if (sound) {
            EXPECT_LE(sound->samples.size(), cut.size());
        }
    }
}

}  // namespace
}  // namespace pagelark
