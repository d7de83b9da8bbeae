#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace pagelark::bench {

// The console report, kept short (with repetitions only their statistics
// are printed), which also keeps every repetition's figures so that the end
// of the run can put each figure beside its baseline.
class FigureTable : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;

    // The table of comparisons: medians over the repetitions, their spread
    // and ratio, the ratio of the processor times, and whether the targets
    // are met. Returns the number missed.
    int print(std::ostream& out) const;

private:
    // Seconds per iteration (elapsed, and on the processor), and peak
    // memory in MB, of each repetition.
    std::map<std::string, std::vector<double>> seconds_;
    std::map<std::string, std::vector<double>> cpuSeconds_;
    std::map<std::string, std::vector<double>> peakMb_;
};

}  // namespace pagelark::bench
