#pragma once

// How large a file of each kind that the editors and tools read whole may
// be: nothing larger is read, so that no file (a device, a sparse file of
// gigabytes) can take the program's memory or time.

#include "platform/RegularFile.h"

#include <cstdint>

namespace velmar {

// The largest profile file the format allows: the version word, a record of
// 156 fixed bytes and twelve texts of 65,535 bytes with their counts, and a
// schedule record whose 23 day types hold 32,767 periods each.
inline constexpr std::uint64_t kLargestProfileFile =
    2 + 180 + 12 * std::uint64_t{65535} + 186 + std::uint64_t{4} * 23 * 32767;
inline constexpr FileKind kProfileFileKind{"a profile file", kLargestProfileFile};
// A calendar's 29,220 bytes of codes and the tail of a longer file, which
// saving keeps.
inline constexpr FileKind kCalendarFileKind{"a calendar file", std::uint64_t{16} << 20U};
inline constexpr FileKind kICalendarFileKind{"an iCalendar file", std::uint64_t{64} << 20U};
inline constexpr FileKind kEventScriptKind{"an event script", std::uint64_t{16} << 20U};

} // namespace velmar
