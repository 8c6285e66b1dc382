#pragma once

#include "window/Timer.h"

namespace velmar {

// The application-wide busy pointer (an override cursor).
class QtBusyPointer : public IBusyPointer {
public:
    void SetBusy(bool busy) override;

private:
    bool m_Busy = false;
};

} // namespace velmar
