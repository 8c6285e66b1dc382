#include "common/Errors.h"
#include "platform/StopSignals.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace velmar {

namespace {

volatile std::sig_atomic_t g_StopSignal = 0;
// A signal writes a byte into the pipe, which wakes the wait at once.
std::array<int, 2> g_WakePipe = {-1, -1};

extern "C" void OnConsoleStopSignal(int signal) {
    g_StopSignal = signal;
    const int saved = errno;
    const char byte = 1;
    // A full pipe already holds a wake-up; nothing more is needed.
    [[maybe_unused]] const auto written = write(g_WakePipe[1], &byte, 1);
    errno = saved;
}

struct sigaction g_OldInt {};
struct sigaction g_OldTerm {};
struct sigaction g_OldHup {};

} // namespace

ConsoleStopSignals::ConsoleStopSignals() {
    g_StopSignal = 0;
    if (g_WakePipe[0] < 0) {
        if (pipe(g_WakePipe.data()) != 0) {
            throw HostCallError("cannot create the signal pipe");
        }
        for (const int fd : g_WakePipe) {
            fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
            fcntl(fd, F_SETFD, FD_CLOEXEC);
        }
    }
    struct sigaction action {};
    action.sa_handler = OnConsoleStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &g_OldInt);
    sigaction(SIGTERM, &action, &g_OldTerm);
    sigaction(SIGHUP, &action, &g_OldHup);
}

ConsoleStopSignals::~ConsoleStopSignals() {
    sigaction(SIGINT, &g_OldInt, nullptr);
    sigaction(SIGTERM, &g_OldTerm, nullptr);
    sigaction(SIGHUP, &g_OldHup, nullptr);
}

int ConsoleStopSignals::Received() const {
    return static_cast<int>(g_StopSignal);
}

void ConsoleStopSignals::Wait(long long milliseconds) const {
    pollfd wake{g_WakePipe[0], POLLIN, 0};
    if (poll(&wake, 1, static_cast<int>(milliseconds)) > 0) {
        std::array<char, 64> drain{};
        while (read(g_WakePipe[0], drain.data(), drain.size()) > 0) {
        }
    }
}

} // namespace velmar
