#include "app/ConsoleFrontEnd.h"

#include "platform/LocalTime.h"
#include "window/ConsoleControls.h"

#include <algorithm>
#include <ostream>
#include <sstream>
#include <vector>

namespace velmar {

namespace {

struct ConsoleControls {
    explicit ConsoleControls(std::ostream& out) : Tray(List, Window, out) {}

    MainWindowControls Of(IOneShotTimer& wait) { return {Window, List, ImageList, Timer, Tray, wait, Busy}; }

    ConsoleWindow Window;
    ConsoleImageList ImageList;
    ConsoleReportList List{ImageList};
    ConsoleTimer Timer;
    ConsoleTray Tray;
    ConsoleBusyPointer Busy;
};

} // namespace

int RunConsoleFrontEnd(const DataFolder& folder, std::ostream& out) {
    const ConsoleStopSignals signals;
    ConsoleControls controls(out);
    ConsoleOneShotTimer wait;
    VelmarActiveProfiles_Main main(controls.Of(wait), folder);
    main.Form_Load();
    RunConsoleLoop(controls.Timer, wait, signals);
    // The process is being ended: a close request the window grants.
    if (!main.Form_QueryUnload(CloseReason::ProcessEnd)) {
        main.Form_Unload();
    }
    out.flush();
    return 0;
}

} // namespace velmar
