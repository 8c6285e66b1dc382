#include "window/qt/QtTimer.h"

namespace velmar {

QtTimer::QtTimer() {
    m_Timer.setTimerType(Qt::CoarseTimer);
    QObject::connect(&m_Timer, &QTimer::timeout, [this] {
        if (m_Handler) {
            m_Handler();
        }
    });
}

void QtTimer::SetInterval(std::int32_t milliseconds) {
    m_Timer.setInterval(milliseconds);
}

void QtTimer::SetEnabled(bool enabled) {
    if (enabled) {
        m_Timer.start();
    } else {
        m_Timer.stop();
    }
}

} // namespace velmar
