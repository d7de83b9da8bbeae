#include "bench/sheet_probe.h"

#include "archive/run_error.h"
#include "cli/opened_vswap.h"
#include "cli/sheet_command.h"

#include <QGuiApplication>

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace pagelark::bench {

namespace {

long peakResidentKb()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("VmHWM:"))
            return std::stol(line.substr(6));
    return -1;
}

}  // namespace

int runSheetProbe(int argc, char* argv[])
{
    if (argc != 6) {
        std::cerr << "usage: " << argv[0] << ' ' << SheetProbeFlag << " VSWAPFILE OUT.png SCALE COLUMNS\n";
        return 2;
    }
    int qtArgc = 1;
    // The labels need the fonts a GUI application finds, as in pagelark-cli.
    const QGuiApplication application(qtArgc, argv);
    cli::SheetRequest request;
    request.vswapPath = argv[2];
    request.outputPath = argv[3];
    request.palettePath = std::string(PAGELARK_DATA_DIR) + "/wolfenstein.pal";
    request.kind = cli::SheetKind::Sprites;
    request.scale = std::stoi(argv[4]);
    request.columns = std::stoi(argv[5]);
    std::ostringstream out;
    std::ostringstream problems;
    try {
        if (!cli::drawSheet(request, out, problems)) {
            std::cerr << "sheet probe: " << problems.str();
            return 1;
        }
    } catch (const RunError& error) {
        std::cerr << "sheet probe: " << error.text() << '\n';
        return 1;
    }
    std::cout << peakResidentKb() << '\n';
    return 0;
}

}  // namespace pagelark::bench
