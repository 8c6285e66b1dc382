#pragma once

// What the render commands draw with: Qt's GUI application (fonts need it)
// and the image lists of the two editors' hosts.

#include "editor_host/qt/QtHostImageList.h"
#include "tools/velmar-profiles/ArgumentParser.h"

namespace velmar::tool {

// Makes the GUI application text drawing needs, on the headless platform
// unless QT_QPA_PLATFORM chose one, and keeps it for the rest of the process.
// Does nothing when an application exists.
void EnsureGuiApplication();

// The render commands' "--scale FACTOR": the picture is drawn with FACTOR
// image pixels per picture pixel and its texts at the scaled size, as the
// editor draws it on a screen of that device pixel ratio (or at that zoom).
inline constexpr double kLargestScale = 8;

// The --scale option's factor, 1 when it is not given; UsageError unless it is
// a decimal number from 1 to kLargestScale ("2", "1.5").
double PictureScale(const ParsedArguments& args);

// The image lists of the editors' hosts.
using velmar::CalendarImages;
using QtImageList = velmar::QtHostImageList;
using velmar::ScheduleImages;

} // namespace velmar::tool
