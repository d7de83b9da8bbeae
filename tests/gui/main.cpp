// Runs the window tests on Qt's offscreen platform, without a desktop.
#include "tests/support/headless_qt.h"
#include "tests/support/temp_dir.h"

#include <QApplication>
#include <QString>

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>

int main(int argc, char* argv[])
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", /*overwrite=*/0);
    // Qt wants a private runtime folder; the test run brings its own.
    const pagelark::testing::TempDir runtimeRoot;
    const std::string runtimeDir = runtimeRoot.file("runtime");
    ::mkdir(runtimeDir.c_str(), 0700);
    ::chmod(runtimeDir.c_str(), 0700);
    ::setenv("XDG_RUNTIME_DIR", runtimeDir.c_str(), /*overwrite=*/1);

    pagelark::testing::installHeadlessMessageFilter();
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pagelark"));
    return RUN_ALL_TESTS();
}
