#pragma once

// Texts as the console and JSON readers take them.

#include <string>
#include <string_view>

namespace velmar {

// Backslash, carriage return and line feed written as \\, \r and \n, and every
// other control character (below 0x20, 0x7F and the C1 controls U+0080 to
// U+009F) and every byte that is no UTF-8 as \xNN, so that a name, problem or
// tooltip always stays on its own line and can never drive the terminal. With
// `keepBackslashes` a backslash is written as it is (a Windows path a user can
// copy); what the console must escape is escaped all the same.
std::string EscapeConsoleText(std::string_view text, bool keepBackslashes = false);

// The text as a JSON string, quotes included: quotation mark and backslash
// escaped, control characters (C0, DEL and C1) as \uXXXX or their short
// forms, and every byte that belongs to no UTF-8 sequence as U+FFFD, so that
// the result is valid JSON whatever bytes the text holds.
std::string JsonString(std::string_view text);

} // namespace velmar
