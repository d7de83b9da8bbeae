#include "app/Unit1.h"
#include "app/qt_platform.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pagelark"));

    pagelark::QtPlatform platform;
    // Creating the window runs its creation handler and makes the About window, hidden.
    pagelark::TForm1 mainWindow(platform);
    mainWindow.show();
    return QApplication::exec();
}
