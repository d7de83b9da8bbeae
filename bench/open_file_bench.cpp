// Opening the full-size file as "Load vswap file" does (working copy, chunk
// table, list lines, descriptions, first entry shown), until the handler
// returns and until the window has painted the new list, against copying
// the same file plainly to another name.
#include "bench/bench_files.h"
#include "bench/bench_window.h"

#include <benchmark/benchmark.h>

#include <exception>

namespace pagelark::bench {

namespace {

void OpenFile(benchmark::State& state, bool untilPainted)
{
    try {
        BenchWindow& bench = sharedWindow("open");
        const std::string& path = fullSizeVswapPath();
        for (auto _ : state) {
            bench.open(path);
            if (untilPainted) {
                BenchWindow::settle();
            } else {
                // The paint the open asked for is not part of this figure.
                state.PauseTiming();
                BenchWindow::settle();
                state.ResumeTiming();
            }
        }
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }
}

// Reads the file whole and writes its bytes under another name.
void PlainCopy(benchmark::State& state)
{
    try {
        const std::string& from = fullSizeVswapPath();
        const std::string to = scratchPath("plain-copy");
        for (auto _ : state) {
            const std::vector<std::uint8_t> bytes = readWholeFile(from);
            writeWholeFile(to, bytes.data(), bytes.size());
        }
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }
}

}  // namespace

BENCHMARK_CAPTURE(OpenFile, handler_returned, false)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(OpenFile, list_painted, true)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(PlainCopy)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace pagelark::bench
