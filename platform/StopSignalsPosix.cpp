#include "common/Errors.h"
#include "platform/StopSignals.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif
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

// The waits of the console loop end when they are due: Linux lets a timer of
// an ordinary process fire up to 50 microseconds late unless told otherwise.
#ifdef __linux__
void WaitExactly() {
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
}
#else
void WaitExactly() {}
#endif

struct sigaction g_OldInt {};
struct sigaction g_OldTerm {};
struct sigaction g_OldHup {};

} // namespace

ConsoleStopSignals::ConsoleStopSignals() {
    g_StopSignal = 0;
    WaitExactly();
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

void ConsoleStopSignals::Wait(std::chrono::nanoseconds duration) const {
    // The kernel may end a poll late by a thousandth of its timeout (half a
    // millisecond of the 500-millisecond wait before a reload): a long wait
    // ends that much early, and the caller waits the rest, whose slack is the
    // timer's least (50 microseconds).
    constexpr auto kExact = std::chrono::milliseconds(2);
    auto wanted = std::max(duration, std::chrono::nanoseconds(0));
    if (wanted > kExact) {
        wanted -= wanted / 500;
    }
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(wanted);
    const timespec timeout{static_cast<time_t>(seconds.count()),
                           static_cast<long>((wanted - seconds).count())};
    pollfd wake{g_WakePipe[0], POLLIN, 0};
    if (ppoll(&wake, 1, &timeout, nullptr) > 0) {
        std::array<char, 64> drain{};
        while (read(g_WakePipe[0], drain.data(), drain.size()) > 0) {
        }
    }
}

} // namespace velmar
