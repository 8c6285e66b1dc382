#pragma once

// The files an editor opens and saves: a profile, of which only the schedule
// record is ever rewritten, and a calendar. What was read is kept byte for
// byte, so that saving changes nothing the user did not change and a file
// that someone else rewrote meanwhile is noticed.

#include "platform/FileReplace.h"
#include "profiles/ProfileFile.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmar {

class cCalendar;
class cTimeSchedule;

using FileBytes = std::vector<std::uint8_t>;

// What a name says a file is: Profile_NNNN.dat (four digits, any letter case)
// is a profile, anything else a calendar.
enum class EditedKind : std::uint8_t { Profile, Calendar };
EditedKind KindByName(std::string_view fileName);

// A profile file as opened for editing: its contents and its bytes, read at
// the same moment.
struct OpenedProfile {
    ProfileFileContents Contents;
    FileBytes Bytes;
};

// Reads a profile file for editing, after removing the temporary files that
// killed saves of it left. FileError when it cannot be read, is no regular
// file, is larger than the format allows, is not a profile file of the
// readable version, or ends inside its record or schedule (saving would then
// lose what the file was meant to hold).
OpenedProfile OpenProfile(const std::string& path);

// The schedule record of a schedule, as SaveToDisk writes it. OverflowError
// for a day type with more than 32767 periods.
FileBytes ScheduleRecordBytes(const cTimeSchedule& schedule);

// The profile's bytes with its schedule record replaced by that of `schedule`:
// every byte before and behind the record stays as read.
FileBytes ProfileWithSchedule(const OpenedProfile& profile, const cTimeSchedule& schedule);

// A calendar file holds 14,610 16-bit codes; a longer file carries a tail
// that saving keeps.
constexpr std::size_t kCalendarFileBytes = 29220;

// Reads a calendar file into `calendar` and returns its bytes, after removing
// the temporary files that killed saves of it left. FileError when it cannot
// be read, is no regular file, is shorter than a calendar file or larger
// than kCalendarFileKind allows; the calendar is then unchanged.
FileBytes OpenCalendar(const std::string& path, cCalendar& calendar);

// The calendar's codes, followed by whatever `previous` (the file's bytes)
// holds beyond them.
FileBytes CalendarWithCodes(const cCalendar& calendar, const FileBytes& previous);

// A file as an editor holds it: where it is and its bytes as last read or
// written. A new document has no path yet.
class EditedFile {
public:
    EditedFile() = default;
    EditedFile(std::string path, FileBytes bytes) : m_Path(std::move(path)), m_Bytes(std::move(bytes)) {}

    const std::string& Path() const { return m_Path; }
    bool HasPath() const { return !m_Path.empty(); }
    const FileBytes& Bytes() const { return m_Bytes; }

    // Whether the file on disk differs from what was read or written last:
    // rewritten, removed, grown or unreadable. A new document has nothing to
    // differ.
    bool ChangedOnDisk() const;
    // Writes `bytes` to `path` (ReplaceFile: whole or not at all, what the
    // file is kept, the previous file kept as path~) and from then on stands
    // for that file. FileError when the write fails (ReadOnlyFileError for a
    // read-only file unless `options` allow it); this object is then
    // unchanged.
    ReplaceResult Save(const std::string& path, FileBytes bytes, const ReplaceOptions& options = {});

private:
    std::string m_Path;
    FileBytes m_Bytes;
};

} // namespace velmar
