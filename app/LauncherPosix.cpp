#include "app/Launcher.h"
#include "platform/Process.h"

#include <ostream>

namespace velmar {

void StartDesktopInstead(const char* argv0, const ProgramCommandLine& line,
                         const std::string& installedSubfolder, std::ostream& err) {
    const GraphicalSession session = ProbeGraphicalSession();
    if (session.State == DisplayState::Reachable) {
        // Returns only when no desktop executable could be started.
        const std::string problem =
            ExecFirst(DesktopExecutableCandidates(line.ExecutableFolder, installedSubfolder),
                      DesktopArguments(argv0, line.ExecutableFolder, line.Arguments));
        err << ConsoleInsteadLine(problem) << '\n';
    } else if (session.State == DisplayState::Unreachable) {
        err << ConsoleInsteadLine("cannot connect to " + session.Displays) << '\n';
    }
}

} // namespace velmar
