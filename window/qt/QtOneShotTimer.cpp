#include "window/qt/QtOneShotTimer.h"

#include <algorithm>

namespace velmar {

QtOneShotTimer::QtOneShotTimer() {
    m_Timer.setSingleShot(true);
    QObject::connect(&m_Timer, &QTimer::timeout, [this] {
        // Taken out first: the handler may start the timer again.
        std::function<void()> handler = std::move(m_Handler);
        m_Handler = nullptr;
        if (handler) {
            handler();
        }
    });
}

void QtOneShotTimer::Start(std::int32_t milliseconds, std::function<void()> handler) {
    m_Handler = std::move(handler);
    m_Timer.start(std::max(milliseconds, 0));
}

} // namespace velmar
