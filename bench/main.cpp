// The benchmark program: the window's benchmarks need a QApplication on the
// offscreen platform, and the run ends with the table of figures beside
// their baselines. Started with the sheet probe's flag it is that probe.
#include "bench/bench_window.h"
#include "bench/figure_table.h"
#include "bench/sheet_probe.h"
#include "tests/support/headless_qt.h"

#include <QApplication>
#include <QString>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <iostream>
#include <string_view>

int main(int argc, char* argv[])
{
    // The figures are for the offscreen platform, wherever the run happens.
    ::setenv("QT_QPA_PLATFORM", "offscreen", /*overwrite=*/1);
    pagelark::testing::installHeadlessMessageFilter();
    if (argc > 1 && std::string_view(argv[1]) == pagelark::bench::SheetProbeFlag)
        return pagelark::bench::runSheetProbe(argc, argv);

    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    pagelark::bench::FigureTable table;
    benchmark::RunSpecifiedBenchmarks(&table);
    pagelark::bench::closeSharedWindows();
    table.print(std::cout);
    benchmark::Shutdown();
    return 0;
}
