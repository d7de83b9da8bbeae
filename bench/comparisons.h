#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pagelark::bench {

enum class Measure { Time, PeakMemory };

// One figure beside the baseline it is judged against, with its targets.
struct Comparison {
    std::string figure;  // what the table calls it
    std::string figureBenchmark;
    std::string baseline;
    std::string baselineBenchmark;
    Measure measure = Measure::Time;
    std::optional<double> most;       // seconds or MB
    std::optional<double> mostRatio;  // figure / baseline
    std::optional<double> mostAdded;  // figure - baseline, MB
};

// Every comparison the table shows, in its order.
const std::vector<Comparison>& comparisons();

}  // namespace pagelark::bench
