#include "bench/figure_table.h"

#include "bench/comparisons.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

namespace pagelark::bench {

namespace {

struct Summary {
    double median;
    double spread;  // interquartile range over the median
    std::size_t repetitions;
};

double quantile(const std::vector<double>& sorted, double q)
{
    const double at = q * static_cast<double>(sorted.size() - 1);
    const auto below = static_cast<std::size_t>(std::floor(at));
    const std::size_t above = std::min(below + 1, sorted.size() - 1);
    return sorted[below] + (sorted[above] - sorted[below]) * (at - static_cast<double>(below));
}

std::optional<Summary> summarize(const std::map<std::string, std::vector<double>>& values, const std::string& name)
{
    const auto found = values.find(name);
    if (found == values.end() || found->second.empty())
        return std::nullopt;
    std::vector<double> sorted = found->second;
    std::sort(sorted.begin(), sorted.end());
    const double median = quantile(sorted, 0.5);
    const double spread = median > 0 ? (quantile(sorted, 0.75) - quantile(sorted, 0.25)) / median : 0.0;
    return Summary{median, spread, sorted.size()};
}

std::string format(const char* pattern, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

std::string timeText(double seconds)
{
    if (seconds < 1e-6)
        return format("%.1f ns", seconds * 1e9);
    if (seconds < 1e-3)
        return format("%.1f us", seconds * 1e6);
    return format("%.2f ms", seconds * 1e3);
}

std::string valueText(Measure measure, double value)
{
    return measure == Measure::Time ? timeText(value) : format("%.1f MB", value);
}

std::string targetText(const Comparison& comparison)
{
    std::string text;
    const auto add = [&](const std::string& part) { text += (text.empty() ? "" : ", ") + part; };
    if (comparison.most)
        add("<= " + valueText(comparison.measure, *comparison.most));
    if (comparison.mostRatio)
        add(format("<= %.1fx", *comparison.mostRatio));
    if (comparison.mostAdded)
        add(format("<= +%.0f MB", *comparison.mostAdded));
    return text;
}

bool met(const Comparison& comparison, double figure, double baseline)
{
    return (!comparison.most || figure <= *comparison.most)
        && (!comparison.mostRatio || figure <= *comparison.mostRatio * baseline)
        && (!comparison.mostAdded || figure - baseline <= *comparison.mostAdded);
}

std::string pad(const std::string& text, std::size_t width)
{
    return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

std::string padLeft(const std::string& text, std::size_t width)
{
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

}  // namespace

void FigureTable::ReportRuns(const std::vector<Run>& runs)
{
    std::vector<Run> shown;
    for (const Run& run : runs) {
        if (run.run_type == Run::RT_Aggregate) {
            shown.push_back(run);
            continue;
        }
        if (run.repetitions <= 1)
            shown.push_back(run);
        if (run.error_occurred || run.iterations == 0)
            continue;
        const std::string& name = run.run_name.function_name;
        seconds_[name].push_back(run.real_accumulated_time / static_cast<double>(run.iterations));
        cpuSeconds_[name].push_back(run.cpu_accumulated_time / static_cast<double>(run.iterations));
        if (const auto peak = run.counters.find("peak_MB"); peak != run.counters.end())
            peakMb_[name].push_back(peak->second.value);
    }
    if (!shown.empty())
        ConsoleReporter::ReportRuns(shown);
}

int FigureTable::print(std::ostream& out) const
{
    out << "\n"
        << pad("Figure", 44) << padLeft("median", 11) << padLeft("spread", 8) << "  " << pad("Baseline", 30)
        << padLeft("median", 11) << padLeft("spread", 8) << padLeft("ratio", 8) << padLeft("cpu", 6) << "  Target\n";
    out << std::string(156, '-') << "\n";
    int missed = 0;
    std::size_t fewestRepetitions = 0;
    for (const Comparison& comparison : comparisons()) {
        const auto& values = comparison.measure == Measure::Time ? seconds_ : peakMb_;
        const std::optional<Summary> figure = summarize(values, comparison.figureBenchmark);
        const std::optional<Summary> baseline = summarize(values, comparison.baselineBenchmark);
        if (!figure || !baseline)
            continue;  // not run: filtered out, or failed (its error is in the report above)
        const std::size_t repetitions = std::min(figure->repetitions, baseline->repetitions);
        fewestRepetitions = fewestRepetitions == 0 ? repetitions : std::min(fewestRepetitions, repetitions);
        std::string target = "-";
        if (comparison.most || comparison.mostRatio || comparison.mostAdded) {
            const bool ok = met(comparison, figure->median, baseline->median);
            target = targetText(comparison) + (ok ? ": met" : ": MISSED");
            missed += ok ? 0 : 1;
        }
        const double ratio = baseline->median > 0 ? figure->median / baseline->median : 0.0;
        std::string cpuRatio = "-";
        if (comparison.measure == Measure::Time) {
            const std::optional<Summary> figureCpu = summarize(cpuSeconds_, comparison.figureBenchmark);
            const std::optional<Summary> baselineCpu = summarize(cpuSeconds_, comparison.baselineBenchmark);
            if (figureCpu && baselineCpu && baselineCpu->median > 0)
                cpuRatio = format("%.2f", figureCpu->median / baselineCpu->median);
        }
        out << pad(comparison.figure, 44) << padLeft(valueText(comparison.measure, figure->median), 11)
            << padLeft(format("%.0f%%", figure->spread * 100), 8) << "  " << pad(comparison.baseline, 30)
            << padLeft(valueText(comparison.measure, baseline->median), 11)
            << padLeft(format("%.0f%%", baseline->spread * 100), 8) << padLeft(format("%.2f", ratio), 8)
            << padLeft(cpuRatio, 6) << "  " << target << "\n";
    }
    out << std::string(156, '-') << "\n"
        << "Medians over " << fewestRepetitions
        << " or more repetitions of elapsed time; spread: interquartile range over the median; cpu: the\n"
        << "ratio of processor times, in which waiting for the disk or for other programs does not count. "
        << (missed == 0 ? "Every target met." : std::to_string(missed) + " target(s) missed.") << "\n";
    return missed;
}

}  // namespace pagelark::bench
