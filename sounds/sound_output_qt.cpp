#include "sounds/sound_output_qt.h"

#include "sounds/sample_stream_qt.h"
#include "sounds/wav_reader.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QEventLoop>
#include <QFile>
#include <QMediaDevices>

#include <optional>
#include <span>

namespace pagelark {

namespace {

// Far above any sound the program writes (at most 64 KiB of samples); a
// larger file is not worth holding in memory to play.
constexpr qint64 LargestSoundFile = 64 * 1024 * 1024;

// How often a playing sound is looked at, and how long past its own length
// a sound may take before the output counts as stuck and is let go.
constexpr int ProgressCheckMs = 20;
constexpr qint64 StuckAfterMs = 3000;

std::optional<WavSound> readSoundFile(const std::string& name)
{
    QFile file(QString::fromStdString(name));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // Read whole and closed at once: the program rewrites its preview file
    // while the sound plays. Read in pieces up to the limit, since a device
    // file has no size and may never end.
    constexpr qint64 Piece = 64 * 1024;
    QByteArray bytes;
    while (bytes.size() <= LargestSoundFile) {
        const QByteArray piece = file.read(Piece);
        if (piece.isEmpty())
            break;
        bytes += piece;
    }
    file.close();
    if (bytes.size() > LargestSoundFile)
        return std::nullopt;
    return readWav(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())));
}

std::optional<QAudioFormat::SampleFormat> sampleFormat(int bitsPerSample)
{
    switch (bitsPerSample) {
    case 8:
        return QAudioFormat::UInt8;
    case 16:
        return QAudioFormat::Int16;
    default:
        return std::nullopt;
    }
}

}  // namespace

QtSoundOutput::QtSoundOutput(QObject* parent) : QObject(parent)
{
    progressCheck_.setInterval(ProgressCheckMs);
    connect(&progressCheck_, &QTimer::timeout, this, &QtSoundOutput::checkProgress);
}

QtSoundOutput::~QtSoundOutput() { release(); }

void QtSoundOutput::playSound(const SoundRequest& request)
{
    if (!request.name) {
        stop();
        return;
    }
    if ((request.flags & sound_flag::NoStop) && playing())
        return;
    stop();

    // The name is always taken as a file name: the program names nothing
    // else, and there is no fallback sound to play instead (NoDefault).
    const std::optional<WavSound> sound = readSoundFile(*request.name);
    if (!sound)
        return;
    const bool async = (request.flags & sound_flag::Async) != 0;
    // Nothing waits for the device to become free (NoWait or not): a sound
    // that cannot start at once is not heard.
    if (!start(*sound, async && (request.flags & sound_flag::Loop)))
        return;
    if (!async)
        waitUntilEnded();
}

bool QtSoundOutput::start(const WavSound& sound, bool loop)
{
    const std::optional<QAudioFormat::SampleFormat> format = sampleFormat(sound.bitsPerSample);
    if (!format || sound.channels > 2 || sound.sampleRate > 1'000'000)
        return false;
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return false;
    QAudioFormat audioFormat;
    audioFormat.setSampleFormat(*format);
    audioFormat.setChannelCount(sound.channels);
    audioFormat.setSampleRate(static_cast<int>(sound.sampleRate));
    if (!device.isFormatSupported(audioFormat))
        return false;

    // A last partial frame is not played.
    const std::size_t frameBytes = std::size_t{sound.channels} * sound.bitsPerSample / 8;
    const std::size_t frames = sound.samples.size() / frameBytes;
    if (frames == 0)
        return false;
    std::vector<std::uint8_t> samples(sound.samples.begin(),
                                      sound.samples.begin() + static_cast<std::ptrdiff_t>(frames * frameBytes));

    auto sink = std::make_unique<QAudioSink>(device, audioFormat);
    // A child of the sink, so it goes after the sink has stopped reading it.
    auto* stream = new SampleStream(std::move(samples), loop, sink.get());
    sink->start(stream);
    if (sink->error() != QAudio::NoError || sink->state() == QAudio::StoppedState)
        return false;

    sink_ = std::move(sink);
    looping_ = loop;
    soundUSecs_ = static_cast<qint64>(frames * 1'000'000 / sound.sampleRate);
    sinceStart_.start();
    progressCheck_.start();
    return true;
}

void QtSoundOutput::stop()
{
    if (!playing())
        return;
    release();
    emit soundEnded();
}

void QtSoundOutput::release()
{
    progressCheck_.stop();
    // Deleting the sink closes its stream on the sound server at once, and
    // the server drops what it still holds of the sound rather than playing
    // it out (so does stop(); on PulseAudio neither drains).
    sink_.reset();
}

void QtSoundOutput::waitUntilEnded()
{
    QEventLoop loop;
    connect(this, &QtSoundOutput::soundEnded, &loop, &QEventLoop::quit);
    if (playing())
        loop.exec();
}

// The output goes idle when it has handed the last samples on, while the
// server still holds some of them to play; the sound has played through only
// when the played time reaches its length. The device is let go then, or
// when the output fails or gets stuck.
void QtSoundOutput::checkProgress()
{
    if (!playing())
        return;
    if (sink_->state() == QAudio::StoppedState) {
        stop();
        return;
    }
    if (looping_)
        return;
    constexpr qint64 RoundingUSecs = 1000;
    const bool playedThrough = sink_->processedUSecs() + RoundingUSecs >= soundUSecs_;
    const bool stuck = sinceStart_.elapsed() > soundUSecs_ / 1000 + StuckAfterMs;
    if (playedThrough || stuck)
        stop();
}

}  // namespace pagelark
