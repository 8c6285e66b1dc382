#pragma once

// The options of velmar-active-profiles that do something other than watch the
// profiles. Everything else on the command line is left to the start-up rules
// ("/PATH:", profiles/DataFolder.h) and otherwise ignored, so an option is only ever
// recognised as a whole argument.

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmar {

enum class ProgramAction {
    Run,     // watch the profiles (the default)
    Help,    // --help: print the usage text
    Version, // --version: print the program's name and version
};

struct ProgramOptions {
    ProgramAction Action = ProgramAction::Run;
};

// The first option among the arguments decides; without one the program runs.
ProgramOptions ParseProgramOptions(const std::vector<std::string>& arguments);

// Carries out an action that prints and ends, writing to `out`, and returns
// the exit status: 0, or 1 with a line on `err` when `out` cannot be written
// (a full disk). None for ProgramAction::Run.
std::optional<int> RunProgramAction(const ProgramOptions& options, std::ostream& out, std::ostream& err);

// "--notify": a desktop notification after every reload that changed what
// the window shows. It may stand anywhere among the arguments.
inline constexpr std::string_view kNotifyOption = "--notify";
bool NotifyRequested(const std::vector<std::string>& arguments);

} // namespace velmar
