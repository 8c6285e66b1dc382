#pragma once

// The shared procedures of Velmar_Common_Procedures: token extraction, text
// lookup and time texts. FileExists lives in platform/FileSystem.h.

#include <cstdint>
#include <string>
#include <vector>

namespace velmar {

// Returns field `Index` (0-based) of `Text` split at `Delimiter`. An empty
// delimiter is chosen from the text (a tab if it has one, else ";" if it has
// one) and written back to the caller. Fewer fields than asked for, or a
// negative index, give "". Positions are 16-bit: a text longer than 32767
// characters raises OverflowError.
std::string GetToken(const std::string& Text, std::int16_t Index, std::string& Delimiter);

// The text table. It starts empty; nothing in the system fills it.
struct TextIndexEntry {
    std::int32_t Number = 0; // text number
    std::int32_t Start = 0;  // 1-based position in TextData
    std::int32_t Length = 0; // length in characters
};
extern std::string TextData;
extern std::vector<TextIndexEntry> TextIndex;
extern std::int32_t TextCount;

// Text number -> text; "Invalid Text (<number>)" for a number the table lacks.
std::string GetText(std::int32_t TextNumber);

// Reads a typed time ("7:30", "730", "7", "7.5:00") as minutes, rounded half to
// even and limited to 0..1440. Never fails: a text without a number is 0.
std::int16_t TimeTextToMinutes(const std::string& Text);

// The fixed time text of a minute count m >= 0: two-digit hours, ":", two-digit
// minutes, each the last two characters of "00" + number (450 -> "07:30",
// 1440 -> "24:00", 1445 -> "24:05").
std::string MinutesToTimeText(std::int32_t Minutes);

} // namespace velmar
