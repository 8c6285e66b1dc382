#pragma once

#include "window/Timer.h"

#include <QTimer>
#include <cstdint>
#include <functional>

namespace velmar {

// The timer `Timer_Reload` on a QTimer.
class QtTimer : public ITimer {
public:
    QtTimer();
    void SetInterval(std::int32_t milliseconds) override;
    std::int32_t Interval() const override { return m_Timer.interval(); }
    void SetEnabled(bool enabled) override;
    bool Enabled() const override { return m_Timer.isActive(); }
    void SetTickHandler(std::function<void()> handler) override { m_Handler = std::move(handler); }

private:
    QTimer m_Timer;
    std::function<void()> m_Handler;
};

} // namespace velmar
