// cCalendar: the day-type table and the calendar file.

#include "calendar/Calendar.h"

#include "common/Errors.h"
#include "common/Numeric.h"
#include "platform/BinaryFile.h"
#include "platform/FileSystem.h"
#include "platform/StdDateServices.h"

namespace velmar {

namespace {

// The date services of calendars whose host set none: the system clock,
// English month names, ISO week numbers.
std::shared_ptr<const IDateServices> DefaultDateServices() {
    static const auto services = std::make_shared<const StdDateServices>();
    return services;
}

} // namespace

cCalendar::cCalendar() : m_DateServices(DefaultDateServices()) {}

void cCalendar::notused_CalcIfDayTypeIsUsed() {}

std::int16_t cCalendar::IsDayTypeUsed(std::int16_t DayType) const {
    return m_DayTypeUsed[DayType];
}

std::int16_t cCalendar::ReadFromDisk(const std::string& CalendarName) {
    if (!FileExists(CalendarName)) {
        return kFalse;
    }
    BinaryFile file(CalendarName, BinaryFile::Mode::Read);
    // Reading past the end of a short file yields 0, so no code of the calendar
    // loaded before survives beyond the file's end.
    for (long long day = 0; day < kCalendarDays; ++day) {
        m_DayTypes[day] = file.ReadInt16();
    }
    file.Close();
    return kTrue;
}

std::int16_t cCalendar::SaveToDisk(const std::string& CalendarName) const {
    // Update mode: an existing file is overwritten from its first byte but not
    // truncated, so whatever lies beyond the 29,220 bytes stays.
    BinaryFile file(CalendarName, BinaryFile::Mode::Update);
    for (long long day = 0; day < kCalendarDays; ++day) {
        file.WriteInt16(m_DayTypes[day]);
    }
    file.Close();
    return kTrue;
}

std::int16_t cCalendar::CompareToDisk(const std::string& CalendarName) const {
    std::int16_t result = kTrue;
    if (!FileExists(CalendarName)) {
        return kFalse;
    }
    BinaryFile file(CalendarName, BinaryFile::Mode::Read);
    // Only the first 29,220 bytes take part; a short file reads as 0 beyond its
    // end, the same table ReadFromDisk would make of it.
    for (long long day = 0; day < kCalendarDays; ++day) {
        if (file.ReadInt16() != m_DayTypes[day]) {
            result = kFalse;
            break;
        }
    }
    file.Close();
    return result;
}

std::int16_t cCalendar::CompareToOtherCalendar(const cCalendar* OtherCalendar) const {
    if (OtherCalendar == nullptr) {
        throw InvalidArgumentError("no calendar to compare with");
    }
    for (std::int32_t day = 0; day < kCalendarDays; ++day) {
        if (OtherCalendar->GetDayType(day) != m_DayTypes[day]) {
            return kFalse;
        }
    }
    return kTrue;
}

void cCalendar::SetDayType(std::int32_t TheDay, std::int16_t DayType) {
    m_DayTypes[TheDay] = DayType;
}

std::int16_t cCalendar::GetDayType(std::int32_t TheDay) const {
    return m_DayTypes[TheDay];
}

void cCalendar::SetDateServices(std::shared_ptr<const IDateServices> services) {
    m_DateServices = services ? std::move(services) : DefaultDateServices();
}

} // namespace velmar
