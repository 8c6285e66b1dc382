// cCalendar: painting day-type codes onto dates with the mouse, and the
// pointer tip that names the code and the holiday of the date under the pointer.

#include "calendar/Calendar.h"
#include "calendar/ICalendarHost.h"
#include "common/Errors.h"
#include "common/Numeric.h"
#include "platform/DrawingSurface.h"

#include <algorithm>
#include <cmath>
#include <exception>

namespace velmar {

namespace {

IDrawingSurface& SurfaceOf(IDrawingSurface* surface) {
    if (surface == nullptr) {
        throw InvalidArgumentError("no picture box");
    }
    return *surface;
}

// One step of MouseMove: a step that fails is skipped and the next one runs.
// Returns whether the step completed.
template <typename Step> bool Attempt(Step&& step) {
    try {
        step();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace

std::int16_t cCalendar::GetDateBoxAtPosition(float X, float Y) const {
    // A position that is not a number fails every comparison below; it is off the grid too.
    if (!std::isfinite(X) || !std::isfinite(Y) || X <= 30 || X >= 310 || Y <= 20 || Y >= 170) {
        return -1;
    }
    // The position is rounded (halves to even) before the division, as the
    // integer division of a single-precision value does. The last half unit
    // before the right or bottom edge rounds onto the edge itself; it still
    // belongs to the last column or row, not to a box beyond the grid.
    const long long row = std::min(static_cast<long long>(RoundHalfEven(Y - 20.0)) / 25, 5LL);
    const long long column = std::min(static_cast<long long>(RoundHalfEven(X - 30.0)) / 40, 6LL);
    const long long day = row * 7 - m_FirstWeekDayInActualMonth + column;
    if (day < 0 || day >= m_DaysInActualMonth) {
        return -1;
    }
    return static_cast<std::int16_t>(day);
}

void cCalendar::MouseDown(ICalendarHost& m_ParentContainer, IDrawingSurface* m_CalendarPaintObject,
                          std::int16_t Button, std::int16_t /*Shift*/, float X, float Y) {
    m_MouseButton = Button;
    if (HostIsNothing(m_ParentContainer.Get_Combo_Calendar_DayType_SelectedItem())) {
        m_PaintDayType = -1;
        return;
    }
    // The combo box's entry k stands for code k - 1.
    m_PaintDayType = HostInt16(m_ParentContainer.Get_Combo_Calendar_DayType_SelectedItem_Index());
    if (m_PaintDayType > 0) {
        m_PaintDayType = static_cast<std::int16_t>(m_PaintDayType - 1);
    }
    const std::int16_t day = GetDateBoxAtPosition(X, Y);
    if (day >= 0) {
        const long long offset = static_cast<long long>(m_ActualMonthOffset) + day;
        if (m_DayTypes[offset] != m_PaintDayType) {
            m_DayTypes[offset] = m_PaintDayType;
            PaintDateBox(m_ParentContainer, m_CalendarPaintObject, day);
        }
    }
}

void cCalendar::MouseMove(ICalendarHost& m_ParentContainer, IDrawingSurface* m_CalendarPaintObject,
                          std::int16_t /*Button*/, std::int16_t /*Shift*/, float X, float Y) {
    // Continue-on-failure: every step below runs on its own, and no error
    // reaches the host. A step that needs the result of a failed one is skipped.
    const std::int16_t day = GetDateBoxAtPosition(X, Y);
    if (day < 0) {
        Attempt([&] { SurfaceOf(m_CalendarPaintObject).SetToolTipText(""); });
    } else if (day != LastMouseDay) {
        const long long offset = static_cast<long long>(m_ActualMonthOffset) + day;

        // Painting, while a button that MouseDown recorded is held with a code to paint.
        if (m_MouseButton != 0 && m_PaintDayType != -1) {
            bool differs = false;
            Attempt([&] { differs = m_DayTypes[offset] != m_PaintDayType; });
            if (differs && Attempt([&] { m_DayTypes[offset] = m_PaintDayType; })) {
                Attempt([&] { PaintDateBox(m_ParentContainer, m_CalendarPaintObject, day); });
            }
        }

        Attempt([&] { SurfaceOf(m_CalendarPaintObject).SetToolTipText(""); });

        // The code's combo entry text, entry code + 1.
        std::int16_t code = 0;
        if (Attempt([&] { code = m_DayTypes[offset]; }) && code != 0) {
            std::string text;
            if (Attempt([&] {
                    const std::int16_t entry = ToInt16(static_cast<long long>(code) + 1, "combo entry");
                    text = HostText(m_ParentContainer.Get_Combo_Calendar_DayType_ComboItems(entry));
                })) {
                Attempt([&] { SurfaceOf(m_CalendarPaintObject).SetToolTipText(text); });
            }
        }

        // A holiday adds the name of its first label, shown in calendars or not.
        // With code 0 the tip therefore starts with the blank of " (".
        bool holiday = false;
        Attempt([&] { holiday = HolidayFlags[offset] != 0; });
        if (holiday) {
            Attempt([&] {
                for (const auto& label : HolidayLabels) {
                    if (label && label->m_Day == offset) {
                        IDrawingSurface& box = SurfaceOf(m_CalendarPaintObject);
                        box.SetToolTipText(box.ToolTipText() + " (" + label->m_Label + ")");
                        break;
                    }
                }
            });
        }
    }
    LastMouseDay = day;
}

void cCalendar::MouseUp(std::int16_t /*Button*/, std::int16_t /*Shift*/, float /*X*/, float /*Y*/) {
    m_MouseButton = 0;
    m_PaintDayType = -1;
}

} // namespace velmar
