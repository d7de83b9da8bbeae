#pragma once

#include "archive/file_descriptor.h"

#include <array>
#include <functional>
#include <memory>
#include <signal.h>

class QSocketNotifier;
class QWidget;

namespace pagelark {

// While it lives, SIGTERM, SIGINT and SIGHUP (the end of the session) close
// the window as the user would, so that its clean-up runs, and then end the
// event loop. The handler only writes the signal's number to a socket; the
// window is closed from the event loop, where anything may be done. A signal
// that is ignored at the start (SIGHUP under nohup) stays ignored, and each
// signal's earlier handling returns when the object goes. One at a time.
// A window that must not ask anything when closed this way, since nobody may
// be there to answer, gives the way it is closed instead.
class TerminationSignals {
public:
    explicit TerminationSignals(QWidget& window, std::function<void()> closeWithoutAsking = {});
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // The signal that arrived last, 0 when none did.
    int received() const { return received_; }

private:
    static constexpr std::array<int, 3> Handled{SIGTERM, SIGINT, SIGHUP};

    void closeWindow();

    QWidget& window_;
    std::function<void()> closeWithoutAsking_;
    FileDescriptor readEnd_;
    FileDescriptor writeEnd_;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::array<struct sigaction, Handled.size()> previous_{};
    std::array<bool, Handled.size()> taken_{};
    int received_ = 0;
};

}  // namespace pagelark
