#include "app/Launcher.h"

namespace velmar {

// On Windows velmar-active-profiles.exe is the tray program itself when it is
// built with Qt; a build without Qt is the console program and has nothing to
// hand over to.
void StartDesktopInstead(const char* /*argv0*/, const ProgramCommandLine& /*line*/,
                         const std::string& /*installedSubfolder*/, std::ostream& /*err*/) {}

} // namespace velmar
