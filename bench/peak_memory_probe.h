#pragma once

#include <string_view>

namespace pagelark::bench {

// The memory probe's command line:
//   pagelark_memory_probe --peak-memory-probe window|open|undo VSWAPFILE DESCRIPTIONFILE|-
// It starts the application, shows the main window, opens the file (for
// "open" and "undo") with this description file in the place of
// wolfpics.txt ("-" for the shipped one), lets the window paint, for "undo"
// replaces a hundred walls one step each and undoes every step, and prints
// its peak resident memory, its resident memory now and the most disk its
// own files took, in kB: "VmHWM ru_maxrss RssAnon RssFile disk".
constexpr std::string_view PeakMemoryProbeFlag = "--peak-memory-probe";

int runPeakMemoryProbe(int argc, char* argv[]);

}  // namespace pagelark::bench
