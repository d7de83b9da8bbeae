#include "sounds/sound_import.h"

#include "archive/byte_file.h"
#include "archive/run_error.h"
#include "sounds/decimation.h"
#include "sounds/sample_reduction.h"
#include "sounds/sound_duration.h"
#include "sounds/wav_reader.h"

#include <samplerate.h>
#include <sndfile.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>

namespace pagelark {

namespace {

// A WAV file in the page file's own format is small: at most 65535 samples,
// its header and perhaps a few chunks of notes. A larger file goes to
// libsndfile, which knows its length from its header.
constexpr std::int64_t MaxPageFormatWavBytes = 1024 * 1024;
constexpr sf_count_t FramesPerRead = 4096;
// Up to this rate the best converter takes the whole step; above it the
// sound is first averaged down to between 4 and 8 times the page file's
// rate, which the converter then takes in a fraction of a second.
constexpr int HighestDirectRate = 192000;
constexpr int LowestDecimatedRate = 4 * SoundSampleRate;

// The count is the header's; a sound counted as it is read has only run past the limit.
RunError tooManySamples(std::optional<std::int64_t> samples, int channels)
{
    const std::string limit = std::to_string(MaxSoundSamplesRead);
    const std::string inChannels = " in its " + std::to_string(channels) + " channels";
    if (!samples)
        return RunError::message("the sound holds more samples" + inChannels + " than the " + limit
                                 + " Pagelark reads");
    return RunError::message("the sound holds " + std::to_string(*samples) + " samples" + inChannels
                             + "; Pagelark reads at most " + limit);
}

RunError tooLong(std::int64_t samples)
{
    return RunError::message("the sound is " + std::to_string(samples)
                             + " samples long; a page file holds at most 65535 (9.5 s at 6896 samples/s)");
}

std::vector<std::uint8_t> checkedLength(std::vector<std::uint8_t> samples)
{
    if (samples.empty())
        throw RunError::message("the sound is empty");
    if (static_cast<std::int64_t>(samples.size()) > MaxSoundSamples)
        throw tooLong(static_cast<std::int64_t>(samples.size()));
    return samples;
}

// The samples of a WAV file in the page file's format, taken as they are;
// nothing for any other file.
std::optional<std::vector<std::uint8_t>> pageFormatSamples(ByteFile& file)
{
    const std::int64_t size = file.size();
    if (size > MaxPageFormatWavBytes)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    file.seek(0);
    file.readBytes(bytes.data(), bytes.size());
    std::optional<WavSound> sound = readWav(bytes);
    if (!sound || sound->sampleRate != SoundSampleRate || sound->channels != 1 || sound->bitsPerSample != 8)
        return std::nullopt;
    return std::move(sound->samples);
}

// libsndfile reads through the program's own file, so only regular files are
// read and file errors have the run-time's texts. An error cannot pass
// through libsndfile's C code: a callback keeps it, and it is raised when
// libsndfile returns.
class SoundSource {
public:
    explicit SoundSource(ByteFile& file) : file_(file) {}

    SF_VIRTUAL_IO callbacks()
    {
        SF_VIRTUAL_IO io{};
        io.get_filelen = [](void* self) { return of(self).guarded([&](ByteFile& file) { return file.size(); }); };
        io.seek = [](sf_count_t offset, int whence, void* self) {
            return of(self).guarded([&](ByteFile& file) -> sf_count_t {
                const sf_count_t from = whence == SEEK_CUR ? file.position() : whence == SEEK_END ? file.size() : 0;
                if (offset < 0 && from + offset < 0)
                    return -1;
                file.seek(from + offset);
                return from + offset;
            });
        };
        io.read = [](void* out, sf_count_t count, void* self) {
            return of(self).guarded([&](ByteFile& file) {
                const sf_count_t left = std::max<sf_count_t>(0, file.size() - file.position());
                const sf_count_t take = std::clamp<sf_count_t>(count, 0, left);
                file.readBytes(static_cast<std::uint8_t*>(out), static_cast<std::size_t>(take));
                return take;
            });
        };
        io.write = [](const void*, sf_count_t, void*) -> sf_count_t { return 0; };
        io.tell = [](void* self) { return of(self).guarded([&](ByteFile& file) { return file.position(); }); };
        return io;
    }

    void raiseKeptError() const
    {
        if (error_)
            throw *error_;
    }

private:
    static SoundSource& of(void* self) { return *static_cast<SoundSource*>(self); }

    template <typename Operation>
    sf_count_t guarded(Operation operation) noexcept
    {
        try {
            return operation(file_);
        } catch (const RunError& error) {
            error_ = error;
        } catch (...) {
            error_ = RunError::message("the sound file could not be read");
        }
        return -1;
    }

