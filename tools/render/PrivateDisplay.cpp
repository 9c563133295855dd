#include "PrivateDisplay.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// How long a starting server may take to name its display: far more than
// it needs on a loaded machine, and the limit of a server that hangs.
constexpr int kStartSeconds = 60;

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr std::size_t kStopSignalCount = sizeof kStopSignals / sizeof kStopSignals[0];
struct sigaction previousActions[kStopSignalCount];

// The private server's process; 0 when none runs. Read by the signal handler.
volatile sig_atomic_t serverPid = 0;

// xcb, unlike Xlib, says nothing on the standard error stream when a
// display refuses the connection. A connection that opens stays open while
// the tool runs: were it the server's only client, its leaving would reset
// a server started without -noreset (as xvfb-run starts it), and the
// window's connection, made just then, would be refused.
bool displayOpens() {
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0') return false;
    xcb_connection_t* connection = xcb_connect(name, nullptr);
    if (xcb_connection_has_error(connection) == 0) return true;
    xcb_disconnect(connection);
    return false;
}

// The program's path as the shell would find it on PATH; empty when none.
std::string findOnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
    for (std::size_t start = 0; start <= folders.size();) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos) end = folders.size();
        const std::string folder = end > start ? folders.substr(start, end - start) : ".";
        const std::string candidate = folder + "/" + program;
        struct stat status;
        if (stat(candidate.c_str(), &status) == 0 && S_ISREG(status.st_mode) && access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return {};
}

// Only system calls: also run from the signal handler.
void stopServer() {
    const pid_t pid = serverPid;
    if (pid <= 0) return;
    serverPid = 0;
    kill(pid, SIGTERM);
    while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
}

void onStopSignal(int signal) {
    const int saved = errno;
    stopServer();
    // Then the signal does what it did before: as a rule, end the process.
    for (std::size_t i = 0; i < kStopSignalCount; ++i)
        if (kStopSignals[i] == signal) sigaction(signal, &previousActions[i], nullptr);
    raise(signal);
    errno = saved;
}

void installStopHandlers() {
    std::atexit(StopPrivateDisplay);
    for (std::size_t i = 0; i < kStopSignalCount; ++i) {
        sigaction(kStopSignals[i], nullptr, &previousActions[i]);
        if (previousActions[i].sa_handler == SIG_IGN) continue;  // ignored by whoever started the tool
        struct sigaction action {};
        action.sa_handler = onStopSignal;
        sigemptyset(&action.sa_mask);
        sigaction(kStopSignals[i], &action, nullptr);
    }
}

// In the child between fork and exec: system calls only. The server gets a
// process group of its own (a terminal's Ctrl-C reaches the tool, which
// stops it), dies with the tool, and writes its display number to numberFd.
[[noreturn]] void execServer(char* const* argv, int numberFd, pid_t tool, const sigset_t& mask) {
    setpgid(0, 0);
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != tool) _exit(127);  // the tool ended before the line above
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    for (int signal : kStopSignals) sigaction(signal, &byDefault, nullptr);
    sigprocmask(SIG_SETMASK, &mask, nullptr);
    fcntl(numberFd, F_SETFD, 0);
    const int quiet = open("/dev/null", O_RDWR);
    if (quiet >= 0) {
        dup2(quiet, STDIN_FILENO);
        dup2(quiet, STDOUT_FILENO);
        dup2(quiet, STDERR_FILENO);
    }
    execv(argv[0], argv);
    _exit(127);
}

// Starts the server; the read end of its display number's pipe, or -1 with
// errno set.
int startServer(const std::string& program, int width, int height) {
    int channel[2];
    if (pipe2(channel, O_CLOEXEC) != 0) return -1;
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    std::vector<std::string> arguments{program, "-displayfd", std::to_string(channel[1]), "-screen", "0", screen,
                                       "-nolisten", "tcp"};
    std::vector<char*> argv;
    for (std::string& a : arguments) argv.push_back(&a[0]);
    argv.push_back(nullptr);
    // No stop signal between the fork and the pid's record.
    sigset_t stops, before;
    sigemptyset(&stops);
    for (int signal : kStopSignals) sigaddset(&stops, signal);
    sigprocmask(SIG_BLOCK, &stops, &before);
    const pid_t tool = getpid();
    const pid_t pid = fork();
    const int forkError = errno;
    if (pid == 0) execServer(argv.data(), channel[1], tool, before);
    if (pid > 0) serverPid = pid;
    sigprocmask(SIG_SETMASK, &before, nullptr);
    close(channel[1]);
    if (pid > 0) return channel[0];
    close(channel[0]);
    errno = forkError;
    return -1;
}

// The display number the server writes once it accepts connections; empty
// when it ended first or took too long.
std::string readDisplayNumber(int fd) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kStartSeconds);
    std::string number;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return {};
        pollfd wanted{fd, POLLIN, 0};
        const int ready = poll(&wanted, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return {};
        char c;
        const ssize_t got = read(fd, &c, 1);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0 || c == '\n') return number;
        if (c < '0' || c > '9') return {};
        number += c;
    }
}

}  // namespace

std::string ProvideDisplay(int width, int height) {
    if (displayOpens()) return {};
    const std::string xvfb = findOnPath("Xvfb");
    if (xvfb.empty())
        return "logo3d-render needs an X display or Xvfb: DISPLAY is unset or cannot be opened, and Xvfb is not installed";
    static const bool handlersInstalled = (installStopHandlers(), true);
    (void)handlersInstalled;
    const int numberFd = startServer(xvfb, std::max(width, 640), std::max(height, 480));
    if (numberFd < 0) return std::string("cannot start Xvfb: ") + std::strerror(errno);
    const std::string number = readDisplayNumber(numberFd);
    close(numberFd);
    if (number.empty()) {
        StopPrivateDisplay();
        return "Xvfb did not start, and no other display can be opened (DISPLAY is unset or unusable)";
    }
    setenv("DISPLAY", (":" + number).c_str(), 1);
    return {};
}

void StopPrivateDisplay() { stopServer(); }
