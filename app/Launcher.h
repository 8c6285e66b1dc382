#pragma once

// How velmar-active-profiles and its Qt front end meet on X11 and Wayland
// systems. The command the user runs, velmar-active-profiles, is a launcher
// that never loads Qt: it answers --help and --version, runs the console front
// end when there is no graphical session, and otherwise replaces itself with
// the desktop executable velmar-active-profiles-desktop. That executable is
// found beside the launcher (the build tree, a portable copy) or in its
// installed folder relative to the launcher's, and it receives the launcher's
// folder, whose "Project" is the default data folder, as a first argument of
// its own that the start-up rules never see.

#include "platform/CommandLine.h"
#include "platform/GraphicalSession.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmar {

inline constexpr const char* kDesktopExecutableName = "velmar-active-profiles-desktop";

// The first argument the launcher gives the desktop executable, followed by
// the launcher's folder.
inline constexpr std::string_view kLauncherFolderOption = "--velmar-launcher-folder=";

// Where the launcher in `launcherFolder` looks for the desktop executable, in
// order: beside itself, then in `installedSubfolder` (relative to its folder).
std::vector<std::string> DesktopExecutableCandidates(const std::string& launcherFolder,
                                                     const std::string& installedSubfolder);

// The desktop executable's argument list: `argv0`, the launcher's folder, then
// the user's arguments unchanged.
std::vector<std::string> DesktopArguments(const std::string& argv0, const std::string& launcherFolder,
                                          const std::vector<std::string>& userArguments);

// The desktop executable's view of its start: the launcher's folder when the
// first argument carries it (that argument removed, and the start-up rules
// reading the remaining arguments), otherwise its own command line as it is.
ProgramCommandLine DesktopStartup(ProgramCommandLine line);

// On X11 and Wayland systems, when a display answers, replaces the launcher
// with the desktop executable (DesktopExecutableCandidates of the launcher's
// folder and `installedSubfolder`), handing it the user's arguments. Returns
// when the console front end is to run instead, after one line on `err` that
// says why, or at once where there is nothing to hand over to: without a
// graphical session, and on Windows, where the tray program is a build of
// its own.
void StartDesktopInstead(const char* argv0, const ProgramCommandLine& line,
                         const std::string& installedSubfolder, std::ostream& err);

// The line for standard error when a graphical session is named but the
// program runs on the console instead, with the reason.
std::string ConsoleInsteadLine(std::string_view reason);

// The value for QT_QPA_PLATFORM: the user's own choice, the platform that
// answered the probe, or both Qt platforms in the order Qt itself prefers for
// the session type; always followed by "minimal", so that a display that
// accepts the connection and then refuses the program ends in a platform the
// program recognises instead of an abort.
std::string QtPlatformList(const GraphicalSession& session, const std::optional<std::string>& userChoice,
                           const std::optional<std::string>& sessionType);
inline constexpr const char* kFallbackQtPlatform = "minimal";

} // namespace velmar
