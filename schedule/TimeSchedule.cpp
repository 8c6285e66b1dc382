#include "schedule/TimeSchedule.h"

#include "common/Errors.h"
#include "common/Numeric.h"
#include "platform/BinaryFile.h"
#include "schedule/PeriodArray.h"

#include <array>
#include <vector>

namespace velmar {

namespace {

constexpr int kWeekDays = 7;                // day types 0..6 are the weekdays
constexpr int kWorkingDays = 5;             // 0..4 Monday to Friday
constexpr std::int16_t kDefaultStart = 420; // 07:00
constexpr std::int16_t kDefaultStop = 960;  // 16:00

// Reads the text form's values one by one; a read past the end raises
// InvalidArgumentError before anything was stored.
class ValueReader {
public:
    explicit ValueReader(const std::string& text) : m_Text(text) {}

    std::int16_t Next() {
        if (m_Text.size() - m_Position < 2) {
            throw InvalidArgumentError("period array ends at character " + std::to_string(m_Position + 1) +
                                       " before the values its counts call for");
        }
        const std::int16_t value = CharsToInteger(m_Text[m_Position], m_Text[m_Position + 1]);
        m_Position += 2;
        return value;
    }

private:
    const std::string& m_Text;
    std::size_t m_Position = 0;
};

struct DayTypeRecord {
    std::int16_t Active = 0;
    std::int16_t Grouped = 0;
    std::vector<std::array<std::int16_t, 2>> Periods;
    std::int16_t AxisIndex = 0;
};

} // namespace

std::string IntegerToChars(std::int16_t value) {
    const auto u = static_cast<std::uint16_t>(value);
    return {static_cast<char>(u >> 8), static_cast<char>(u & 0xFF)};
}

std::int16_t CharsToInteger(char high, char low) {
    const std::int32_t sum = static_cast<unsigned char>(high) * 256 + static_cast<unsigned char>(low);
    return static_cast<std::int16_t>((sum & 0x8000) != 0 ? sum - 65536 : sum);
}

cTimeSchedule::cTimeSchedule() {
    for (int d = 0; d < kWeekDays; ++d) {
        m_Active[d] = kTrue;
    }
}

PeriodPtr cTimeSchedule::GetNextTimePeriod(std::int16_t DayType, std::int16_t& StartTime,
                                           std::int16_t& StopTime, const PeriodPtr& LastTimePeriod) const {
    if (m_Active[DayType] == 0) {
        return nullptr;
    }
    const PeriodCollection& periods = m_Periods[DayType];
    PeriodPtr result;
    if (LastTimePeriod == nullptr) {
        if (periods.Count() > 0) {
            result = periods.Item(1);
        }
    } else {
        const std::int32_t position = periods.PositionOf(LastTimePeriod.get());
        if (position > 0 && position < periods.Count()) {
            result = periods.Item(position + 1);
        }
    }
    if (result != nullptr) {
        StartTime = result->m_StartMinute;
        StopTime = result->m_StopMinute;
    }
    return result;
}

void cTimeSchedule::notused_ActivateUsedPeriods(const cCalendar* /*ActualCalender*/) {}

void cTimeSchedule::Copy() {
    m_CopiedDayType = m_SelectedDayType;
}

void cTimeSchedule::SaveToDisk(BinaryFile& FileNumber) const {
    for (int d = 0; d < kDayTypeCount; ++d) {
        FileNumber.WriteInt16(m_Active[d]);
        FileNumber.WriteInt16(m_Grouped[d]);
        const PeriodCollection& periods = m_Periods[d];
        FileNumber.WriteInt16(ToInt16(periods.Count(), "period count"));
        for (const auto& period : periods) {
            FileNumber.WriteInt16(period->m_StartMinute);
            FileNumber.WriteInt16(period->m_StopMinute);
        }
        FileNumber.WriteInt16(m_AxisIndex[d]);
    }
    FileNumber.WriteInt16(m_UseCalendar);
}

std::string cTimeSchedule::ComposePeriodArray() const {
    std::string text;
    for (int d = 0; d < kDayTypeCount; ++d) {
        const PeriodCollection& periods = m_Periods[d];
        text += IntegerToChars(m_Active[d]);
        text += IntegerToChars(m_Grouped[d]);
        text += IntegerToChars(ToInt16(periods.Count(), "period count"));
        for (const auto& period : periods) {
            text += IntegerToChars(period->m_StartMinute);
            text += IntegerToChars(period->m_StopMinute);
        }
        text += IntegerToChars(m_AxisIndex[d]);
    }
    text += IntegerToChars(m_UseCalendar);
    return text;
}

void cTimeSchedule::SetDefaultPeriod() {
    for (int d = 0; d < kWorkingDays; ++d) {
        m_Active[d] = kTrue;
        m_Grouped[d] = kTrue;
        auto period = std::make_shared<cTimeSchedulePeriod>();
        period->m_StartMinute = kDefaultStart;
        period->m_StopMinute = kDefaultStop;
        m_Periods[d].Add(std::move(period));
    }
}

void cTimeSchedule::ExtractPeriodArray(const std::string& PeriodArray) {
    // Read the whole text first: a text that is too short must leave the
    // schedule exactly as it was instead of half replaced.
    ValueReader reader(PeriodArray);
    std::array<DayTypeRecord, kDayTypeCount> records;
    for (auto& record : records) {
        record.Active = reader.Next();
        record.Grouped = reader.Next();
        const std::int16_t count = reader.Next();
        for (std::int16_t i = 0; i < count; ++i) {
            const std::int16_t start = reader.Next();
            const std::int16_t stop = reader.Next();
            record.Periods.push_back({start, stop});
        }
        record.AxisIndex = reader.Next();
    }
    const std::int16_t useCalendar = reader.Next();

    for (int d = 0; d < kDayTypeCount; ++d) {
        const DayTypeRecord& record = records[static_cast<std::size_t>(d)];
        m_Periods[d].Clear();
        m_Active[d] = record.Active;
        m_Grouped[d] = record.Grouped;
        for (const auto& [start, stop] : record.Periods) {
            auto period = std::make_shared<cTimeSchedulePeriod>();
            period->m_StartMinute = start;
            period->m_StopMinute = stop;
            m_Periods[d].Add(std::move(period));
        }
        m_AxisIndex[d] = record.AxisIndex;
    }
    m_UseCalendar = useCalendar;
}

void cTimeSchedule::ReadFromDisk(BinaryFile& FileNumber) {
    // Past the end of the file every read gives 0, so a record that ends early
    // leaves 0 and no periods for the rest. A period cut off by the end is dropped.
    for (int d = 0; d < kDayTypeCount; ++d) {
        m_Active[d] = FileNumber.ReadInt16();
        m_Grouped[d] = FileNumber.ReadInt16();
        m_Periods[d].Clear();
        const std::int16_t count = FileNumber.ReadInt16();
        for (std::int16_t i = 0; i < count && !FileNumber.Ended(); ++i) {
            auto period = std::make_shared<cTimeSchedulePeriod>();
            period->m_StartMinute = FileNumber.ReadInt16();
            period->m_StopMinute = FileNumber.ReadInt16();
            if (FileNumber.Ended()) {
                break;
            }
            m_Periods[d].Add(std::move(period));
        }
        m_AxisIndex[d] = FileNumber.ReadInt16();
    }
    m_UseCalendar = FileNumber.ReadInt16();
}

void cTimeSchedule::MergeOverlappingPeriods(std::int32_t DayType) {
    if (DayType == -1) {
        return;
    }
    PeriodCollection& periods = m_Periods[DayType];
    bool changed = true;
    while (changed) {
        changed = false;
        for (std::int32_t a = 1; a <= periods.Count(); ++a) {
            const PeriodPtr first = periods.Item(a);
            for (std::int32_t b = 1; b <= periods.Count(); ++b) {
                const PeriodPtr second = periods.Item(b);
                // Touching periods merge (first stops at the minute second starts);
                // a gap of one minute keeps them apart.
                if (second != first && second->m_StartMinute >= first->m_StartMinute &&
                    first->m_StopMinute >= second->m_StartMinute) {
                    if (second->m_StopMinute > first->m_StopMinute) {
                        first->m_StopMinute = second->m_StopMinute;
                    }
                    if (second == m_SelectedPeriod) {
                        m_SelectedPeriod = first;
                    }
                    periods.Remove(b);
                    changed = true;
                    // Go on with the period after the survivor, which moved up
                    // when the removed one stood before it.
                    a = periods.PositionOf(first.get());
                    break;
                }
            }
        }
    }
}

std::int32_t cTimeSchedule::DayTypeHolding(const cTimeSchedulePeriod* period) const {
    if (period == nullptr) {
        return -1;
    }
    for (std::int32_t d = 0; d < kDayTypeCount; ++d) {
        if (m_Periods[d].PositionOf(period) > 0) {
            return d;
        }
    }
    return -1;
}

std::int16_t cTimeSchedule::SetActive(std::int16_t DayType, std::int16_t State) {
    m_Active[DayType] = State != 0 ? kTrue : kFalse;
    return 0;
}

std::int16_t cTimeSchedule::GetActive(std::int16_t DayType) const {
    return m_Active[DayType];
}

} // namespace velmar
