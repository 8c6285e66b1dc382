#include "app/ConsoleFrontEnd.h"

#include "platform/Console.h"

#include <ostream>

namespace velmar {

namespace {

struct ConsoleControls {
    explicit ConsoleControls(std::ostream& out) : Tray(List, out) {}

    ConsoleWindow Window;
    ConsoleImageList ImageList;
    ConsoleReportList List{ImageList};
    ConsoleTimer Timer;
    ConsoleTray Tray;
};

} // namespace

int RunConsoleFrontEnd(const StartupInfo& startup, std::ostream& out) {
    const ConsoleStopSignals signals;
    ConsoleControls controls(out);
    SleepWait wait;
    VelmarActiveProfiles_Main main(
        {controls.Window, controls.List, controls.ImageList, controls.Timer, controls.Tray, wait}, startup);
    main.Form_Load();
    RunConsoleLoop(controls.Timer, signals);
    // The process is being ended: a close request the window grants.
    if (!main.Form_QueryUnload(CloseReason::ProcessEnd)) {
        main.Form_Unload();
    }
    out.flush();
    return 0;
}

void PrintProfilesOnce(const StartupInfo& startup, std::ostream& out) {
    ConsoleControls controls(out);
    NoWait wait;
    VelmarActiveProfiles_Main main(
        {controls.Window, controls.List, controls.ImageList, controls.Timer, controls.Tray, wait}, startup);
    main.Form_Load();
    main.Form_Unload();
}

} // namespace velmar
