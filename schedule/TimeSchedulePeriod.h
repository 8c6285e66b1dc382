#pragma once

#include <cstdint>
#include <memory>

namespace velmar {

// One period of a day type: start and stop in minutes after midnight
// (1440 = 24:00). Periods are shared objects; two periods are the same only
// when they are the same object, never because their times are equal.
class cTimeSchedulePeriod {
public:
    std::int16_t m_StartMinute = 0;
    std::int16_t m_StopMinute = 0;
};

using PeriodPtr = std::shared_ptr<cTimeSchedulePeriod>;

} // namespace velmar
