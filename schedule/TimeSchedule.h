#pragma once

#include "common/Collection.h"
#include "common/FixedTable.h"
#include "common/SharedTables.h"
#include "schedule/TimeSchedulePeriod.h"

#include <cstdint>
#include <memory>
#include <string>

namespace velmar {

class BinaryFile;
class cCalendar;
class TimeScheduleView;

using PeriodCollection = cCollection<cTimeSchedulePeriod>;

// A profile's weekly time schedule: for each of the 23 day types (0..4 Monday to
// Friday, 5 Saturday, 6 Sunday, 7..22 day types a calendar assigns) whether it
// is in use, whether it belongs to the group, and its periods in the order they
// were added. This is the model: its file record, text form, period walk and
// the merge of overlapping periods. The grid view's operations (layout,
// painting, mouse editing and the editing operations of the host's popup menu
// and time boxes) are those of TimeScheduleView in schedule_view/, which works
// on a schedule's fields; the model neither includes nor calls the view.
class cTimeSchedule {
public:
    // Readable and writable properties.
    std::int16_t m_NumberOfAxisToPaint = 0; // rows the grid view paints
    std::int16_t m_UseCalendar = 0;         // non-zero: one row per day type in use

    cTimeSchedule();

    // The model's operations, in the order of the class's interface.

    // Walks the periods of a day type in stored order: none as LastTimePeriod
    // gives the first period, each result handed back gives the next (by
    // identity). Sets StartTime/StopTime when a period is returned.
    // OutOfRangeError for a day type outside 0..22.
    PeriodPtr GetNextTimePeriod(std::int16_t DayType, std::int16_t& StartTime, std::int16_t& StopTime,
                                const PeriodPtr& LastTimePeriod) const;
    // Kept in the interface; has no effect.
    void notused_ActivateUsedPeriods(const cCalendar* ActualCalender);
    // Remembers the selected day type for Paste (-1 when none is selected).
    void Copy();
    // Writes the schedule record at the file's position. OverflowError for a day
    // type with more than 32767 periods (the record is then incomplete).
    void SaveToDisk(BinaryFile& FileNumber) const;
    // The record as text, two characters (bytes) per 16-bit value, high byte first.
    std::string ComposePeriodArray() const;
    // Monday to Friday in use, grouped, and one more period 07:00-16:00 each.
    void SetDefaultPeriod();
    // Fills the schedule from a text of ComposePeriodArray. A text too short for
    // the values its counts call for raises InvalidArgumentError and leaves the
    // schedule exactly as it was.
    void ExtractPeriodArray(const std::string& PeriodArray);
    // Reads the schedule record at the file's position. A record that ends early
    // keeps what was read and gives 0 and no periods for the rest.
    void ReadFromDisk(BinaryFile& FileNumber);
    // Sets the day type in use (-1) for any non-zero State, else not (0). Returns 0.
    std::int16_t SetActive(std::int16_t DayType, std::int16_t State);
    // The stored in-use value of the day type, unchanged.
    std::int16_t GetActive(std::int16_t DayType) const;

    // Joins the periods of a day type that overlap or touch (one stopping at
    // the minute the next starts); a gap of one minute keeps them apart. The
    // survivor keeps its place and a merged-away selected period hands the
    // selection to it. -1 (no day type) does nothing.
    void MergeOverlappingPeriods(std::int32_t DayType);
    // The day type whose collection holds this very period object, or -1 when
    // none does (also for none).
    std::int32_t DayTypeHolding(const cTimeSchedulePeriod* period) const;

    // Inspection for tools and tests (read only).
    std::int16_t GetGrouped(std::int16_t DayType) const { return m_Grouped[DayType]; }
    std::int16_t GetAxisIndex(std::int16_t DayType) const { return m_AxisIndex[DayType]; }
    const PeriodCollection& Periods(std::int16_t DayType) const { return m_Periods[DayType]; }
    const PeriodPtr& SelectedPeriod() const { return m_SelectedPeriod; }
    std::int32_t SelectedDayType() const { return m_SelectedDayType; }
    std::int32_t CopiedDayType() const { return m_CopiedDayType; }
    std::int32_t EditStartMinute() const { return m_EditStartMinute; }
    std::int32_t EditStopMinute() const { return m_EditStopMinute; }
    float HorizontalScale() const { return m_HorizontalScale; }
    std::int16_t DragMode() const { return m_DragMode; }
    const PeriodPtr& DragPeriod() const { return m_DragPeriod; }

private:
    // The grid view edits the view and selection state below and the periods,
    // as the class's own view operations would.
    friend class TimeScheduleView;

    FixedTable<std::int16_t, kDayTypeCount> m_Active;
    FixedTable<std::int16_t, kDayTypeCount> m_Grouped;
    FixedTable<PeriodCollection, kDayTypeCount> m_Periods;
    FixedTable<std::int16_t, kDayTypeCount> m_AxisIndex;
    float m_HorizontalScale = 0;
    std::int32_t m_EditStopMinute = 0;
    std::int32_t m_EditStartMinute = 0;
    std::int16_t m_MouseButton = 0;
    float m_MouseDownX = 0;
    float m_MouseDownY = 0;
    PeriodPtr m_SelectedPeriod;
    std::int32_t m_SelectedDayType = -1;
    PeriodPtr m_DragPeriod;
    std::int32_t m_DragDayType = 0;
    std::int32_t m_CopiedDayType = -1;
    std::int32_t m_DragAnchorMinute = 0;
    std::int16_t m_DragMode = 0;
};

using SchedulePtr = std::shared_ptr<cTimeSchedule>;

} // namespace velmar
