#pragma once

// The main window without a graphical session: the same load step and reload
// cycle, with the list and tooltip printed as a block after every reload.

#include "app/MainWindow.h"
#include "profiles/ProfileStore.h"

#include <iosfwd>

namespace velmar {

// Runs until SIGINT, SIGTERM or SIGHUP, printing a block to `out` after every reload;
// then unloads the window as a granted close request. Returns the exit status
// (0). A failing load step reaches the caller.
int RunConsoleFrontEnd(const DataFolder& folder, std::ostream& out);

} // namespace velmar
