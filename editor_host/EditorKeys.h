#pragma once

// The keys of keyboard editing on both editors, and the one table of the
// names event scripts give them ("key shift-left").

#include <cstdint>
#include <span>
#include <string_view>

namespace velmar {

enum class EditorKey : std::uint8_t {
    Up,         // the row above; in the calendar, a week earlier
    Down,       // the row below; a week later
    Left,       // the previous period edge of the row; the day before
    Right,      // the next period edge of the row; the day after
    ShiftLeft,  // the selected edge five minutes earlier (schedule)
    ShiftRight, // the selected edge five minutes later (schedule)
    Insert,     // a period 08:00-17:00 on the cursor's row (schedule)
    Delete,     // the selected period alone (schedule)
    Space,      // paints the selected day type onto the cursor's date (calendar)
    PageUp,     // the month before (calendar)
    PageDown,   // the month after (calendar)
};

// The name of a key in event scripts: "up", "shift-left", "page-down".
std::string_view KeyName(EditorKey key);

// The key named `name` among the keys an editor takes; InvalidArgumentError,
// naming those keys, for any other name.
EditorKey KeyNamed(std::string_view name, std::span<const EditorKey> keys);

} // namespace velmar
