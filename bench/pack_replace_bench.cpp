// Writing page files: pack of a saved full-size folder against reading the
// same files and writing the same bytes once, and replace of one wall
// against a plain copy of the file. Every output is a new file, flushed to
// disk before it is renamed into place, so the baselines make theirs so too:
// on a file system that passes over recently deleted inodes when it makes a
// file (ext4 without a journal), making one can cost more than writing a
// megabyte into it, by how many files the other benchmarks deleted in the
// last half minute and where they lay.
#include "bench/bench_files.h"
#include "bench/command_runs.h"
#include "cli/extract_commands.h"
#include "cli/pack_command.h"
#include "cli/replace_command.h"
#include "tests/support/temp_dir.h"

#include <benchmark/benchmark.h>

#include <exception>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

namespace pagelark::bench {

namespace {

// The full-size file saved whole, once per run of the suite.
const testing::TempDir& savedFolder()
{
    static const testing::TempDir folder;
    static const bool saved = [] {
        cli::SaveRequest request;
        request.vswapPath = fullSizeVswapPath();
        request.outputDir = folder.path().string();
        runCommand(cli::saveChunks, request, "the full-size file could not be saved");
        return true;
    }();
    (void)saved;
    return folder;
}

std::string gamePalette() { return std::string(PAGELARK_DATA_DIR) + "/wolfenstein.pal"; }

// The bytes as a new file beside `path`, flushed and renamed over it, as
// every write of the program's is made.
void writeFlushed(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    const std::string written = path + ".new";
    const int fd = ::open(written.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        throw std::runtime_error("cannot create " + written);
    const bool put = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    const bool flushed = put && ::fsync(fd) == 0;
    ::close(fd);
    if (!flushed || ::rename(written.c_str(), path.c_str()) != 0)
        throw std::runtime_error("cannot write " + path);
}

cli::PackRequest packOfSavedFolder()
{
    cli::PackRequest request;
    request.folder = savedFolder().path().string();
    request.outputPath = scratchPath("PACKED.WL6");
    request.palettePath = gamePalette();
    return request;
}

void PackSavedFolder(benchmark::State& state) { timeCommand(state, cli::packFolder, packOfSavedFolder); }

void ReadFilesWriteBytesOnce(benchmark::State& state)
{
    try {
        std::vector<std::string> inputs;
        for (const auto& entry : std::filesystem::directory_iterator(savedFolder().path()))
            inputs.push_back(entry.path().string());
        const std::vector<std::uint8_t> packed = readWholeFile(fullSizeVswapPath());
        const std::string output = scratchPath("COPIED.WL6");
        for (auto _ : state) {
            std::size_t read = 0;
            for (const std::string& input : inputs)
                read += readWholeFile(input).size();
            benchmark::DoNotOptimize(read);
            writeFlushed(output, packed);
        }
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }
}

cli::ReplaceRequest replaceOfOneWall()
{
    cli::ReplaceRequest request;
    request.vswapPath = fullSizeVswapPath();
    request.outputPath = scratchPath("REPLACED.WL6");
    request.palettePath = gamePalette();
    request.replacements = {{40, savedFolder().file("wall0040.bmp")}};
    return request;
}

void ReplaceOneWall(benchmark::State& state) { timeCommand(state, cli::replaceChunks, replaceOfOneWall); }

void CopyFilePlainly(benchmark::State& state)
{
    try {
        const std::string output = scratchPath("PLAIN.WL6");
        for (auto _ : state)
            writeFlushed(output, readWholeFile(fullSizeVswapPath()));
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }
}

}  // namespace

BENCHMARK(PackSavedFolder)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ReadFilesWriteBytesOnce)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ReplaceOneWall)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(CopyFilePlainly)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace pagelark::bench
