#pragma once

// What the program learns from the operating system at start: its folder, its
// arguments, whether a display is there to show a window on; and how the
// launcher hands over to another executable.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmar {

// The folder that holds the running executable, as UTF-8 text without a
// trailing separator (except for a root folder). Falls back to the folder of
// `argv0`, and to the current folder, when the system cannot tell.
std::string ExecutableFolder(const char* argv0);

// The program's arguments (without its name) as UTF-8 texts. On Windows they
// are split from the UTF-16 command line by the system's rules
// (CommandLineToArgvW), as the C runtime's `argv` is in the ANSI code page,
// which cannot hold every file name; `argc` and `argv` serve only when the
// system gives no command line.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// The command line as the start-up rules read the "/PATH:" switch from it
// (`StartupInfo::Arguments`). On Windows that is one text: what follows the
// program's name in the command line as the system keeps it
// (GetCommandLineW, in UTF-8), spacing and quotation marks as typed, so that
// the switch's value ends at the next "/" of the whole line. Elsewhere it is
// `arguments`, as the shell split them. Empty when nothing follows the name.
std::vector<std::string> StartupArguments(const std::vector<std::string>& arguments);

// What follows the program's name in a Windows command line, without the
// spaces and tabs that separate it from the name. A name that begins with a
// quotation mark runs to the next one; any other runs to the first space or
// tab.
std::string CommandLineAfterProgramName(std::string_view commandLine);

// The folder's canonical path, UTF-8, without a trailing separator: absolute,
// with "." and ".." and symbolic links resolved as far as the folder exists,
// so that two spellings of one folder give the same text. A folder that does
// not exist keeps its missing part as written.
std::string CanonicalFolder(const std::string& folder);

// A graphical session as the environment describes it, and whether its display
// answers. On X11 and Wayland systems the session is DISPLAY and
// WAYLAND_DISPLAY (set and non-empty); Windows and macOS always have one.
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

// Reads an environment variable; none when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;
std::optional<std::string> ProcessEnvironment(const char* name);

// Looks at DISPLAY and WAYLAND_DISPLAY (with XDG_RUNTIME_DIR) and connects to
// the sockets they name, then closes them: the X server's local socket (or its
// TCP port 6000 + N for "host:N"), the compositor's socket in the runtime
// folder. A connection that is accepted counts as an answer; whether the
// server then lets the program in is left to the toolkit. A remote display
// gets two seconds.
GraphicalSession ProbeGraphicalSession(const EnvironmentLookup& environment = ProcessEnvironment);

// While it exists, whatever the process writes to its standard error (file
// descriptor 2, so libraries' own prints as well) goes to a temporary file
// instead. Text() reads what was held; Release() writes it to the real
// standard error. Either way standard error is restored when it goes. Nothing
// is held where the platform has no such descriptors (Windows).
class HeldStandardError {
public:
    HeldStandardError();
    ~HeldStandardError();
    HeldStandardError(const HeldStandardError&) = delete;
    HeldStandardError& operator=(const HeldStandardError&) = delete;

    std::string Text() const;
    void Release();

private:
    void Restore();
    int m_Saved = -1;
    int m_Held = -1;
};

// Replaces the process with the first of `candidates` that exists, passing
// `arguments` (argv[0] first). Returns only when none could be started, with
// the reason ("cannot find ..." or "cannot start PATH: reason"). POSIX only.
std::string ExecFirst(const std::vector<std::string>& candidates, const std::vector<std::string>& arguments);

} // namespace velmar
