#include "bench/peak_memory_probe.h"

#include "bench/bench_window.h"
#include "pictures/bitmap_writer.h"
#include "tests/support/temp_dir.h"

#include <QApplication>

#include <algorithm>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <sys/resource.h>

namespace pagelark::bench {

namespace {

constexpr std::int32_t UndoSteps = 100;

// A size in kB from /proc/self/status. VmHWM is the highest resident size
// of this process image; unlike ru_maxrss it starts afresh at exec, while
// Linux carries the memory of the process that started the probe (the whole
// benchmark run) over into ru_maxrss. RssAnon and RssFile split the
// resident size now into the program's own memory and mapped files
// (libraries, font caches).
long statusKb(const std::string& field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with(field + ":"))
            return std::stol(line.substr(field.size() + 1));
    }
    return -1;
}

// The size of the files in a folder, in kB.
long folderKb(const std::string& folder)
{
    std::uintmax_t bytes = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.is_regular_file())
            bytes += entry.file_size();
    return static_cast<long>(bytes / 1024);
}

// Replaces walls 0 to 99 one by one, each with a picture of its own, then
// undoes every step; the disk the window's own files take after the steps.
long undoHundredSteps(BenchWindow& bench)
{
    TForm1& window = bench.window();
    const pagelark::testing::TempDir pictures;
    const std::string picture = pictures.file("wall.bmp");
    long mostDiskKb = 0;
    for (std::int32_t wall = 0; wall < UndoSteps; ++wall) {
        PixelGrid grid;
        grid.fill(static_cast<std::uint8_t>(wall));
        writeBitmapFile(picture, grid, window.state().bmpHeader);
        window.replaceChunkWithFile(wall, picture);
        mostDiskKb = std::max(mostDiskKb, folderKb(window.state().ownFilesDir));
    }
    for (std::int32_t step = 0; step < UndoSteps; ++step)
        window.Undo1Click();
    return mostDiskKb;
}

}  // namespace

int runPeakMemoryProbe(int argc, char* argv[])
{
    if (argc != 5) {
        std::cerr << "usage: " << argv[0] << ' ' << PeakMemoryProbeFlag
                  << " window|open|undo VSWAPFILE DESCRIPTIONFILE|-\n";
        return 2;
    }
    const std::string mode = argv[2];
    const std::string vswap = argv[3];
    const std::string descriptions = argv[4];
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    try {
        BenchWindow bench;
        if (descriptions != "-")
            bench.platform().replaceSideFile("wolfpics.txt", descriptions);
        long diskKb = 0;
        if (mode == "open" || mode == "undo") {
            bench.open(vswap);
            BenchWindow::settle();
        }
        if (mode == "undo")
            diskKb = undoHundredSteps(bench);
        struct rusage usage {};
        ::getrusage(RUSAGE_SELF, &usage);
        std::cout << statusKb("VmHWM") << ' ' << usage.ru_maxrss << ' ' << statusKb("RssAnon") << ' '
                  << statusKb("RssFile") << ' ' << diskKb << '\n';
    } catch (const std::exception& error) {
        std::cerr << "memory probe: " << error.what() << '\n';
        return 1;
    }
    return 0;
}

}  // namespace pagelark::bench
