#pragma once

#include <string>
#include <sys/types.h>

namespace pagelark::testing {

// A sound server of the test run's own: PulseAudio with one null output
// (named "null", whose monitor "null.monitor" records what is played), in
// the private runtime folder the environment names. Started by the
// constructor, ended with the object or with the test process itself.
class PrivateSoundServer {
public:
    // runtimeDir: the private runtime folder (XDG_RUNTIME_DIR); logDir: where the server's log goes.
    PrivateSoundServer(const std::string& runtimeDir, const std::string& logDir);
    ~PrivateSoundServer();
    PrivateSoundServer(const PrivateSoundServer&) = delete;
    PrivateSoundServer& operator=(const PrivateSoundServer&) = delete;

    // Why the server is not running; empty while it runs.
    const std::string& problem() const { return problem_; }

private:
    void stop();

    pid_t pid_ = -1;
    std::string problem_;
};

// The test run's server; set by the test program's main.
void setSoundServer(const PrivateSoundServer* server);
// Why sounds cannot be heard in this run, or empty when they can.
std::string soundServerProblem();

}  // namespace pagelark::testing
