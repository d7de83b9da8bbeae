#include "tests/sound/monitor_recorder.h"

#include <QElapsedTimer>
#include <QTest>

namespace pagelark::testing {

namespace {

constexpr int StartTimeoutMs = 10000;

}  // namespace

MonitorRecorder::~MonitorRecorder()
{
    if (parec_.state() != QProcess::NotRunning) {
        parec_.kill();
        parec_.waitForFinished();
    }
}

std::string MonitorRecorder::start()
{
    // A short latency matters: with parec's default of two seconds the null
    // output works two seconds ahead, and a stream that joins it waits that
    // long before it is heard.
    parec_.start(QStringLiteral("parec"),
                 {QStringLiteral("--device=null.monitor"), QStringLiteral("--format=u8"),
                  QStringLiteral("--rate=%1").arg(RecordingRate), QStringLiteral("--channels=1"),
                  QStringLiteral("--raw"), QStringLiteral("--latency-msec=30")});
    if (!parec_.waitForStarted())
        return "parec cannot be started (Debian package pulseaudio-utils; scripts/setup installs it)";
    QObject::connect(&parec_, &QProcess::readyReadStandardOutput, [this] { collect(); });

    // Until a tenth of a second has come in, the recording is not under way.
    QElapsedTimer waited;
    waited.start();
    while (samples_.size() < RecordingRate / 10) {
        if (parec_.state() == QProcess::NotRunning)
            return "parec stopped: " + parec_.readAllStandardError().toStdString();
        if (waited.elapsed() > StartTimeoutMs)
            return "parec records nothing from the null output's monitor";
        QTest::qWait(10);
    }
    return {};
}

std::size_t MonitorRecorder::mark()
{
    collect();
    return static_cast<std::size_t>(samples_.size());
}

std::vector<std::uint8_t> MonitorRecorder::since(std::size_t mark)
{
    collect();
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(samples_.constData());
    return {bytes + std::min(mark, static_cast<std::size_t>(samples_.size())), bytes + samples_.size()};
}

void MonitorRecorder::collect() { samples_ += parec_.readAllStandardOutput(); }

}  // namespace pagelark::testing
