#include "app/ConsoleFrontEnd.h"

#include "platform/Console.h"
#include "profiles/Profiles.h"

#include <algorithm>
#include <ostream>
#include <vector>

namespace velmar {

namespace {

struct ConsoleControls {
    explicit ConsoleControls(std::ostream& out) : Tray(List, Window, out) {}

    MainWindowControls Of(IWait& wait) { return {Window, List, ImageList, Timer, Tray, wait, Busy}; }

    ConsoleWindow Window;
    ConsoleImageList ImageList;
    ConsoleReportList List{ImageList};
    ConsoleTimer Timer;
    ConsoleTray Tray;
    ConsoleBusyPointer Busy;
};

bool FolderListed(const std::vector<LoadProblem>& problems) {
    return std::none_of(problems.begin(), problems.end(), [](const LoadProblem& problem) {
        return problem.Kind == LoadProblemKind::FolderMissing ||
               problem.Kind == LoadProblemKind::FolderNotAFolder ||
               problem.Kind == LoadProblemKind::FolderUnreadable;
    });
}

} // namespace

int RunConsoleFrontEnd(const StartupInfo& startup, std::ostream& out) {
    const ConsoleStopSignals signals;
    ConsoleControls controls(out);
    SleepWait wait;
    VelmarActiveProfiles_Main main(controls.Of(wait), startup);
    main.Form_Load();
    RunConsoleLoop(controls.Timer, signals);
    // The process is being ended: a close request the window grants.
    if (!main.Form_QueryUnload(CloseReason::ProcessEnd)) {
        main.Form_Unload();
    }
    out.flush();
    return 0;
}

int PrintProfilesOnce(const StartupInfo& startup, std::ostream& out) {
    ConsoleControls controls(out);
    NoWait wait;
    VelmarActiveProfiles_Main main(controls.Of(wait), startup);
    main.Form_Load();
    main.Form_Unload();
    return FolderListed(LoadProblems) ? 0 : 1;
}

} // namespace velmar
