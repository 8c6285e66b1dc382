#pragma once

// The list of a load's profiles as the program shows it: the tray icon's
// tooltip, the console block printed after every reload and by
// "velmar-profiles list", and the JSON object of "list --json". Every output
// is made from a ProfileLoad: its folder, its profiles in slot order and its
// problems.

#include "profiles/ProfileStore.h"
#include "report/TrayToolTip.h"

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace velmar {

// A profile as the list shows it.
struct ListedProfile {
    std::string Name;
    bool Active = false;
    std::string File; // its file in the Profiles folder
};

// The valid slots of the load, in slot order; any non-zero flag is active.
std::vector<ListedProfile> ListedProfiles(const ProfileLoad& load);

// The tray icon's tooltip for the load (TrayToolTipText): its active
// profiles' names in slot order and, while it has problems, the first of them
// as ProblemLines words it (in `words`, English unless given).
std::string ActiveProfilesToolTip(const ProfileLoad& load, const ToolTipRules& rules = kPlatformToolTipRules);
std::string ActiveProfilesToolTip(const ProfileLoad& load, const ToolTipRules& rules,
                                  const ProblemWords& words);
// The names of the load's active profiles, in slot order.
std::vector<std::string> ActiveProfileNames(const ProfileLoad& load);

// The block printed after every reload:
//   == HH:MM:SS N profiles
//   + name of an active profile
//   - name of an inactive profile
//   ! a problem the reload met
//   tooltip: TEXT
// with every line ended by a line feed, texts escaped by EscapeConsoleText.
// The backslashes of a problem's line are kept where the platform separates
// folders with them, so that a Windows path can be copied as it is.
std::string FormatConsoleBlock(std::string_view clockText, const std::vector<ListedProfile>& profiles,
                               const std::vector<std::string>& problems, std::string_view toolTip);

// The name of a problem's kind in the JSON object ("fileUnreadable").
const char* ProblemKindName(LoadProblemKind kind);

// One JSON object, UTF-8, every text escaped as JSON requires:
//   "time": the local time of the load, ISO 8601 with its offset from UTC
//   "dataFolder": the data folder
//   "profiles": [{"name", "active", "file"}, ...] in list order
//   "tooltip": the tray icon's tooltip, line breaks as "\n" ("\r\n" on Windows)
//   "problems": [{"kind", "file", "text"}, ...], every one, none summed up;
//               "file" is the folder's path for the folder's problems
std::string FormatProfilesJson(std::string_view time, std::string_view dataFolder,
                               const std::vector<ListedProfile>& profiles, std::string_view toolTip,
                               const std::vector<LoadProblem>& problems);

// Loads the profiles of `folder` once and prints the console block, as the
// console front end does after a reload, to `out`. Returns the exit status: 1
// when the Profiles folder could not be listed (missing, not a folder,
// unreadable), 0 otherwise; a file that could not be loaded is one of the
// block's "!" lines.
int PrintProfilesOnce(const DataFolder& folder, std::ostream& out);

// The same load, printed as one JSON object for monitoring scripts; the same
// exit status.
int PrintProfilesJson(const DataFolder& folder, std::ostream& out);

} // namespace velmar
