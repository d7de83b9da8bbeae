// pagelark-cli: the chunk list, the pictures and the sounds of a VSWAP
// file on the command line. It reads the chosen file directly, read-only, and never
// changes it.

#include "archive/output_file.h"
#include "archive/printable_text.h"
#include "archive/program_places.h"
#include "archive/run_error.h"
#include "cli/command_line.h"

#include <QGuiApplication>

#include <filesystem>
#include <iostream>
#include <new>
#include <string>
#include <variant>

namespace {

using namespace pagelark::cli;

constexpr int ExitOk = 0;
constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;

// Names and words from files are printed so that none can play tricks on the terminal.
int reportFailure(const std::string& text)
{
    std::cout.flush();
    std::cerr << "pagelark-cli: " << pagelark::printableText(text) << '\n';
    return ExitFailure;
}

// The folder of the side files: this program's own folder, or the install's
// share/pagelark beside it.
std::string sideFilesDirectory()
{
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return pagelark::sideFilesFolder(error ? std::string("./") : self.parent_path().string() + "/");
}

// Qt reads the pictures to import and draws the sheets' labels; what it has
// to say about damaged pictures the commands say themselves, naming the file.
void keepQtQuiet()
{
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::cerr << "pagelark-cli: " << message.toStdString() << '\n';
    });
}

int run(const ListRequest& request)
{
    listChunks(request.vswapPath, request.game, sideFilesDirectory(), std::cout, request.format);
    return ExitOk;
}

int run(const SaveRequest& request) { return saveChunks(request, std::cout, std::cerr) ? ExitOk : ExitFailure; }

int run(const SheetRequest& request)
{
    // Labels need the fonts a GUI application finds; nothing is shown on any
    // screen, and what Qt has to say about the desktop it does not need is no
    // concern of the command's.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    keepQtQuiet();
    int argc = 1;
    char name[] = "pagelark-cli";
    char* argv[] = {name, nullptr};
    const QGuiApplication application(argc, argv);
    return drawSheet(request, std::cout, std::cerr) ? ExitOk : ExitFailure;
}

int run(const PackRequest& request)
{
    keepQtQuiet();
    packFolder(request, std::cout, std::cerr);
    return ExitOk;
}

int run(const ReplaceRequest& request)
{
    keepQtQuiet();
    replaceChunks(request, std::cout, std::cerr);
    return ExitOk;
}

int run(const DiffRequest& request)
{
    keepQtQuiet();
    diffPageFiles(request, std::cout, std::cerr);
    return ExitOk;
}

int run(const PatchRequest& request)
{
    patchPageFile(request, std::cout, std::cerr);
    return ExitOk;
}

int run(const ShownText& shown)
{
    std::cout << shown.text;
    return ExitOk;
}

int run(const UsageProblem& problem)
{
    std::cerr << "pagelark-cli: " << pagelark::printableText(problem.text) << '\n' << commandLineUsage();
    return ExitUsage;
}

}  // namespace

int main(int argc, char* argv[])
{
    // Ended by a signal, the program leaves no file half written.
    pagelark::removeUnfinishedOutputsOnSignals();
    try {
        const CommandLine commandLine = parseCommandLine(argc, argv, sideFilesDirectory() + "wolfenstein.pal");
        return std::visit([](const auto& request) { return run(request); }, commandLine);
    } catch (const pagelark::RunError& error) {
        return reportFailure(error.text());
    } catch (const std::bad_alloc&) {
        return reportFailure("out of memory");
    } catch (const std::exception& error) {
        return reportFailure(std::string("unexpected error: ") + error.what());
    }
}
