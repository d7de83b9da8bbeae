#include "app/desktop/qt_platform.h"
#include "app/desktop/termination_signals.h"
#include "app/form/Unit1.h"

#include <QApplication>
#include <QStringList>

#include <csignal>
#include <cstdio>
#include <optional>
#include <string_view>

namespace {

const char* const Usage
    = "Usage: pagelark [FILE]\n"
      "  or:  pagelark --help | --version\n";

const char* const Help
    = "Pagelark shows the walls, sprites and sounds of a VSWAP page file, the\n"
      "file in which Wolfenstein 3D and Spear of Destiny keep them: it lists\n"
      "every chunk with its standard description, shows walls and sprites in\n"
      "the game's palette, plays sounds, animates sprite sequences, and saves\n"
      "any selection as 8-bit BMP and WAV files. A wall, sprite or sound can be\n"
      "replaced by a picture or sound file, and the edited page file saved as a\n"
      "new file.\n"
      "\n"
      "FILE, a page file such as VSWAP.WL6 or VSWAP.SOD, is opened at once, as\n"
      "if it had been chosen with \"Load vswap file\"; without it the window\n"
      "opens empty. The file is only read: the window works on a copy of it and\n"
      "never writes into it.\n"
      "\n"
      "Options:\n"
      "  -h, --help     print this help and exit\n"
      "      --version  print the version and exit\n";

// Help and version are answered before any Qt object exists, so that they
// need no display, as with other desktop programs.
std::optional<int> answeredWithoutWindow(int argc, char* argv[])
{
    const std::string_view first = argc > 1 ? argv[1] : "";
    if (first == "--help" || first == "-h")
        std::printf("%s\n%s", Usage, Help);
    else if (first == "--version")
        std::printf("pagelark %s\n", PAGELARK_VERSION);
    else
        return std::nullopt;
    // Text that could not be written is no answer.
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (const std::optional<int> status = answeredWithoutWindow(argc, argv))
        return *status;
    int status = 0;
    int endedBy = 0;
    {
        QApplication application(argc, argv);
        QApplication::setApplicationName(QStringLiteral("Pagelark"));

        pagelark::QtPlatform platform;
        // Creating the window runs its creation handler and makes the About window, hidden.
        pagelark::TForm1 mainWindow(platform);
        // Being killed, interrupted or logged out closes the window as the user
        // does, so that the working copy and the preview files go with it;
        // replacements not saved are kept for the next start, unasked.
        const pagelark::TerminationSignals termination(mainWindow, [&mainWindow] { mainWindow.closeKeepingEdits(); });
        mainWindow.show();
        // Replacements a run ended by a signal kept are offered back first.
        mainWindow.offerRecovery();
        // A file given on the command line, as the desktop passes the file to open with it.
        const QStringList arguments = QApplication::arguments();
        if (arguments.size() > 1)
            mainWindow.openGivenFile(arguments.at(1).toStdString());
        // A signal handled while the file was being opened has closed the window already.
        if (termination.received() == 0)
            status = QApplication::exec();
        endedBy = termination.received();
    }
    // The clean-up done, the program ends by the signal after all, so that
    // whoever started it learns why it ended.
    if (endedBy != 0) {
        std::signal(endedBy, SIG_DFL);
        std::raise(endedBy);
    }
    return status;
}
