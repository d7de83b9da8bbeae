// pagelark-cli's contact sheet of the full-size file's 436 sprites at the
// largest options it accepts: the largest scale at which they fit within
// 16384 pixels a side, with as many columns as fit at that scale. Its time,
// drawn and written by the command's own code, is set beside Qt writing the
// same indexed image as a PNG; the peak memory of a fresh process that draws
// it (the benchmark program as a probe) beside the sheet's own pixels, one
// byte each.
#include "bench/bench_files.h"
#include "bench/command_runs.h"
#include "bench/sheet_probe.h"
#include "cli/opened_vswap.h"
#include "cli/sheet_command.h"
#include "sheets/contact_sheet_layout.h"
#include "tests/support/sample_vswap.h"

#include <QCoreApplication>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QProcess>

#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>

namespace pagelark::bench {

namespace {

constexpr double BytesPerMb = 1024.0 * 1024.0;

SheetLayout largestLayout()
{
    const std::optional<SheetLayout> layout = largestFittingLayout(testing::FullSizeSprites, MostSheetColumns);
    if (!layout)
        throw std::runtime_error("the full-size file's sprites fit on no sheet");
    return *layout;
}

std::string largestOptions()
{
    const SheetGeometry geometry = sheetGeometry(largestLayout(), testing::FullSizeSprites);
    return "--scale " + std::to_string(geometry.layout.scale) + " --columns " + std::to_string(geometry.layout.columns)
        + ": " + std::to_string(geometry.width()) + " x " + std::to_string(geometry.height());
}

cli::SheetRequest largestSheet(const std::string& sheetPath)
{
    const SheetLayout layout = largestLayout();
    cli::SheetRequest request;
    request.vswapPath = fullSizeVswapPath();
    request.outputPath = sheetPath;
    request.palettePath = std::string(PAGELARK_DATA_DIR) + "/wolfenstein.pal";
    request.kind = cli::SheetKind::Sprites;
    request.scale = layout.scale;
    request.columns = layout.columns;
    return request;
}

void drawSheet(const cli::SheetRequest& request) { runCommand(cli::drawSheet, request, "not every sprite was read"); }

// Peak memory in MB of a fresh process that draws the sheet.
double probePeakMb(const cli::SheetRequest& request)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {QString::fromLatin1(SheetProbeFlag.data(), static_cast<qsizetype>(SheetProbeFlag.size())),
                 QString::fromStdString(request.vswapPath), QString::fromStdString(request.outputPath),
                 QString::number(request.scale), QString::number(request.columns)});
    if (!child.waitForFinished(300000) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        throw std::runtime_error("the sheet probe failed");
    bool read = false;
    const double peakKb = child.readAllStandardOutput().trimmed().toDouble(&read);
    if (!read)
        throw std::runtime_error("the sheet probe answered nothing readable");
    return peakKb / 1024.0;
}

void LargestSheet(benchmark::State& state)
{
    try {
        const cli::SheetRequest request = largestSheet(scratchPath("largest-sheet.png"));
        for (auto _ : state)
            drawSheet(request);
        state.SetLabel(largestOptions());
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }
}

void LargestSheetPeakMemory(benchmark::State& state)
{
    try {
        const cli::SheetRequest request = largestSheet(scratchPath("largest-sheet-probed.png"));
        double peakMb = 0;
        for (auto _ : state)
            peakMb = probePeakMb(request);
        state.counters["peak_MB"] = peakMb;
        state.SetLabel(largestOptions());
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }
}

// The memory the sheet's pixels take, one byte each: what no drawing of it
// can do without.
void SheetPixelBytes(benchmark::State& state)
{
    try {
        const SheetGeometry geometry = sheetGeometry(largestLayout(), testing::FullSizeSprites);
        for (auto _ : state)
            benchmark::DoNotOptimize(geometry.width());
        state.counters["peak_MB"]
            = static_cast<double>(geometry.width()) * static_cast<double>(geometry.height()) / BytesPerMb;
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }
}

// Qt writing the sheet as it was read back: the PNG encoding alone. The
// command also flushes its file to disk, which counts in the elapsed time
// but not in the processor time.
void WriteSheetPng(benchmark::State& state)
{
    try {
        // Drawn and read back once a run, outside the measurement.
        static const QImage sheet = [] {
            const std::string drawn = scratchPath("sheet-to-rewrite.png");
            drawSheet(largestSheet(drawn));
            QImageReader reader(QString::fromStdString(drawn));
            reader.setAllocationLimit(0);  // Qt refuses images above 128 MB unless told
            return reader.read();
        }();
        if (sheet.format() != QImage::Format_Indexed8)
            throw std::runtime_error("the sheet did not read back as an indexed image");
        const QString rewritten = QString::fromStdString(scratchPath("sheet-rewritten.png"));
        for (auto _ : state) {
            QImageWriter writer(rewritten, "png");
            if (!writer.write(sheet))
                throw std::runtime_error("Qt could not write the sheet");
        }
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }
}

}  // namespace

BENCHMARK(LargestSheet)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(LargestSheetPeakMemory)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(SheetPixelBytes)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteSheetPng)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace pagelark::bench
