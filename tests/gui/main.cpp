// Runs the window tests on Qt's offscreen platform, without a desktop.
#include "tests/support/temp_dir.h"

#include <QApplication>
#include <QString>

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>

namespace {

// Warnings the headless set-up itself causes, with nothing to do with the
// program: the offscreen platform cannot pass size hints on, and there is
// no sound device to play on.
bool isHeadlessNoise(QtMsgType type, const QString& message)
{
    if (type != QtWarningMsg)
        return false;
    return message == QLatin1String("This plugin does not support propagateSizeHints()")
        || message == QLatin1String("PulseAudioService: pa_context_connect() failed")
        || message == QLatin1String("No audio device detected");
}

QtMessageHandler defaultHandler = nullptr;

void filterMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (!isHeadlessNoise(type, message))
        defaultHandler(type, context, message);
}

}  // namespace

int main(int argc, char* argv[])
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", /*overwrite=*/0);
    // Qt wants a private runtime folder; the test run brings its own.
    const pagelark::testing::TempDir runtimeRoot;
    const std::string runtimeDir = runtimeRoot.file("runtime");
    ::mkdir(runtimeDir.c_str(), 0700);
    ::chmod(runtimeDir.c_str(), 0700);
    ::setenv("XDG_RUNTIME_DIR", runtimeDir.c_str(), /*overwrite=*/1);

    defaultHandler = qInstallMessageHandler(filterMessages);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pagelark"));
    return RUN_ALL_TESTS();
}
