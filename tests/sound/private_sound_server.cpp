#include "tests/sound/private_sound_server.h"

#include "archive/file_descriptor.h"
#include "tests/support/temp_dir.h"

#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace pagelark::testing {

namespace {

constexpr auto StartTimeout = std::chrono::seconds(10);
constexpr auto StopTimeout = std::chrono::seconds(5);
constexpr int NotInstalled = 127;

const PrivateSoundServer* theServer = nullptr;

// Whether the server takes connections on its socket yet.
bool accepting(const std::string& socketPath)
{
    const FileDescriptor fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (!fd.valid() || socketPath.size() >= sizeof(address.sun_path))
        return false;
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    return ::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
}

std::string logText(const std::string& logPath)
{
    try {
        return readFileText(logPath);
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace

PrivateSoundServer::PrivateSoundServer(const std::string& runtimeDir, const std::string& logDir)
{
    const std::string logPath = logDir + "/pulseaudio.log";
    const FileDescriptor log = openDescriptor(logPath, O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (!log.valid()) {
        problem_ = "cannot write the sound server's log " + logPath;
        return;
    }
    // The null output comes before the socket, so the socket's presence says the output is there too.
    std::vector<std::string> args = {"pulseaudio",
                                     "--daemonize=no",
                                     "-n",
                                     "--exit-idle-time=-1",
                                     "--load=module-null-sink sink_name=null",
                                     "--load=module-native-protocol-unix",
                                     "--log-target=stderr"};
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid < 0) {
        problem_ = "cannot start the sound server: fork failed";
        return;
    }
    if (pid == 0) {
        // The server goes with the test process, however that ends.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent)
            ::_exit(1);
        ::dup2(log.get(), STDOUT_FILENO);
        ::dup2(log.get(), STDERR_FILENO);
        ::execvp(argv[0], argv.data());
        ::_exit(NotInstalled);
    }
    pid_ = pid;

    const std::string socketPath = runtimeDir + "/pulse/native";
    const auto deadline = std::chrono::steady_clock::now() + StartTimeout;
    while (!accepting(socketPath)) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            if (WIFEXITED(status) && WEXITSTATUS(status) == NotInstalled)
                problem_ = "pulseaudio is not installed (Debian package pulseaudio; scripts/setup installs it)";
            else
                problem_ = "the sound server pulseaudio stopped at start-up; its log:\n" + logText(logPath);
            return;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            stop();
            problem_ = "the sound server pulseaudio did not take connections in time; its log:\n" + logText(logPath);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

PrivateSoundServer::~PrivateSoundServer() { stop(); }

void PrivateSoundServer::stop()
{
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + StopTimeout;
    while (::waitpid(pid_, nullptr, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    pid_ = -1;
}

void setSoundServer(const PrivateSoundServer* server) { theServer = server; }

std::string soundServerProblem()
{
    if (theServer == nullptr)
        return "this run has no sound server";
    return theServer->problem();
}

}  // namespace pagelark::testing
