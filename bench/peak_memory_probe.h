#pragma once

#include <string_view>

namespace pagelark::bench {

// The private flag that makes the benchmark program a memory probe:
//   pagelark_bench --peak-memory-probe window|open VSWAPFILE DESCRIPTIONFILE|-
// It starts the application, shows the main window, opens the file (for
// "open") with this description file in the place of wolfpics.txt ("-" for
// the shipped one), lets the window paint, and prints its peak resident
// memory and its resident memory now, in kB: "VmHWM ru_maxrss RssAnon RssFile".
constexpr std::string_view PeakMemoryProbeFlag = "--peak-memory-probe";

int runPeakMemoryProbe(int argc, char* argv[]);

}  // namespace pagelark::bench
