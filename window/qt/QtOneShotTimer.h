#pragma once

#include "window/Timer.h"

#include <QTimer>
#include <cstdint>
#include <functional>

namespace velmar {

// The wait before a reload on a single-shot QTimer: the event loop runs on
// meanwhile, so the icon is drawn and the window answers.
class QtOneShotTimer : public IOneShotTimer {
public:
    QtOneShotTimer();
    void Start(std::int32_t milliseconds, std::function<void()> handler) override;

private:
    QTimer m_Timer;
    std::function<void()> m_Handler;
};

} // namespace velmar
