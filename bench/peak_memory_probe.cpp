#include "bench/peak_memory_probe.h"

#include "bench/bench_window.h"

#include <QApplication>

#include <exception>
#include <fstream>
#include <iostream>
#include <string>
#include <sys/resource.h>

namespace pagelark::bench {

namespace {

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

}  // namespace

int runPeakMemoryProbe(int argc, char* argv[])
{
    if (argc != 5) {
        std::cerr << "usage: " << argv[0] << ' ' << PeakMemoryProbeFlag << " window|open VSWAPFILE DESCRIPTIONFILE|-\n";
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
        if (mode == "open") {
            bench.open(vswap);
            BenchWindow::settle();
        }
        struct rusage usage {};
        ::getrusage(RUSAGE_SELF, &usage);
        std::cout << statusKb("VmHWM") << ' ' << usage.ru_maxrss << ' ' << statusKb("RssAnon") << ' '
                  << statusKb("RssFile") << '\n';
    } catch (const std::exception& error) {
        std::cerr << "memory probe: " << error.what() << '\n';
        return 1;
    }
    return 0;
}

}  // namespace pagelark::bench
