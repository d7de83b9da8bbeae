#pragma once

#include "tests/sound/sound_match.h"

#include <QByteArray>
#include <QProcess>

#include <cstdint>
#include <string>
#include <vector>

namespace pagelark::testing {

// Records what the private sound server plays, as 8-bit unsigned mono
// samples at RecordingRate (128 is silence), with parec on the null
// output's monitor. Samples come in while Qt's event loop runs.
class MonitorRecorder {
public:
    MonitorRecorder() = default;
    ~MonitorRecorder();
    MonitorRecorder(const MonitorRecorder&) = delete;
    MonitorRecorder& operator=(const MonitorRecorder&) = delete;

    // Starts recording and waits until samples arrive; why it failed, or empty.
    std::string start();

    // The number of samples recorded so far: a mark to take what follows it.
    std::size_t mark();
    // The samples recorded from a mark on.
    std::vector<std::uint8_t> since(std::size_t mark);

private:
    void collect();

    QProcess parec_;
    QByteArray samples_;
};

}  // namespace pagelark::testing
