#pragma once

// The check for Nagios-compatible systems (Icinga, Naemon, Checkmk, Zabbix
// through its check plugins), after the Monitoring Plugins development
// guidelines: one line "VELMAR STATUS - text | performance data" and the
// status as the exit code.

#include "report/ReloadSnapshot.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmar {

// The plugin states; the value is the exit status.
enum class CheckStatus {
    Ok = 0,
    Warning = 1,
    Critical = 2,
    Unknown = 3,
};

// "OK", "WARNING", "CRITICAL", "UNKNOWN".
std::string_view CheckStatusWord(CheckStatus status);

// What the check demands of a load.
struct CheckCriteria {
    std::vector<std::string> Active;      // profiles (by exact name) that must be active: CRITICAL otherwise
    std::vector<std::string> Inactive;    // profiles that must be inactive: WARNING otherwise
    std::optional<std::size_t> MinActive; // CRITICAL when fewer profiles are active
    std::size_t MaxProblems = 0;          // WARNING when the load met more problems
};

struct CheckResult {
    CheckStatus Status = CheckStatus::Unknown;
    std::string Line; // the plugin's output: one line, ending in a line feed
};

// Judges a load:
// - CRITICAL when the Profiles folder could not be listed (missing, not a
//   folder, unreadable): the profiles cannot be seen, which is the state of
//   the watched server, not a failure of the check itself; when a profile
//   named by --active is inactive or missing; when fewer than MinActive are
//   active;
// - WARNING when a profile named by --inactive is active or missing (a name
//   that matches nothing is probably misspelt), or when the load met more
//   than MaxProblems problems;
// - OK otherwise.
// Every failed condition is named in the text, the critical ones first; the
// performance data are active=N;;CRIT;0;LOADED profiles=N;;;0
// problems=N;WARN;;0, thresholds in the guidelines' range form.
CheckResult EvaluateCheck(const ReloadSnapshot& snapshot, const CheckCriteria& criteria);

// The line for a check that could not judge the load (usage errors, a
// failure of the check itself): "VELMAR UNKNOWN - text".
std::string UnknownCheckLine(std::string_view text);

// A text for the plugin's output line: control characters escaped as the
// console writes them (\n, \xNN) so that it stays one line, and "|", which
// would start the performance data, written as U+00A6 BROKEN BAR.
std::string CheckText(std::string_view text);

} // namespace velmar
