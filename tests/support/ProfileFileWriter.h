#pragma once

// Writes profile files the way the server does, through the record writer of
// the profile store and the schedule's own file record.

#include "platform/BinaryFile.h"
#include "platform/LocalTime.h"
#include "profiles/ProfileFile.h"
#include "schedule/TimeSchedule.h"

#include <chrono>
#include <ctime>
#include <filesystem>
#include <string>

namespace velmar::test {

inline void WriteProfileFile(const std::filesystem::path& path, const std::string& name, bool active) {
    const auto text = path.u8string();
    BinaryFile file(std::string(text.begin(), text.end()), BinaryFile::Mode::Truncate);
    file.WriteInt16(kProfileFormatVersion);
    ProfileRecord record;
    record.Name = name;
    record.Active = active ? -1 : 0;
    WriteProfileRecord(file, record);
    cTimeSchedule schedule;
    schedule.SetDefaultPeriod();
    schedule.SaveToDisk(file);
    file.Close();
}

// Local midnight of today plus `offset`, as a file time.
inline std::filesystem::file_time_type LocalMidnightPlus(std::chrono::seconds offset) {
    std::tm local = LocalNow();
    local.tm_hour = 0;
    local.tm_min = 0;
    local.tm_sec = 0;
    const auto midnight = std::chrono::system_clock::from_time_t(std::mktime(&local)) + offset;
    return std::chrono::file_clock::from_sys(midnight);
}

} // namespace velmar::test
