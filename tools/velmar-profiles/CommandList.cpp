#include "platform/CommandLine.h"
#include "profiles/DataFolder.h"
#include "report/ProfileList.h"
#include "tools/velmar-profiles/Commands.h"

#include <ostream>

namespace velmar::tool {

namespace {

constexpr const char* kListUsage = R"(Usage: velmar-profiles list [--json] [/PATH:folder]

Loads every profile of the data folder once and prints what the console front
end of velmar-active-profiles prints after a reload:

  == HH:MM:SS N profiles
  + name of an active profile
  - name of an inactive profile
  ! a problem: the Profiles folder missing or unreadable, a profile file that
    could not be read or was skipped (more than five of a kind are summed up)
  tooltip: TEXT

Backslash, carriage return and line feed in names, problems and TEXT are
written as \\, \r and \n, every other control character as \xNN. The data
folder is the value of /PATH: (to the end of its argument), or the folder
"Project" beside this program.

  --json   print one JSON object instead: "time", "dataFolder", "profiles"
           (each with "name", "active" and "file"), "tooltip" and "problems"
           (each with "kind", "file" and "text"; every one, none summed up)

Exit status: 1 when the Profiles folder cannot be listed (missing, not a
folder, not readable), 0 otherwise, also when a profile file has a problem.
)";

} // namespace

int CommandList(const ProgramCommandLine& program, const Arguments& args, std::ostream& out,
                std::ostream& /*err*/) {
    bool json = false;
    Arguments commandLine;
    for (const auto& arg : args) {
        if (arg == "--help" || arg == "-h") {
            out << kListUsage;
            return 0;
        }
        if (arg == "--json") {
            json = true;
        } else {
            commandLine.push_back(arg);
        }
    }
    // The same load step as the program, without its wait: /PATH: or the
    // program's folder, one load, one block or one JSON object. The start-up
    // rules read the command line as the program does: on Windows the whole
    // line as typed, elsewhere the list's own arguments without its options.
    const bool split = program.StartupArguments == program.Arguments;
    const auto folder =
        DataFolder::FromCommandLine(program.ExecutableFolder, split ? commandLine : program.StartupArguments);
    return json ? PrintProfilesJson(folder, out) : PrintProfilesOnce(folder, out);
}

} // namespace velmar::tool
