#pragma once

// The main window without a graphical session: the same load step and reload
// cycle, with the list and tooltip printed as a block after every reload.

#include "app/MainWindow.h"

#include <iosfwd>

namespace velmar {

// Runs until SIGINT, SIGTERM or SIGHUP, printing a block to `out` after every reload;
// then unloads the window as a granted close request. Returns the exit status
// (0). A failing load step reaches the caller.
int RunConsoleFrontEnd(const StartupInfo& startup, std::ostream& out);

// The load step alone, without its 500-millisecond wait: the profiles are
// loaded once and the block is printed once.
void PrintProfilesOnce(const StartupInfo& startup, std::ostream& out);

} // namespace velmar
