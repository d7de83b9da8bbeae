// Takes the README's screenshot: Pagelark with the demo file open and a wall
// shown against the game's ceiling and floor. Run it under a virtual X
// server (tools/screenshot does), so the window is drawn as on a desktop.
//   pagelark_screenshot PROGRAM_DIR OUTPUT.png
// PROGRAM_DIR holds the side files and VSWAP.DMO, as the build's bin folder does.

#include "app/desktop/qt_platform.h"
#include "app/form/Unit1.h"
#include "app/widgets/picture_box.h"

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <cstdio>

namespace {

// The desktop, except that the open dialog picks the demo file at once and
// the program's files live in a folder of their own.
class ScriptedPlatform : public pagelark::QtPlatform {
public:
    ScriptedPlatform(std::string programDir, std::string chosenFile)
        : programDir_(std::move(programDir)), chosenFile_(std::move(chosenFile))
    {
    }

    std::optional<std::string> chooseFileToOpen(const pagelark::OpenDialogRequest&) override { return chosenFile_; }
    std::string programDir() override { return programDir_; }

private:
    std::string programDir_;
    std::string chosenFile_;
};

bool copyInto(const QString& from, const QDir& to, const QString& name)
{
    return QFile::copy(QDir(from).filePath(name), to.filePath(name));
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pagelark"));
    if (argc != 3) {
        std::fprintf(stderr, "Usage: pagelark_screenshot PROGRAM_DIR OUTPUT.png\n");
        return 2;
    }
    const QString source = QString::fromLocal8Bit(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[2]);

    // A scratch program folder, so the working copy never lands in the build.
    QTemporaryDir scratch;
    const QDir programDir(scratch.path());
    for (const char* name : {"wolfenstein.pal", "wolf10swpics.txt", "wolfpics.txt", "spearpics.txt", "VSWAP.DMO"}) {
        if (!copyInto(source, programDir, QString::fromLatin1(name))) {
            std::fprintf(stderr, "pagelark_screenshot: %s missing in %s\n", name, argv[1]);
            return 1;
        }
    }
    const std::string dir = programDir.path().toStdString() + "/";
    ScriptedPlatform platform(dir, dir + "VSWAP.DMO");

    pagelark::TForm1 window(platform);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    window.SpeedButton1->click();
    // The brick wall, selected, and a click on the picture for the background view.
    window.ListBox1->setCurrentRow(0);
    window.ListBox1->item(0)->setSelected(true);
    QTest::mouseClick(window.Image2, Qt::LeftButton, {}, QPoint(160, 160));
    QTest::mouseMove(window.Image2, QPoint(200, 150));
    QTest::qWait(300);

    const QPixmap shot = window.screen()->grabWindow(window.winId());
    if (!shot.save(output)) {
        std::fprintf(stderr, "pagelark_screenshot: cannot write %s\n", argv[2]);
        return 1;
    }
    window.close();
    return 0;
}
