#include "platform/qt/QtStopSignals.h"

namespace velmar {

void InstallStopSignals(std::function<void()> /*onStop*/) {
    // Windows ends a program through the session or the task manager, which
    // arrive as close requests.
}

} // namespace velmar
