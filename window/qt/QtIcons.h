#pragma once

// The pictures of the tray program: the list's balls and the program's icon.

#include <QColor>
#include <QIcon>

namespace velmar {

// A shaded ball of `colour`, the list's mark of a profile: 14 by 14 pixels on
// a transparent ground at a device pixel ratio of 1. It is drawn for the size
// and device pixel ratio it is shown at, so it stays sharp on a scaled screen.
QIcon DrawBallIcon(const QColor& colour);
// The program's icon: "velmar-active-profiles" of the icon theme where the
// theme has it (an installed program), else the same artwork built into the
// program.
QIcon ProgramIcon();
// The program's icon with an amber warning mark, for while profiles cannot be
// read: "velmar-active-profiles-warning", from the theme or built in.
QIcon WarningProgramIcon();

} // namespace velmar
