#pragma once

#include "app/form/Unit1.h"
#include "bench/bench_platform.h"

#include <cstdint>
#include <string>

namespace pagelark::bench {

// The main window on the benchmarks' desktop, shown on the offscreen
// platform as the user would see it.
class BenchWindow {
public:
    BenchWindow();
    ~BenchWindow();

    TForm1& window() { return window_; }
    BenchPlatform& platform() { return platform_; }

    // Presses "Load vswap file" with this file chosen, the way the button
    // does; an error the open shows is thrown.
    void open(const std::string& path);
    // Makes the list line of this chunk index the current one, as clicking it
    // does, without running any handler.
    void makeChunkCurrent(std::int32_t index);
    // Lets every pending event run: layouts, repaints.
    static void settle();

private:
    BenchPlatform platform_;
    TForm1 window_;
};

// A window with the full-size file open, made on first use and kept for the
// benchmarks of one job, so that setting it up is not repeated for every
// run of a benchmark.
BenchWindow& sharedWindow(const std::string& job);
// Closes the shared windows; before the application object goes.
void closeSharedWindows();

}  // namespace pagelark::bench
