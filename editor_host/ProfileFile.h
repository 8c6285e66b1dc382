#pragma once

// One place that opens a profile file for a host or a tool and reads it as the
// program's loader does: the format version, the profile record and the time
// schedule that follows it.

#include "profiles/Profiles.h"
#include "schedule/TimeSchedule.h"

#include <cstdint>
#include <string>

namespace velmar {

struct ProfileFileContents {
    std::uint64_t Size = 0; // bytes
    std::int16_t FormatVersion = 0;
    ProfileRecord Record;
    SchedulePtr Schedule; // never null
    // False when the file ends inside the record or the schedule: the fields
    // that were not in the file are 0 and empty, as the loader reads them.
    bool RecordComplete = false;
    bool ScheduleComplete = false;
    std::uint64_t ScheduleStart = 0; // offset of the schedule record
    std::uint64_t ScheduleEnd = 0;   // offset just behind what was read of it
};

// Reads a profile file. FileError when it cannot be opened or read, when it is
// shorter than its 2-byte format version, or when that version is not the one
// the program reads; the message names the file.
ProfileFileContents ReadProfileFile(const std::string& path);

} // namespace velmar
