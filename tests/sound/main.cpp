// Runs the sound tests: the program's sounds played on a sound server of the
// test run's own and recorded from it, on Qt's offscreen platform.
#include "tests/sound/private_sound_server.h"
#include "tests/sound/without_server.h"
#include "tests/support/headless_qt.h"
#include "tests/support/temp_dir.h"

#include <QApplication>
#include <QString>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <sys/stat.h>

namespace {

// What CTest takes for a run in which nothing could be tried.
constexpr int AllSkipped = 77;

std::string privateFolder(const pagelark::testing::TempDir& root, const std::string& name)
{
    const std::string path = root.file(name);
    ::mkdir(path.c_str(), 0700);
    ::chmod(path.c_str(), 0700);
    return path;
}

}  // namespace

int main(int argc, char* argv[])
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", /*overwrite=*/0);

    // Everything the sound server and its clients keep goes into folders of
    // this run's own, and no server but ours is ever reached or spawned.
    const pagelark::testing::TempDir root;
    const std::string runtimeDir = privateFolder(root, "runtime");
    const std::string home = privateFolder(root, "home");
    const std::string clientConfig = root.file("client.conf");
    pagelark::testing::writeFileText(clientConfig, "autospawn = no\n");
    ::setenv("XDG_RUNTIME_DIR", runtimeDir.c_str(), 1);
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("PULSE_CLIENTCONFIG", clientConfig.c_str(), 1);
    for (const char* name : {"PULSE_SERVER", "PULSE_SINK", "PULSE_SOURCE", "PULSE_RUNTIME_PATH", "PULSE_STATE_PATH"})
        ::unsetenv(name);

    // Before QApplication: Qt connects to the sound server once, when it first looks for devices.
    std::unique_ptr<pagelark::testing::PrivateSoundServer> server;
    if (!pagelark::testing::runsWithoutServer())
        server = std::make_unique<pagelark::testing::PrivateSoundServer>(runtimeDir, root.path().string());
    pagelark::testing::setSoundServer(server.get());

    pagelark::testing::installHeadlessMessageFilter();
    ::testing::InitGoogleTest(&argc, argv);
    int result = 0;
    {
        QApplication application(argc, argv);
        QApplication::setApplicationName(QStringLiteral("Pagelark"));
        result = RUN_ALL_TESTS();
    }
    pagelark::testing::setSoundServer(nullptr);
    // Skipped as a whole only when every test was skipped: a failure, or a
    // test that passed beside skipped ones, is what the run reports.
    const ::testing::UnitTest& run = *::testing::UnitTest::GetInstance();
    if (result == 0 && run.skipped_test_count() > 0 && run.successful_test_count() == 0)
        return AllSkipped;
    return result;
}
