#pragma once

#include "calendar/HolidayLabel.h"
#include "common/FixedTable.h"
#include "common/SharedTables.h"
#include "schedule/TimeSchedule.h"

#include <cstdint>
#include <memory>
#include <string>

namespace velmar {

class ICalendarHost;
class IDrawingSurface;
class IDateServices;

// A calendar: one day-type code for every date from 1 January 2000 (day offset
// 0) to 31 December 2039 (day offset 14609). Code 0 means the date follows its
// weekday; code k from 1 to 23 means schedule day type k - 1. Besides the table
// and its file the class carries the month-view editor that a host window
// embeds: it draws one month into the host's picture box and paints codes onto
// dates with the mouse.
class cCalendar {
public:
    // Readable and writable properties, in interface order.
    std::int32_t m_SelectedMonth = 0;             // month to show, normally 1..12; set by the host
    std::int32_t m_SelectedYear = 0;              // year to show; set by the host
    std::int32_t m_ActualMonthOffset = 0;         // day offset of day 1 of the shown month (computed)
    std::int32_t m_FirstWeekDayInActualMonth = 0; // weekday of that day, 0 = Monday .. 6 = Sunday (computed)
    std::int32_t m_DaysInActualMonth = 0;         // days of the shown month (computed)
    std::int32_t m_TodaysDayOffset = 0;           // day offset of today's local date (computed)
    std::int16_t m_ShowTimeAxis = 0;              // 16-bit boolean: draw a time axis in every date box
    SchedulePtr m_AssociatedTimeSchedule;         // schedule whose periods the time axis shows, or none

    // A calendar with every code 0, dated by the standard-library date services
    // (the system clock, English month names, ISO week numbers).
    cCalendar();

    // The operations, in interface order.

    // Kept in the interface; does nothing.
    void notused_CalcIfDayTypeIsUsed();
    // Whether the calendar uses a schedule day type. Nothing fills that table, so
    // the answer is false (0) for every day type; OutOfRangeError outside 0..22.
    std::int16_t IsDayTypeUsed(std::int16_t DayType) const;
    // Reads the 14,610 codes of a calendar file. False (0) and the table unchanged
    // when FileExists does not find the file. A shorter file leaves code 0 for
    // every date beyond its end. FileError when the file cannot be opened or read;
    // the codes read before the error stay.
    std::int16_t ReadFromDisk(const std::string& CalendarName);
    // Writes the 14,610 codes over the first 29,220 bytes of the file, creating
    // it when missing; bytes beyond them stay. True (-1); FileError on failure.
    std::int16_t SaveToDisk(const std::string& CalendarName) const;
    // True (-1) when the file's first 14,610 codes equal the table (a shorter
    // file counts as 0 beyond its end, a longer file's tail is ignored); false
    // (0) on the first difference or when FileExists does not find the file.
    std::int16_t CompareToDisk(const std::string& CalendarName) const;
    // True (-1) when the other calendar holds the same code for every date.
    // InvalidArgumentError when there is no other calendar.
    std::int16_t CompareToOtherCalendar(const cCalendar* OtherCalendar) const;
    // Paints the combo box's selected code onto the date under the pointer and
    // records the button for the moves that follow. Errors reach the host.
    void MouseDown(ICalendarHost& m_ParentContainer, IDrawingSurface* m_CalendarPaintObject,
                   std::int16_t Button, std::int16_t Shift, float X, float Y);
    // Ends mouse painting; all arguments are ignored.
    void MouseUp(std::int16_t Button, std::int16_t Shift, float X, float Y);
    // Computes the month fields from m_SelectedMonth and m_SelectedYear (months
    // outside 1..12 roll into the neighbouring years) and today's offset, and
    // returns mouse painting to idle. OverflowError for a month or year beyond
    // 16 bits. Both arguments are ignored.
    void RecalculateAndPrepareToPaint(ICalendarHost& m_ParentObject, IDrawingSurface* CalendarPaintObject);
    // Paints while a button is held and updates the pointer tip whenever the
    // pointer enters another date box. Never raises an error: a failing step is
    // skipped and the next one runs.
    void MouseMove(ICalendarHost& m_ParentContainer, IDrawingSurface* m_CalendarPaintObject,
                   std::int16_t Button, std::int16_t Shift, float X, float Y);
    // Draws the box of day DateToPaintInActualMonth (0-based) of the shown month.
    // OutOfRangeError, right after the box was cleared, for a date outside the table.
    void PaintDateBox(ICalendarHost& m_ParentContainer, IDrawingSurface* m_CalendarPaintObject,
                      std::int32_t DateToPaintInActualMonth);
    // Stores a code; OutOfRangeError for a day offset outside 0..14609.
    void SetDayType(std::int32_t TheDay, std::int16_t DayType);
    // The stored code; OutOfRangeError for a day offset outside 0..14609.
    std::int16_t GetDayType(std::int32_t TheDay) const;
    // Draws the grid, the headings, the week numbers and every date box of the
    // shown month over what the picture box holds, and hands the caption to the host.
    void Paint(ICalendarHost& m_ParentContainer, IDrawingSurface* m_CalendarPaintObject);

    // Outside the automation interface.

    // Replaces the source of today's date, month names, week numbers and system
    // colours; a null pointer restores the standard-library services.
    void SetDateServices(std::shared_ptr<const IDateServices> services);
    const IDateServices& DateServices() const { return *m_DateServices; }
    // Mouse state, read only, for hosts and tests.
    std::int16_t MouseButton() const { return m_MouseButton; }
    std::int16_t PaintDayType() const { return m_PaintDayType; }
    std::int32_t LastMouseDayValue() const { return LastMouseDay; }

private:
    // Day (0-based) of the shown month whose box holds (X, Y), or -1 outside
    // the grid and on empty cells.
    std::int16_t GetDateBoxAtPosition(float X, float Y) const;

    FixedTable<std::int16_t, kCalendarDays> m_DayTypes;
    FixedTable<std::int16_t, kDayTypeCount> m_DayTypeUsed;
    std::int16_t m_MouseButton = 0;
    std::int16_t m_PaintDayType = 0;
    // Starts at -1, not 0, and RecalculateAndPrepareToPaint sets it back to -1:
    // otherwise the first move onto day 0 of a new calendar, or onto the day
    // number last seen in the previous month, would leave the tip of the old date.
    std::int32_t LastMouseDay = -1;
    std::shared_ptr<const IDateServices> m_DateServices;
};

} // namespace velmar
