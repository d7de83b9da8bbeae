// Saving every chunk of the full-size file with pagelark-cli's code,
// against writing the same files, prepared in memory, with one write each.
// Each run saves into a new, empty folder, as one extracts a game file; the
// folder of the run before is removed outside the measurement.
#include "bench/bench_files.h"
#include "bench/command_runs.h"
#include "cli/extract_commands.h"
#include "tests/support/temp_dir.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <exception>
#include <filesystem>
#include <memory>

namespace pagelark::bench {

namespace {

cli::SaveRequest saveEverything(const std::string& outputDir)
{
    cli::SaveRequest request;
    request.vswapPath = fullSizeVswapPath();
    request.outputDir = outputDir;
    return request;
}

void saveChunks(const cli::SaveRequest& request) { runCommand(cli::saveChunks, request, "not every chunk was saved"); }

// An empty folder for each run of the benchmark's loop, the one before gone.
class FreshFolders {
public:
    std::string next(benchmark::State& state)
    {
        state.PauseTiming();
        folder_.reset();
        folder_ = std::make_unique<testing::TempDir>();
        state.ResumeTiming();
        return folder_->path().string();
    }

private:
    std::unique_ptr<testing::TempDir> folder_;
};

void SaveEveryChunk(benchmark::State& state)
{
    try {
        FreshFolders folders;
        for (auto _ : state)
            saveChunks(saveEverything(folders.next(state)));
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }
}

struct SavedFile {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

void WriteSameFiles(benchmark::State& state)
{
    try {
        std::vector<SavedFile> files;
        {
            const testing::TempDir saved;
            saveChunks(saveEverything(saved.path().string()));
            for (const auto& entry : std::filesystem::directory_iterator(saved.path()))
                files.push_back({entry.path().filename().string(), readWholeFile(entry.path().string())});
        }
        std::sort(files.begin(), files.end(), [](const SavedFile& a, const SavedFile& b) { return a.name < b.name; });
        FreshFolders folders;
        for (auto _ : state) {
            const std::string folder = folders.next(state) + "/";
            for (const SavedFile& file : files)
                writeWholeFile(folder + file.name, file.bytes.data(), file.bytes.size());
        }
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }
}

}  // namespace

BENCHMARK(SaveEveryChunk)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(WriteSameFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace pagelark::bench
