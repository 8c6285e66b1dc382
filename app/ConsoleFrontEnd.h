#pragma once

// The main window without a graphical session: the same load step and reload
// cycle, with the list and tooltip printed as a block after every reload.

#include "app/MainWindow.h"

#include <iosfwd>

namespace velmar {

// Runs until SIGINT or SIGTERM, printing a block to `out` after every reload;
// then unloads the window as a granted close request. Returns the exit status
// (0). A failing load step reaches the caller.
int RunConsoleFrontEnd(const StartupInfo& startup, std::ostream& out);

// The load step alone, without its 500-millisecond wait: the profiles are
// loaded once and the block is printed once. Returns the exit status: 1 when
// the Profiles folder could not be listed (missing, not a folder, unreadable),
// 0 otherwise; a file that could not be loaded is one of the block's "!" lines.
int PrintProfilesOnce(const StartupInfo& startup, std::ostream& out);

} // namespace velmar
