// Peak resident memory of the program after opening the full-size file,
// measured in a fresh process (the memory probe, which links the window
// alone), against the window with nothing open, and with a description
// file holding a megabyte-long line against the shipped one, and after a
// hundred replacements undone against the file open alone.
#include "bench/bench_files.h"
#include "bench/peak_memory_probe.h"

#include <QCoreApplication>
#include <QProcess>

#include <benchmark/benchmark.h>

#include <stdexcept>

namespace pagelark::bench {

namespace {

enum class Probe { WindowOnly, Open, OpenWithLongLine, UndoHundredSteps };

struct Peak {
    double residentMb;
    double maxrssMb;
    double anonymousMb;
    double mappedFilesMb;
    double ownFilesMb;
};

Peak probe(Probe what)
{
    const QString descriptions
        = what == Probe::OpenWithLongLine ? QString::fromStdString(longLineDescriptionsPath()) : QStringLiteral("-");
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationDirPath() + QStringLiteral("/pagelark_memory_probe"),
                {QString::fromLatin1(PeakMemoryProbeFlag.data(), static_cast<qsizetype>(PeakMemoryProbeFlag.size())),
                 what == Probe::WindowOnly             ? QStringLiteral("window")
                     : what == Probe::UndoHundredSteps ? QStringLiteral("undo")
                                                       : QStringLiteral("open"),
                 QString::fromStdString(fullSizeVswapPath()), descriptions});
    if (!child.waitForFinished(60000) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        throw std::runtime_error("the memory probe failed");
    const QList<QByteArray> fields = child.readAllStandardOutput().simplified().split(' ');
    if (fields.size() != 5)
        throw std::runtime_error("the memory probe answered nothing readable");
    return {fields[0].toDouble() / 1024.0, fields[1].toDouble() / 1024.0, fields[2].toDouble() / 1024.0,
            fields[3].toDouble() / 1024.0, fields[4].toDouble() / 1024.0};
}

void PeakMemory(benchmark::State& state, Probe what)
{
    try {
        Peak peak{};
        for (auto _ : state)
            peak = probe(what);
        state.counters["peak_MB"] = peak.residentMb;
        state.counters["maxrss_MB"] = peak.maxrssMb;
        state.counters["anon_MB"] = peak.anonymousMb;
        state.counters["files_MB"] = peak.mappedFilesMb;
        state.counters["own_files_MB"] = peak.ownFilesMb;
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }
}

}  // namespace

BENCHMARK_CAPTURE(PeakMemory, window_only, Probe::WindowOnly)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PeakMemory, file_open, Probe::Open)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PeakMemory, undo_100_steps, Probe::UndoHundredSteps)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PeakMemory, file_open_long_description, Probe::OpenWithLongLine)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace pagelark::bench
