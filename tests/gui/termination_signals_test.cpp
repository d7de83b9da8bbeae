#include "app/desktop/termination_signals.h"
#include "tests/gui/window_fixture.h"

#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <cstring>
#include <filesystem>

namespace pagelark::testing {
namespace {

using SignalHandler = void (*)(int);

SignalHandler handlerOf(int number)
{
    struct sigaction now {};
    ::sigaction(number, nullptr, &now);
    return now.sa_handler;
}

// Sets a signal's handling for the test and puts the one before back afterwards.
class SignalDisposition {
public:
    SignalDisposition(int number, SignalHandler handler) : number_(number) { before_ = std::signal(number, handler); }
    ~SignalDisposition() { std::signal(number_, before_); }
    SignalDisposition(const SignalDisposition&) = delete;
    SignalDisposition& operator=(const SignalDisposition&) = delete;

private:
    int number_;
    SignalHandler before_;
};

TEST(TerminationSignalsTest, EachSignalClosesTheWindowSoThatNoWorkingCopyIsLeft)
{
    for (const int number : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(::strsignal(number));
        const SignalDisposition byDefault(number, SIG_DFL);
        FakePlatform platform;
        TForm1 window(platform);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        const TempDir userDir;
        const std::string chosen = userDir.file("VSWAP.WL6");
        writeFileBytes(chosen, sampleVswap());
        platform.answerOpen(chosen);
        window.SpeedButton1->click();
        const std::string copy = window.state().workingCopyFile.name();
        ASSERT_TRUE(std::filesystem::exists(copy));
        writeFileText(platform.dir.file("pl.bmp"), "preview");

        {
            const TerminationSignals termination(window);
            ASSERT_NE(handlerOf(number), SIG_DFL);
            std::raise(number);
            EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }));
            EXPECT_EQ(termination.received(), number);
        }

        EXPECT_EQ(handlerOf(number), SIG_DFL);
        EXPECT_FALSE(window.state().workingCopy.isOpen());
        EXPECT_FALSE(std::filesystem::exists(copy));
        EXPECT_FALSE(std::filesystem::exists(platform.dir.file("pl.bmp")));
        EXPECT_EQ(readFileBytes(chosen), sampleVswap());
        EXPECT_TRUE(platform.errors.empty());
    }
}

TEST(TerminationSignalsTest, SignalWhileAMessageBoxWaitsClosesTheBoxAndTheWindow)
{
    const SignalDisposition byDefault(SIGTERM, SIG_DFL);
    FakePlatform platform;
    TForm1 window(platform);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const TerminationSignals termination(window);

    QMessageBox box(QMessageBox::Critical, QStringLiteral("Pagelark"), QStringLiteral("File not found"),
                    QMessageBox::Ok, &window);
    QTimer::singleShot(0, [] { std::raise(SIGTERM); });
    bool leftWaiting = false;
    QTimer::singleShot(5000, &box, [&] {
        leftWaiting = true;
        box.done(0);
    });
    box.exec();

    EXPECT_FALSE(leftWaiting) << "the signal left the message box waiting for an answer";
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(termination.received(), SIGTERM);
}

// Started with SIGHUP ignored (nohup), the program goes on running at logout.
TEST(TerminationSignalsTest, SignalIgnoredAtTheStartStaysIgnored)
{
    const SignalDisposition ignored(SIGHUP, SIG_IGN);
    FakePlatform platform;
    TForm1 window(platform);
    {
        const TerminationSignals termination(window);
        EXPECT_EQ(handlerOf(SIGHUP), SIG_IGN);
        EXPECT_NE(handlerOf(SIGTERM), SIG_DFL);
    }
    EXPECT_EQ(handlerOf(SIGHUP), SIG_IGN);
}

}  // namespace
}  // namespace pagelark::testing
