#pragma once

// Running pagelark-cli's commands from a benchmark, with the messages they
// write thrown away.

#include <benchmark/benchmark.h>

#include <exception>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace pagelark::bench {

// A command that tells its failure by its result, run once: on a failure it
// throws `failure`, then the problems the command wrote, so that a benchmark
// never times a run that did not do its work.
template <typename Request>
void runCommand(bool (*command)(const Request&, std::ostream&, std::ostream&), const Request& request,
                const std::string& failure)
{
    std::ostringstream out;
    std::ostringstream problems;
    if (!command(request, out, problems))
        throw std::runtime_error(failure + ": " + problems.str());
}

// The time of a command that throws on a failure, on the request made before
// the timing starts. An error of either ends the benchmark with its text.
template <typename Request>
void timeCommand(benchmark::State& state, void (*command)(const Request&, std::ostream&, std::ostream&),
                 Request (*makeRequest)())
{
    try {
        const Request request = makeRequest();
        for (auto _ : state) {
            std::ostringstream out;
            command(request, out, out);
        }
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }
}

}  // namespace pagelark::bench
