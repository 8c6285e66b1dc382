#pragma once

// The tray program's place in the desktop session.

namespace velmar {

// Names the application for the desktop: "Velmar Active Profiles", which a
// StatusNotifierItem host shows as the icon's name, and the desktop file
// "velmar-active-profiles" (the Wayland app id). The display name is left to
// follow the application name: set on its own, Qt would append it to every
// window title. Call before the application object exists.
void SetDesktopIdentity();

// Answers the session manager. A checkpoint (the session saves itself and goes
// on) leaves the program running; a log-off or shutdown ends it through the
// application's quit, which unloads the window. The session manager is told
// never to restart the program: its start belongs to the desktop's autostart,
// which carries the "/PATH:" that a restart would lose.
void InstallSessionHandling();

} // namespace velmar
