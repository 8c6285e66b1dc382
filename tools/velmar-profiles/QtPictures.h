#pragma once

// What the render commands draw with: Qt's GUI application (fonts need it)
// and the image lists of the two editors' hosts.

#include "editor_host/qt/QtHostImageList.h"

namespace velmar::tool {

// Makes the GUI application text drawing needs, on the headless platform
// unless QT_QPA_PLATFORM chose one, and keeps it for the rest of the process.
// Does nothing when an application exists.
void EnsureGuiApplication();

// The image lists of the editors' hosts.
using velmar::CalendarImages;
using QtImageList = velmar::QtHostImageList;
using velmar::ScheduleImages;

} // namespace velmar::tool
