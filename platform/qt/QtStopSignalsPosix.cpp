#include "common/Errors.h"
#include "platform/qt/QtStopSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace velmar {

namespace {

std::array<int, 2> g_StopSockets = {-1, -1};

extern "C" void OnDesktopStopSignal(int /*signal*/) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(g_StopSockets[0], &byte, 1);
    errno = saved;
}

} // namespace

void InstallStopSignals(std::function<void()> onStop) {
    if (g_StopSockets[0] >= 0) {
        return;
    }
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_StopSockets.data()) != 0) {
        throw HostCallError("cannot create the signal socket pair");
    }
    for (const int fd : g_StopSockets) {
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
    auto* notifier = new QSocketNotifier(g_StopSockets[1], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, [onStop = std::move(onStop)] {
        std::array<char, 64> drain{};
        while (::read(g_StopSockets[1], drain.data(), drain.size()) > 0) {
        }
        onStop();
    });
    struct sigaction action {};
    action.sa_handler = OnDesktopStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

} // namespace velmar
