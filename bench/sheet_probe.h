#pragma once

#include <string_view>

namespace pagelark::bench {

// The private flag that makes the benchmark program a contact sheet probe:
//   pagelark_bench --sheet-probe VSWAPFILE OUT.png SCALE COLUMNS
// It draws the file's sprites on a sheet as `pagelark-cli sheet` does,
// in the game palette, and prints the peak resident memory of the whole
// process in kB: VmHWM, which starts afresh at exec.
constexpr std::string_view SheetProbeFlag = "--sheet-probe";

int runSheetProbe(int argc, char* argv[]);

}  // namespace pagelark::bench
