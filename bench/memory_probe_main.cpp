// The memory probe, a program of its own: it links the window and nothing
// else, so that what it measures is what the window's program loads, not the
// benchmarks' command-line code and the libraries that brings.
#include "bench/peak_memory_probe.h"
#include "tests/support/headless_qt.h"

#include <cstdlib>

int main(int argc, char* argv[])
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", /*overwrite=*/1);
    pagelark::testing::installHeadlessMessageFilter();
    return pagelark::bench::runPeakMemoryProbe(argc, argv);
}
