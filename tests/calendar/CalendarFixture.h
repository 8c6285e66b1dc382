#pragma once

// A calendar in a recording host with a recording picture box, dated by pinned
// Swedish date services. The shared name, holiday and text tables are globals:
// every test starts and ends with them empty.

#include "calendar/Calendar.h"
#include "common/CommonProcedures.h"
#include "common/HostValue.h"
#include "common/SharedTables.h"
#include "platform/StdDateServices.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/RecordingSurface.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace velmar::test {

inline void ResetSharedTables() {
    HolidayFlags.fill(0);
    HolidayLabels.Clear();
    DayTypeNames.fill("");
    DayTypeLongNames.fill("");
    TextData.clear();
    TextIndex.clear();
    TextCount = 0;
}

inline void AddHoliday(std::int64_t dayOffset, std::string label, bool viewInCalendar) {
    HolidayFlags[dayOffset] = 1;
    auto holiday = std::make_shared<cHolidayLabel>();
    holiday->m_Day = static_cast<std::int16_t>(dayOffset);
    holiday->m_ViewInCalendar = viewInCalendar ? -1 : 0;
    holiday->m_Label = std::move(label);
    HolidayLabels.Add(holiday);
}

// A schedule built from its record: for each listed day type its in-use flag
// and periods (start, stop); day types not listed are not in use.
struct DayTypePeriods {
    bool Active = true;
    std::vector<std::pair<std::int16_t, std::int16_t>> Periods;
};

inline SchedulePtr MakeSchedule(const std::map<int, DayTypePeriods>& dayTypes) {
    std::vector<std::int16_t> values;
    for (int dayType = 0; dayType < kDayTypeCount; ++dayType) {
        const auto found = dayTypes.find(dayType);
        if (found == dayTypes.end()) {
            values.insert(values.end(), {0, 0, 0, 0});
            continue;
        }
        values.push_back(found->second.Active ? -1 : 0);
        values.push_back(0);
        values.push_back(static_cast<std::int16_t>(found->second.Periods.size()));
        for (const auto& [start, stop] : found->second.Periods) {
            values.push_back(start);
            values.push_back(stop);
        }
        values.push_back(0);
    }
    values.push_back(0);
    // The text form: two characters per value, high byte first.
    std::string text;
    for (const std::int16_t value : values) {
        const auto bits = static_cast<std::uint16_t>(value);
        text.push_back(static_cast<char>(bits >> 8));
        text.push_back(static_cast<char>(bits & 0xFF));
    }
    auto schedule = std::make_shared<cTimeSchedule>();
    schedule->ExtractPeriodArray(text);
    return schedule;
}

class CalendarFixture : public ::testing::Test {
protected:
    static constexpr Colour kBackground = Rgb(236, 233, 216);
    static constexpr Colour kGreyText = Rgb(128, 128, 128);
    static constexpr Colour kButtonText = Rgb(0, 0, 0);

    CalendarFixture() {
        ResetSharedTables();
        Pin(CivilDate{2010, 2, 14});
        host.Answer("Set_Text_Calendar_Month", [this](RecordingHost::Arguments args) {
            captions.push_back(HostText(args[0]));
            return HostValue{};
        });
        host.Answer("Draw_ImageList_ListImages", [](RecordingHost::Arguments) { return HostValue{}; });
    }

public:
    ~CalendarFixture() override { ResetSharedTables(); }

protected:
    // Pins today's date (Swedish names, ISO weeks unless settings say otherwise).
    void Pin(CivilDate today, StdDateSettings settings = StdDateSettings::Swedish()) {
        settings.Today = today;
        calendar.SetDateServices(std::make_shared<StdDateServices>(settings));
    }

    void Show(std::int32_t year, std::int32_t month) {
        calendar.m_SelectedYear = year;
        calendar.m_SelectedMonth = month;
        calendar.RecalculateAndPrepareToPaint(host, &surface);
    }

    void ShowAndPaint(std::int32_t year, std::int32_t month) {
        Show(year, month);
        calendar.Paint(host, &surface);
    }

    std::vector<SurfaceOperation> Ops(SurfaceOperation::Kind kind) const {
        return surface.OperationsOf(kind);
    }

    // The texts printed at exactly (x, y).
    std::vector<std::string> PrintedAt(double x, double y) const {
        std::vector<std::string> texts;
        for (const auto& op : Ops(SurfaceOperation::Kind::Print)) {
            if (op.X1 == x && op.Y1 == y) {
                texts.push_back(op.Text);
            }
        }
        return texts;
    }

    // Day offset of a date.
    static std::int32_t Offset(int year, int month, int day) {
        return static_cast<std::int32_t>(DayOffsetOf(year, month, day));
    }

    cCalendar calendar;
    RecordingHost host;
    RecordingSurface surface{320, 180, kBackground};
    std::vector<std::string> captions;
};

} // namespace velmar::test
