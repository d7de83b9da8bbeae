#include "app/Unit1.h"
#include "app/qt_platform.h"
#include "app/termination_signals.h"

#include <QApplication>
#include <QStringList>

#include <csignal>

int main(int argc, char* argv[])
{
    int status = 0;
    int endedBy = 0;
    {
        QApplication application(argc, argv);
        QApplication::setApplicationName(QStringLiteral("Pagelark"));

        pagelark::QtPlatform platform;
        // Creating the window runs its creation handler and makes the About window, hidden.
        pagelark::TForm1 mainWindow(platform);
        // Being killed, interrupted or logged out closes the window as the user
        // does, so that the working copy and the preview files go with it.
        const pagelark::TerminationSignals termination(mainWindow);
        mainWindow.show();
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
