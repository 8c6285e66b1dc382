#pragma once

// The main window on a desktop, on Qt widgets with a tray icon.

#include "app/MainWindow.h"
#include "app/Monitoring.h"
#include "platform/GraphicalSession.h"

#include <string>

namespace velmar {

// Creates the application on the platform that reaches `session`, then the
// window and its controls, runs the load step and the event loop until the
// window is unloaded (log-off or shutdown, SIGTERM, SIGINT, SIGHUP, the menu's
// "Quit" or Ctrl+Q). Returns the exit status. A second start on a data folder
// that a running instance watches asks that one to show its window and returns
// 0. When Qt cannot open the display after all, one line goes to standard
// error and the console front end runs instead. The monitoring outputs
// follow every reload either way. `argc` must outlive the call.
// `programFolder` is the folder of the command the user runs (the autostart
// entry starts it); `notify` turns on the notifications of --notify.
int RunDesktopFrontEnd(int& argc, char** argv, const DataFolder& folder, const GraphicalSession& session,
                       const MonitoringOptions& monitoring, const std::string& programFolder, bool notify);

// What differs by system (DesktopFrontEndPosix.cpp, DesktopFrontEndWindows.cpp).
// Sets QT_QPA_PLATFORM to the platforms that reach `session` (QtPlatformList),
// before the application exists; Windows has one platform and needs none.
void ChooseQtPlatform(const GraphicalSession& session);
// Ends the process with `status` at once when the desktop ran on Wayland,
// whose Qt client can hang for ever while it takes its connection down;
// returns otherwise.
void EndBeforeQtOnWayland(int status);

} // namespace velmar
