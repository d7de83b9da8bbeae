// Showing an entry of the list (what a click in the list does after moving
// the current line), also with the window's repaint, against the least any
// showing of a 64 x 64 picture in the 320 x 320 view costs: looking every
// pixel's colour up in the palette.
#include "bench/bench_window.h"
#include "pictures/picture_drawing.h"
#include "tests/support/sample_vswap.h"

#include <benchmark/benchmark.h>

#include <exception>
#include <vector>

namespace pagelark::bench {

namespace {

enum class Entry { Wall, Sprite, Sound };

std::int32_t chunkOf(Entry entry)
{
    switch (entry) {
    case Entry::Wall:
        return 5;
    case Entry::Sprite:
        return testing::FullSizeWalls + 100;
    case Entry::Sound:
        break;
    }
    return testing::FullSizeSoundStart;
}

// The shared window with this entry shown in this view; false, with the
// benchmark skipped, when that fails.
bool showOnce(benchmark::State& state, Entry entry, bool background)
{
    try {
        BenchWindow& bench = sharedWindow("show");
        bench.makeChunkCurrent(chunkOf(entry));
        bench.window().state().viewMode = background;
        bench.window().ShowCurrentItem();
        BenchWindow::settle();
        return true;
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
        return false;
    }
}

void ShowEntry(benchmark::State& state, Entry entry, bool background)
{
    if (!showOnce(state, entry, background))
        return;
    TForm1& window = sharedWindow("show").window();
    for (auto _ : state)
        window.ShowCurrentItem();
    // The repaints the showing asked for run once, outside the measurement.
    BenchWindow::settle();
}

// The same, with the window painted afterwards as the user sees it.
void ShowEntryPainted(benchmark::State& state, Entry entry, bool background)
{
    if (!showOnce(state, entry, background))
        return;
    TForm1& window = sharedWindow("show").window();
    for (auto _ : state) {
        window.ShowCurrentItem();
        BenchWindow::settle();
    }
}

// Every pixel of the view from its grid cell, five times enlarged, through the palette.
void enlarge(const PixelGrid& grid, const Palette& palette, std::vector<std::uint32_t>& image)
{
    for (int y = 0; y < ViewSide; ++y) {
        std::uint32_t* row = image.data() + static_cast<std::ptrdiff_t>(y) * ViewSide;
        for (int x = 0; x < ViewSide; ++x)
            row[x] = palette[grid[gridCell(x / 5, y / 5)]];
    }
}

void ShowFloor(benchmark::State& state, Entry entry, bool background)
{
    if (!showOnce(state, entry, background))
        return;
    const ProgramState& shown = sharedWindow("show").window().state();
    const PixelGrid grid = shown.grid;
    const Palette palette = shown.palette;
    std::vector<std::uint32_t> image(static_cast<std::size_t>(ViewSide) * ViewSide);
    for (auto _ : state) {
        enlarge(grid, palette, image);
        benchmark::DoNotOptimize(image.data());
        benchmark::ClobberMemory();
    }
}

}  // namespace

BENCHMARK_CAPTURE(ShowEntry, wall_plain, Entry::Wall, false)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(ShowFloor, wall_plain, Entry::Wall, false)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(ShowEntry, wall_background, Entry::Wall, true)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(ShowFloor, wall_background, Entry::Wall, true)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(ShowEntry, sprite_plain, Entry::Sprite, false)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(ShowFloor, sprite_plain, Entry::Sprite, false)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(ShowEntry, sprite_background, Entry::Sprite, true)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(ShowFloor, sprite_background, Entry::Sprite, true)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(ShowEntry, sound_plain, Entry::Sound, false)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(ShowFloor, sound_plain, Entry::Sound, false)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(ShowEntry, sound_background, Entry::Sound, true)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(ShowFloor, sound_background, Entry::Sound, true)->Unit(benchmark::kMicrosecond)->UseRealTime();

BENCHMARK_CAPTURE(ShowEntryPainted, wall_plain, Entry::Wall, false)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(ShowEntryPainted, sprite_plain, Entry::Sprite, false)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(ShowEntryPainted, sound_plain, Entry::Sound, false)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace pagelark::bench
