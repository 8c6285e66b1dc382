#pragma once

// The user's autostart entry: a desktop entry under $XDG_CONFIG_HOME/autostart
// that starts the program at login, written by "--autostart on" and removed by
// "--autostart off". The program reads no settings of its own: the entry is
// the desktop's, and the data folder travels on its Exec line.

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmar {

inline constexpr std::string_view kAutostartOption = "--autostart";
// The program's executable name, and the file name of its menu and autostart entries.
inline constexpr std::string_view kProgramName = "velmar-active-profiles";
inline constexpr std::string_view kDesktopEntryFileName = "velmar-active-profiles.desktop";

// Reads one environment variable; nullopt when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;
std::optional<std::string> SystemEnvironment(const char* name);

// One word of a desktop entry's Exec key as it is written into the file: "%"
// doubled (a field code would be expanded), the word quoted when it holds a
// reserved character, and the result escaped as a string value, so that a
// desktop hands the program exactly `word`. InvalidArgumentError for text a
// desktop entry cannot carry: malformed UTF-8 and control characters other
// than tab, line feed and carriage return.
std::string ExecWord(std::string_view word);

// The folder of the user's autostart entries: $XDG_CONFIG_HOME/autostart, or
// $HOME/.config/autostart when XDG_CONFIG_HOME is unset, empty or not an
// absolute path (the base directory rules ignore a relative one). FileError
// when HOME does not give an absolute folder either.
std::filesystem::path AutostartFolder(const EnvironmentLookup& environment);

// The text of the entry that starts `executable` (an absolute path) at login,
// with "/PATH:" and `dataFolder` when one is given, and "--notify" when
// `notify`. InvalidArgumentError as
// ExecWord, and for an executable whose path holds "=".
std::string AutostartEntry(const std::string& executable, const std::optional<std::string>& dataFolder,
                           bool notify = false);

// Carries out "--autostart on [/PATH:FOLDER] [--notify]" or "--autostart off" when the
// arguments hold "--autostart", and returns the exit status: 0 when the entry
// was written or removed (or there was none to remove), 1 when that failed,
// 2 for arguments that do not fit. What was done goes to `out`, what failed to
// `err`. A relative "/PATH:" folder is made absolute, since a desktop starts
// the entry from a folder of its own; without one the entry starts the program
// on its default data folder. nullopt when the arguments hold no "--autostart".
// On Windows, where programs start at log-on from the user's Startup folder,
// nothing is written: `err` gets that folder (from APPDATA) and the target of
// the shortcut to put there, and the status is 1.
std::optional<int> RunAutostartOption(const std::string& executableFolder,
                                      const std::vector<std::string>& arguments, std::ostream& out,
                                      std::ostream& err,
                                      const EnvironmentLookup& environment = SystemEnvironment);

namespace detail {
// Removes every "--notify" from `arguments`; true when there was one.
bool TakeNotifyOption(std::vector<std::string>& arguments);
// `folder` made absolute, relative to the current folder.
std::string AbsoluteFolder(const std::string& folder);
// "--autostart on" or "off" with the arguments that name the data folder, as
// each system starts programs at login (AutostartPosix.cpp,
// AutostartWindows.cpp); returns the exit status.
int RunAutostart(const std::string& state, const std::string& executableFolder,
                 const std::vector<std::string>& folderArguments, std::ostream& out, std::ostream& err,
                 const EnvironmentLookup& environment);
} // namespace detail

} // namespace velmar
