#pragma once

// The main window on a desktop, on Qt widgets with a tray icon.

#include "app/MainWindow.h"

namespace velmar {

// Creates the application, the window and its controls, runs the load step
// and the event loop until the window is unloaded (session end, SIGTERM,
// SIGINT, SIGHUP or the program's own quit). Returns the exit status.
int RunDesktopFrontEnd(int& argc, char** argv, const StartupInfo& startup);

} // namespace velmar
