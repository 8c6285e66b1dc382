#pragma once

// The event stream of `velmar-profiles watch`: one JSON object per line
// (JSON Lines) for every reload that changed something, for scripts and for
// the command sensors of Home Assistant or Node-RED.

#include "report/ReloadSnapshot.h"

#include <optional>
#include <string>
#include <string_view>

namespace velmar {

// The line for a reload, ending in a line feed, or nothing when the reload
// changed nothing the stream shows. `time` is the local time of the reload,
// ISO 8601 with its offset from UTC. Without a previous reload the line is
// the full state:
//   {"time": T, "event": "state", "folder": F,
//    "profiles": [{"file", "name", "active"}, ...],        in list order
//    "problems": [{"kind", "file", "text"}, ...]}
// and after one, what changed since it:
//   {"time": T, "event": "change",
//    "appeared": [profile, ...], "disappeared": [profile, ...],
//    "changed": [profile, ...],   a profile whose file stayed and whose active flag or name changed, as it is
//    now "problemsAppeared": [problem, ...], "problemsGone": [problem, ...]}
// Profiles are told apart by their file, problems by kind, file and text.
// Every key is always there, an empty list included.
std::optional<std::string> WatchEventLine(const ReloadSnapshot* previous, const ReloadSnapshot& current,
                                          std::string_view time);

} // namespace velmar
