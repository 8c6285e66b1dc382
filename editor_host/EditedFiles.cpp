#include "editor_host/EditedFiles.h"

#include "calendar/Calendar.h"
#include "common/Errors.h"
#include "common/SharedTables.h"
#include "editor_host/FileLimits.h"
#include "platform/FileReplace.h"
#include "platform/RegularFile.h"
#include "schedule/TimeSchedule.h"

#include <cctype>
#include <filesystem>

namespace velmar {

namespace {

// A file caught while another program writes it is read again, a few times.
constexpr int kReadAttempts = 5;

} // namespace

EditedKind KindByName(std::string_view fileName) {
    constexpr std::string_view kPrefix = "profile_";
    constexpr std::string_view kSuffix = ".dat";
    if (fileName.size() != kPrefix.size() + 4 + kSuffix.size()) {
        return EditedKind::Calendar;
    }
    auto lower = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
    for (std::size_t i = 0; i < fileName.size(); ++i) {
        const char c = fileName[i];
        const bool digitPlace = i >= kPrefix.size() && i < kPrefix.size() + 4;
        const bool fits = digitPlace           ? std::isdigit(static_cast<unsigned char>(c)) != 0
                          : i < kPrefix.size() ? lower(c) == kPrefix[i]
                                               : lower(c) == kSuffix[i - kPrefix.size() - 4];
        if (!fits) {
            return EditedKind::Calendar;
        }
    }
    return EditedKind::Profile;
}

OpenedProfile OpenProfile(const std::string& path) {
    RemoveStaleTemporaries(path);
    for (int attempt = 1;; ++attempt) {
        OpenedProfile profile;
        profile.Bytes = ReadRegularFile(path, kProfileFileKind);
        profile.Contents = ReadProfileFile(path);
        // The schedule and the bytes must come from the same file: the server
        // may have rewritten it between the two reads.
        if (ReadRegularFile(path, kProfileFileKind) != profile.Bytes) {
            if (attempt == kReadAttempts) {
                throw FileError(path + " keeps changing while it is read");
            }
            continue;
        }
        if (!profile.Contents.RecordComplete || !profile.Contents.ScheduleComplete) {
            throw FileError(path + " ends inside its " +
                            (profile.Contents.RecordComplete ? "schedule" : "profile record") +
                            "; it is not opened for editing, since saving would lose what it is missing");
        }
        return profile;
    }
}

FileBytes ScheduleRecordBytes(const cTimeSchedule& schedule) {
    // The text form holds the record's values in the record's order, each as
    // two characters high byte first; the record stores them low byte first.
    const std::string text = schedule.ComposePeriodArray();
    FileBytes bytes(text.size());
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
        bytes[i] = static_cast<std::uint8_t>(text[i + 1]);
        bytes[i + 1] = static_cast<std::uint8_t>(text[i]);
    }
    return bytes;
}

FileBytes ProfileWithSchedule(const OpenedProfile& profile, const cTimeSchedule& schedule) {
    const auto start = static_cast<std::ptrdiff_t>(profile.Contents.ScheduleStart);
    const auto end = static_cast<std::ptrdiff_t>(profile.Contents.ScheduleEnd);
    if (start > end || end > static_cast<std::ptrdiff_t>(profile.Bytes.size())) {
        throw InvalidArgumentError("the schedule record lies outside the profile's bytes");
    }
    const FileBytes record = ScheduleRecordBytes(schedule);
    FileBytes bytes(profile.Bytes.begin(), profile.Bytes.begin() + start);
    bytes.insert(bytes.end(), record.begin(), record.end());
    bytes.insert(bytes.end(), profile.Bytes.begin() + end, profile.Bytes.end());
    return bytes;
}

FileBytes OpenCalendar(const std::string& path, cCalendar& calendar) {
    RemoveStaleTemporaries(path);
    FileBytes bytes = ReadRegularFile(path, kCalendarFileKind);
    if (bytes.size() < kCalendarFileBytes) {
        throw FileError(path + " is not a calendar file: it has " + std::to_string(bytes.size()) +
                        " bytes, a calendar file has at least " + std::to_string(kCalendarFileBytes));
    }
    for (std::int32_t day = 0; day < kCalendarDays; ++day) {
        const auto low = bytes[static_cast<std::size_t>(day) * 2];
        const auto high = bytes[static_cast<std::size_t>(day) * 2 + 1];
        calendar.SetDayType(day, static_cast<std::int16_t>(low | (high << 8)));
    }
    return bytes;
}

FileBytes CalendarWithCodes(const cCalendar& calendar, const FileBytes& previous) {
    FileBytes bytes(kCalendarFileBytes);
    for (std::int32_t day = 0; day < kCalendarDays; ++day) {
        const auto code = static_cast<std::uint16_t>(calendar.GetDayType(day));
        bytes[static_cast<std::size_t>(day) * 2] = static_cast<std::uint8_t>(code & 0xFF);
        bytes[static_cast<std::size_t>(day) * 2 + 1] = static_cast<std::uint8_t>(code >> 8);
    }
    if (previous.size() > kCalendarFileBytes) {
        bytes.insert(bytes.end(), previous.begin() + kCalendarFileBytes, previous.end());
    }
    return bytes;
}

bool EditedFile::ChangedOnDisk() const {
    if (!HasPath()) {
        return false;
    }
    try {
        // A file grown beyond what was read is changed, and is not read to its end.
        return ReadRegularFile(m_Path, {"the file as read", m_Bytes.size()}) != m_Bytes;
    } catch (const FileError&) {
        return true;
    }
}

ReplaceResult EditedFile::Save(const std::string& path, FileBytes bytes, const ReplaceOptions& options) {
    ReplaceResult result = ReplaceFile(path, bytes, options);
    m_Path = path;
    m_Bytes = std::move(bytes);
    return result;
}

} // namespace velmar
