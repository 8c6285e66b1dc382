#pragma once

// The pictures of the tray program: the list's balls and the program's icon.

#include <QColor>
#include <QIcon>

namespace velmar {

// A shaded ball of `colour`, the list's mark of a profile: 14 by 14 pixels on
// a transparent ground at a device pixel ratio of 1. It is drawn for the size
// and device pixel ratio it is shown at, so it stays sharp on a scaled screen.
QIcon DrawBallIcon(const QColor& colour);
// The program's icon "velmar-active-profiles": its PNG renderings built into
// the program, carrying the icon theme's name for desktops that draw tray
// icons themselves.
QIcon ProgramIcon();
// The program's icon with an amber warning mark, for while profiles cannot be
// read: "velmar-active-profiles-warning", built in the same way.
QIcon WarningProgramIcon();

} // namespace velmar
