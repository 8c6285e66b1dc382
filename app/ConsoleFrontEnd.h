#pragma once

// The main window without a graphical session: the same load step and reload
// cycle, with the list and tooltip printed as a block after every reload.

#include "app/MainWindow.h"
#include "profiles/ProfileStore.h"

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace velmar {

// Runs until SIGINT, SIGTERM or SIGHUP, printing a block to `out` after every reload;
// then unloads the window as a granted close request. Returns the exit status
// (0). A failing load step reaches the caller.
int RunConsoleFrontEnd(const DataFolder& folder, std::ostream& out);

// The load step alone, without its 500-millisecond wait: the profiles are
// loaded once and the block is printed once. Returns the exit status: 1 when
// the Profiles folder could not be listed (missing, not a folder, unreadable),
// 0 otherwise; a file that could not be loaded is one of the block's "!" lines.
int PrintProfilesOnce(const DataFolder& folder, std::ostream& out);

// The same load, printed as one JSON object for monitoring scripts (see
// FormatProfilesJson); the same exit status.
int PrintProfilesJson(const DataFolder& folder, std::ostream& out);

// A profile as the JSON object lists it.
struct ListedProfile {
    std::string Name;
    bool Active = false;
    std::string File; // its file in the Profiles folder
};

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

} // namespace velmar
