#pragma once

// The tray icon's tooltip: the heading "Aktiva profiler:" and the names of the
// active profiles, shaped by what the notification area it appears in can show.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmar {

inline constexpr const char* kToolTipHeading = "Aktiva profiler:";
inline constexpr const char* kToolTipBullet = "\xC2\xB7 "; // middle dot and space
inline constexpr const char* kToolTipMore = " (more...)";
// How many active profiles the tooltip names; " (more...)" says that there are more.
constexpr std::size_t kToolTipNames = 4;
// The Windows notification area shows at most 64 characters: the names are cut
// to this many characters (code points), so that " (more...)" still fits.
constexpr std::size_t kToolTipCut = 54;
// The line for the first problem is at most this many characters, so that the
// whole tip stays within the 127 that Windows shows.
constexpr std::size_t kToolTipProblemLength = 60;

// What the notification area can show of a tooltip.
enum class ToolTipLimit {
    // Windows: 64 characters. The heading and names are cut to 54 characters
    // wherever the cut falls, inside a name or between the carriage return and
    // line feed of a line break, before " (more...)" is appended.
    Windows,
    // XEmbed and StatusNotifierItem trays: no limit; every name is shown whole.
    None,
};

struct ToolTipRules {
    ToolTipLimit Limit = ToolTipLimit::None;
    std::string_view LineBreak = "\n"; // "\r\n" on Windows
};

// The rules of the platform the program runs on: the console front end and
// `velmar-profiles list` print the tooltip that platform's tray would show.
#ifdef _WIN32
inline constexpr ToolTipRules kPlatformToolTipRules{ToolTipLimit::Windows, "\r\n"};
#else
inline constexpr ToolTipRules kPlatformToolTipRules{ToolTipLimit::None, "\n"};
#endif
// Tooltips take a carriage return and line feed on Windows, a line feed elsewhere.
inline constexpr std::string_view kToolTipLineBreak = kPlatformToolTipRules.LineBreak;

// The tooltip for the names of the active profiles, in list order: the
// heading, then for each of the first four a line break, "· " and the name
// (cut as the limit says), then " (more...)" exactly when a fifth exists.
// `problem`, the first problem of the load as the user reads it, follows on a
// line of its own, cut with an ellipsis to 60 characters; without one the
// tooltip is exactly the text before.
std::string TrayToolTipText(const std::vector<std::string>& activeNames,
                            std::optional<std::string_view> problem,
                            const ToolTipRules& rules = kPlatformToolTipRules);

} // namespace velmar
