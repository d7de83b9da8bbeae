#include "app/desktop/termination_signals.h"

#include "archive/run_error.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>

#include <atomic>
#include <cerrno>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace pagelark {

namespace {

// The handler may only touch what is safe in a signal handler: a lock-free
// atomic and write(2).
std::atomic<int> signalWriteEnd{-1};
static_assert(std::atomic<int>::is_always_lock_free);

void noteSignal(int number)
{
    const int savedErrno = errno;
    const int fd = signalWriteEnd.load();
    if (fd >= 0) {
        const char byte = static_cast<char>(number);
        // A full socket already holds a signal still to be handled: nothing is lost.
        [[maybe_unused]] const ssize_t put = ::write(fd, &byte, 1);
    }
    errno = savedErrno;
}

}  // namespace

TerminationSignals::TerminationSignals(QWidget& window, std::function<void()> closeWithoutAsking)
    : window_(window), closeWithoutAsking_(std::move(closeWithoutAsking))
{
    if (signalWriteEnd.load() >= 0)
        throw RunError::message("Termination signals are already handled");
    int ends[2];
    // Non-blocking, so that neither the handler nor the reader can ever wait.
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, ends) != 0)
        throw RunError::fromErrno(errno);
    readEnd_ = FileDescriptor(ends[0]);
    writeEnd_ = FileDescriptor(ends[1]);

    notifier_ = std::make_unique<QSocketNotifier>(readEnd_.get(), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this] { closeWindow(); });
    signalWriteEnd.store(writeEnd_.get());

    struct sigaction action {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < Handled.size(); ++i) {
        if (::sigaction(Handled[i], nullptr, &previous_[i]) != 0 || previous_[i].sa_handler == SIG_IGN)
            continue;
        taken_[i] = ::sigaction(Handled[i], &action, nullptr) == 0;
    }
}

TerminationSignals::~TerminationSignals()
{
    for (std::size_t i = 0; i < Handled.size(); ++i) {
        if (taken_[i])
            ::sigaction(Handled[i], &previous_[i], nullptr);
    }
    signalWriteEnd.store(-1);
}

void TerminationSignals::closeWindow()
{
    char numbers[16];
    ssize_t got;
    while ((got = retryOnSignal([&] { return ::read(readEnd_.get(), numbers, sizeof numbers); })) > 0)
        received_ = numbers[got - 1];
    // A message box or dialog open (one at start-up comes before the event
    // loop runs) would otherwise keep the program waiting for an answer.
    while (QWidget* modal = QApplication::activeModalWidget()) {
        if (!modal->close())
            break;
    }
    if (closeWithoutAsking_)
        closeWithoutAsking_();
    else
        window_.close();
    // Does nothing outside the event loop; inside it, ends any dialog's loop too.
    QCoreApplication::quit();
}

}  // namespace pagelark