    ByteFile& file_;
    std::optional<RunError> error_;
};

using SoundHandle = std::unique_ptr<SNDFILE, int (*)(SNDFILE*)>;

// libsndfile's reason ("Format not recognised.") as the end of our sentence.
std::string libraryReason(SNDFILE* sound)
{
    std::string reason = sf_strerror(sound);
    while (!reason.empty() && (reason.back() == '.' || reason.back() == ' '))
        reason.pop_back();
    if (!reason.empty())
        reason[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(reason[0])));
    return reason;
}

double convertedLength(std::int64_t frames, int rate) { return static_cast<double>(frames) * SoundSampleRate / rate; }

// libsndfile's length of a sound whose header does not say, such as a FLAC
// stream: the sound is counted as it is read.
bool lengthKnown(const SF_INFO& info) { return info.frames != SF_COUNT_MAX; }

int decimationFactor(int rate) { return rate > HighestDirectRate ? rate / LowestDecimatedRate : 1; }

double conversionRatio(int rate) { return static_cast<double>(SoundSampleRate) * decimationFactor(rate) / rate; }

// Refuses from the header alone a sound that cannot become a page file's.
void checkHeader(const SF_INFO& info)
{
    if (info.frames <= 0)
        throw RunError::message("the sound is empty");
    if (info.samplerate <= 0 || info.channels <= 0)
        throw RunError::message("not a sound file Pagelark can read: " + std::to_string(info.channels) + " channels at "
                                + std::to_string(info.samplerate) + " samples/s");
    if (lengthKnown(info)) {
        const double length = std::round(convertedLength(info.frames, info.samplerate));
        if (length > static_cast<double>(MaxSoundSamples))
            throw tooLong(length < 9.0e18 ? static_cast<std::int64_t>(length) : INT64_MAX);
        if (info.frames > MaxSoundSamplesRead / info.channels)
            throw tooManySamples(info.frames * info.channels, info.channels);
    }
    if (info.samplerate != SoundSampleRate && !src_is_valid_ratio(conversionRatio(info.samplerate)))
        throw RunError::message("a sound of " + std::to_string(info.samplerate)
                                + " samples/s cannot be converted to 6896 samples/s");
}

// The frames as one channel, the mean of all, each counted if it is louder
// than full scale. A sound that runs on past what its header said, or whose
// header did not say, is refused once it is too long for a page file or has
// more samples than are read.
std::vector<float> monoFrames(SNDFILE* sound, const SF_INFO& info, const SoundSource& source, ClippingCount& clipping)
{
    const auto channels = static_cast<std::size_t>(info.channels);
    const double maxFrames = static_cast<double>(MaxSoundSamples + 1) * info.samplerate / SoundSampleRate;
    std::vector<float> block(static_cast<std::size_t>(FramesPerRead) * channels);
    std::vector<float> mono;
    // Room for all at once, as far as the header tells; the checks on it bound it.
    if (lengthKnown(info))
        mono.reserve(static_cast<std::size_t>(info.frames));
    sf_count_t got = 0;
    while ((got = sf_readf_float(sound, block.data(), FramesPerRead)) > 0) {
        for (std::size_t frame = 0; frame < static_cast<std::size_t>(got); ++frame) {
            const float* first = block.data() + frame * channels;
            float sum = 0;
            for (std::size_t channel = 0; channel < channels; ++channel)
                sum += first[channel];
            mono.push_back(sum / static_cast<float>(channels));
            clipping.add(mono.back());
        }
        if (static_cast<double>(mono.size()) > maxFrames)
            throw tooLong(std::llround(convertedLength(static_cast<std::int64_t>(mono.size()), info.samplerate)));
        if (static_cast<std::int64_t>(mono.size()) * info.channels > MaxSoundSamplesRead)
            throw tooManySamples(std::nullopt, info.channels);
    }
    source.raiseKeptError();
    if (sf_error(sound) != SF_ERR_NO_ERROR)
        throw RunError::message("the sound file could not be read: " + libraryReason(sound));
    return mono;
}

std::vector<float> resampled(std::vector<float> mono, int rate)
{
    if (rate == SoundSampleRate || mono.empty())
        return mono;
    if (const int factor = decimationFactor(rate); factor > 1)
        mono = decimated(std::move(mono), factor);
    const double ratio = conversionRatio(rate);
    std::vector<float> out(static_cast<std::size_t>(std::ceil(static_cast<double>(mono.size()) * ratio)) + 1);
    SRC_DATA data{};
    data.data_in = mono.data();
    data.input_frames = static_cast<long>(mono.size());
    data.data_out = out.data();
    data.output_frames = static_cast<long>(out.size());
    data.src_ratio = ratio;
    if (const int error = src_simple(&data, SRC_SINC_BEST_QUALITY, 1))
        throw RunError::message(std::string("the sound could not be resampled: ") + src_strerror(error));
    out.resize(static_cast<std::size_t>(data.output_frames_gen));
    return out;
}

ImportedSound convertedSound(ByteFile& file, const SoundImportOptions& options)
{
    file.seek(0);
    SoundSource source(file);
    SF_VIRTUAL_IO io = source.callbacks();
    SF_INFO info{};
    const SoundHandle sound(sf_open_virtual(&io, SFM_READ, &info, &source), sf_close);
    source.raiseKeptError();
    if (!sound)
        throw RunError::message("not a sound file Pagelark can read: " + libraryReason(nullptr));
    checkHeader(info);

    ClippingCount clipping;
    const std::vector<float> converted = resampled(monoFrames(sound.get(), info, source, clipping), info.samplerate);
    return {eightBitSamples(converted, options.dither), clipping.report()};
}

}  // namespace

ImportedSound importSound(const std::string& path, const SoundImportOptions& options)
{
    ByteFile file;
    file.openRead(path);
    return importSound(file, options);
}

ImportedSound importSound(ByteFile& file, const SoundImportOptions& options)
{
    if (std::optional<std::vector<std::uint8_t>> samples = pageFormatSamples(file))
        return {checkedLength(std::move(*samples)), std::nullopt};
    ImportedSound sound = convertedSound(file, options);
    sound.samples = checkedLength(std::move(sound.samples));
    return sound;
}

}  // namespace pagelark
