#pragma once

// Schedules, hosts and surfaces for the tests of the schedule editor.

#include "common/HostValue.h"
#include "common/SharedTables.h"
#include "schedule/PeriodArray.h"
#include "schedule/TimeSchedule.h"
#include "schedule_view/TimeScheduleView.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/RecordingSurface.h"

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace velmar::test {

// Builds a schedule through its text form, so tests can set any field the
// file record carries. Starts like a new schedule: day types 0..6 in use.
class ScheduleBuilder {
public:
    ScheduleBuilder() {
        for (int d = 0; d < 7; ++d) {
            m_Days[static_cast<std::size_t>(d)].Active = -1;
        }
    }
    ScheduleBuilder& Active(int dayType, std::int16_t value = -1) {
        Day(dayType).Active = value;
        return *this;
    }
    ScheduleBuilder& Grouped(int dayType, std::int16_t value = -1) {
        Day(dayType).Grouped = value;
        return *this;
    }
    ScheduleBuilder& Period(int dayType, std::int16_t start, std::int16_t stop) {
        Day(dayType).Periods.emplace_back(start, stop);
        return *this;
    }
    ScheduleBuilder& UseCalendar(std::int16_t value = -1) {
        m_UseCalendar = value;
        return *this;
    }
    void Into(cTimeSchedule& schedule) const {
        std::string text;
        auto put = [&text](std::int16_t value) { text += IntegerToChars(value); };
        for (const auto& day : m_Days) {
            put(day.Active);
            put(day.Grouped);
            put(static_cast<std::int16_t>(day.Periods.size()));
            for (const auto& [start, stop] : day.Periods) {
                put(start);
                put(stop);
            }
            put(0);
        }
        put(m_UseCalendar);
        schedule.ExtractPeriodArray(text);
    }

private:
    struct DayPlan {
        std::int16_t Active = 0;
        std::int16_t Grouped = 0;
        std::vector<std::pair<std::int16_t, std::int16_t>> Periods;
    };
    DayPlan& Day(int dayType) { return m_Days.at(static_cast<std::size_t>(dayType)); }

    std::array<DayPlan, kDayTypeCount> m_Days;
    std::int16_t m_UseCalendar = 0;
};

// The periods of a day type as (start, stop) pairs, in collection order.
inline std::vector<std::pair<int, int>> Times(const cTimeSchedule& schedule, int dayType) {
    std::vector<std::pair<int, int>> times;
    for (const auto& period : schedule.Periods(static_cast<std::int16_t>(dayType))) {
        times.emplace_back(period->m_StartMinute, period->m_StopMinute);
    }
    return times;
}

// A host like the editor's window: a 340 x 200 frame, a 16 pixel scroll bar at
// x = 324, 14 x 14 images, the view-day-type check box off, and two time boxes
// whose texts a test sets. Every other name is answered with nothing.
class EditorHost : public RecordingHost {
public:
    EditorHost() : RecordingHost(true) {
        Answer("Get_Picture_TimeSchedule_Frame_ScaleWidth",
               [](Arguments) { return HostValue(std::int16_t{340}); });
        Answer("Get_Picture_TimeSchedule_Frame_ScaleHeight",
               [](Arguments) { return HostValue(std::int16_t{200}); });
        Answer("Get_VScroll_Schedule_Width", [](Arguments) { return HostValue(std::int16_t{16}); });
        Answer("Get_VScroll_Schedule_Left", [](Arguments) { return HostValue(std::int16_t{324}); });
        Answer("Get_ImageList_ImageHeight", [](Arguments) { return HostValue(std::int16_t{14}); });
        Answer("Get_ImageList_ImageWidth", [](Arguments) { return HostValue(std::int16_t{14}); });
        Answer("Get_Check_TimeSchedule_ViewDayType", [this](Arguments) { return HostValue(ViewDayType); });
        Answer("Get_Menu_TimeSchedulePopup_Grouped_MonFri_Checked",
               [this](Arguments) { return HostValue(MonFriChecked); });
        Answer("Get_Text_Schedule_Period_Start", [this](Arguments) { return HostValue(StartText); });
        Answer("Get_Text_Schedule_Period_Stop", [this](Arguments) { return HostValue(StopText); });
    }

    // The arguments (references resolved) of every call of `name`, in order.
    std::vector<std::vector<HostValue>> ValuesOf(const std::string& name) const {
        std::vector<std::vector<HostValue>> found;
        for (const auto& call : Calls()) {
            if (call.Name == name) {
                found.push_back(call.Values);
            }
        }
        return found;
    }
    // The text argument of the last call of `name`, or "(none)".
    std::string LastText(const std::string& name) const {
        const auto values = ValuesOf(name);
        return values.empty() ? "(none)" : HostText(values.back().at(0));
    }
    std::size_t CountOf(const std::string& name) const { return ValuesOf(name).size(); }

    std::int16_t ViewDayType = 0;
    std::int16_t MonFriChecked = 0;
    std::string StartText;
    std::string StopText;
};

// Names the tests rely on; restored when the test ends.
class DayTypeNamesScope {
public:
    DayTypeNamesScope() : m_Names(DayTypeNames), m_LongNames(DayTypeLongNames) {
        const auto names = std::to_array<const char*>({"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"});
        for (int d = 0; d < 7; ++d) {
            DayTypeNames[d] = names[d];
        }
        for (int d = 0; d < kDayTypeCount; ++d) {
            DayTypeLongNames[d] = "Day type " + std::to_string(d);
        }
    }
    ~DayTypeNamesScope() {
        DayTypeNames = m_Names;
        DayTypeLongNames = m_LongNames;
    }
    DayTypeNamesScope(const DayTypeNamesScope&) = delete;
    DayTypeNamesScope& operator=(const DayTypeNamesScope&) = delete;

private:
    FixedTable<std::string, kDayTypeCount> m_Names;
    FixedTable<std::string, kDayTypeCount> m_LongNames;
};

// Background of the test surfaces: distinct from every colour the grid draws.
constexpr Colour kBackground = Rgb(1, 2, 3);

// A schedule laid out and painted on a 324 x (rows * 25 + 4) recording surface.
struct Editor {
    cTimeSchedule Schedule;
    TimeScheduleView View{Schedule};
    EditorHost Host;
    RecordingSurface Surface;
    IDrawingSurface* SurfaceVariable = nullptr;

    explicit Editor(const ScheduleBuilder& builder, int height = 179) : Surface(324, height, kBackground) {
        builder.Into(Schedule);
        View.RecalculateAndPrepareToPaint(Host, SurfaceVariable, &Surface);
        View.Paint(Host, SurfaceVariable);
        Host.ClearCalls();
        Surface.ClearOperations();
    }

    // Mouse events at pixel (x, y).
    void Down(float x, float y, std::int16_t button = 1) {
        View.MouseDown(Host, SurfaceVariable, button, 0, x, y);
    }
    void Move(float x, float y) { View.MouseMove(Host, SurfaceVariable, 1, 0, x, y); }
    void Up(float x, float y) { View.MouseUp(Host, SurfaceVariable, 1, 0, x, y); }
    // A left click: press and release at the same place.
    void Click(float x, float y) {
        Down(x, y);
        Up(x, y);
    }
    // The x of a minute at scale 1, and the y inside the band of a row.
    static float X(int minute) { return 30.0F + static_cast<float>(minute) / 5.0F; }
    static float Y(int row) { return 25.0F * static_cast<float>(row) + 10.0F; }
};

} // namespace velmar::test
