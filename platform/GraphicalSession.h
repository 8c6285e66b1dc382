#pragma once

// Whether a display is there to show a window on.

#include "platform/Process.h"

#include <string>

namespace velmar {

// A graphical session as the environment describes it, and whether its display
// answers. On X11 and Wayland systems the session is DISPLAY and
// WAYLAND_DISPLAY (set and non-empty); Windows always has one.
enum class DisplayState {
    None,        // neither variable is set: a machine without a graphical session
    Unreachable, // set, but no connection can be made to any display named
    Reachable,   // a display named answers
};

struct GraphicalSession {
    DisplayState State = DisplayState::None;
    // The displays as a user would name them ("the display :99", "the Wayland
    // display wayland-0", both joined by " or "): for Unreachable those named,
    // for Reachable those that answered.
    std::string Displays;
    // For Reachable: the Qt platform that reaches the session ("xcb",
    // "wayland"); empty when both answer, or when the system has only one.
    std::string QtPlatform;
};

// Looks at DISPLAY and WAYLAND_DISPLAY (with XDG_RUNTIME_DIR) and connects to
// the sockets they name, then closes them: the X server's local socket (or its
// TCP port 6000 + N for "host:N"), the compositor's socket in the runtime
// folder. A connection that is accepted counts as an answer; whether the
// server then lets the program in is left to the toolkit. A remote display
// gets two seconds.
GraphicalSession ProbeGraphicalSession(const EnvironmentLookup& environment = ProcessEnvironment);

} // namespace velmar
