#include "platform/StopSignals.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <thread>

namespace velmar {

namespace {

volatile std::sig_atomic_t g_StopSignal = 0;

extern "C" void OnConsoleStopSignal(int signal) {
    g_StopSignal = signal;
}

void (*g_OldInt)(int) = nullptr;
void (*g_OldTerm)(int) = nullptr;

} // namespace

ConsoleStopSignals::ConsoleStopSignals() {
    g_StopSignal = 0;
    g_OldInt = std::signal(SIGINT, OnConsoleStopSignal);
    g_OldTerm = std::signal(SIGTERM, OnConsoleStopSignal);
}

ConsoleStopSignals::~ConsoleStopSignals() {
    std::signal(SIGINT, g_OldInt);
    std::signal(SIGTERM, g_OldTerm);
}

int ConsoleStopSignals::Received() const {
    return static_cast<int>(g_StopSignal);
}

void ConsoleStopSignals::Wait(std::chrono::nanoseconds duration) const {
    // No signal can wake a sleep here: it is cut into tenths of a second.
    std::this_thread::sleep_for(std::min<std::chrono::nanoseconds>(duration, std::chrono::milliseconds(100)));
}

} // namespace velmar
