#include "app/ProgramOptions.h"

#include "common/Version.h"
#include "profiles/DataFolder.h"

#include <algorithm>
#include <ostream>
#include <string>
#include <string_view>

namespace velmar {

namespace {

// The usage text. %PROFILES% and %DEFAULT% are filled in when it is printed;
// the lines that differ by platform are chosen here.
constexpr std::string_view kHelpText =
    R"(Usage: velmar-active-profiles [--notify] [/PATH:FOLDER] [--metrics-file FILE]
                              [--metrics-listen ADDRESS:PORT]
       velmar-active-profiles --autostart on [--notify] [/PATH:FOLDER] | --autostart off
       velmar-active-profiles --help | --version

Shows which Velmar alarm profiles are active. The program puts an icon into
the notification area whose tooltip names the active profiles; a click on it
opens a window that lists every profile, green for active and red for
inactive. Every five seconds it looks for changes of the profile files
%PROFILES% and reloads them. It only reads.

  /PATH:FOLDER  the data folder ("/PATH: FOLDER" with a space works as
                well); without it, the folder Project beside the program
                where there is one, else %DEFAULT%
  --notify      show a desktop notification when a reload finds that a
                profile turned active or inactive, appeared or disappeared,
                or that a problem appeared or all were mended
  --metrics-file FILE
                after every reload, write the profiles as Prometheus
                metrics to FILE (a temporary file renamed over it), for
                node_exporter's textfile collector
  --metrics-listen ADDRESS:PORT
                serve the same metrics at http://ADDRESS:PORT/metrics; a
                port alone (9772, :9772) listens on 127.0.0.1 only)"
#ifdef _WIN32
    R"(
                (not in Windows builds: they have no HTTP server)
)"
#else
    R"(
)"
#endif
#ifdef _WIN32
    R"(  --autostart on [/PATH:FOLDER]
                print the shortcut to put into the Startup folder so that
                the program starts at every logon on that folder, and exit
  --autostart off
                print which shortcut to delete, and exit
)"
#else
    R"(  --autostart on [/PATH:FOLDER]
                start the program at every login on that folder (writes the
                user's autostart entry) and exit
  --autostart off
                remove that entry and exit
)"
#endif
    R"(  --help        print this text and exit
  --version     print the version and exit

One instance runs per data folder: a second start on the same folder shows
the running one's window and exits. Quit from the icon's menu or with Ctrl+Q
in the window; minimising, the close button, Esc and Ctrl+W hide the window.
)"
#ifdef _WIN32
    R"(The program also ends when the user logs off or Windows shuts down.
)";
#else
    R"(Without a graphical session, or when the display cannot be reached, the
program prints the list after every reload instead, until SIGINT, SIGTERM or
SIGHUP.
)";
#endif

#ifdef _WIN32
constexpr std::string_view kProfileFiles = "FOLDER\\Profiles\\Profile_NNNN.dat";
#else
constexpr std::string_view kProfileFiles = "FOLDER/Profiles/Profile_NNNN.dat";
#endif

// The text with every `mark` replaced by `value`.
std::string Filled(std::string text, std::string_view mark, std::string_view value) {
    for (auto at = text.find(mark); at != std::string::npos; at = text.find(mark, at + value.size())) {
        text.replace(at, mark.size(), value);
    }
    return text;
}

} // namespace

ProgramOptions ParseProgramOptions(const std::vector<std::string>& arguments) {
    ProgramOptions options;
    for (const auto& argument : arguments) {
        if (argument == "--help") {
            options.Action = ProgramAction::Help;
            return options;
        }
        if (argument == "--version") {
            options.Action = ProgramAction::Version;
            return options;
        }
    }
    return options;
}

std::optional<int> RunProgramAction(const ProgramOptions& options, std::ostream& out, std::ostream& err) {
    switch (options.Action) {
    case ProgramAction::Run:
        return std::nullopt;
    case ProgramAction::Help: {
        // The default folder is fixed at build time; a build without one
        // always uses the folder beside the program.
        const std::string_view fallback =
            *kDefaultDataPath != '\0' ? kDefaultDataPath : "that folder all the same";
        out << Filled(Filled(std::string(kHelpText), "%PROFILES%", kProfileFiles), "%DEFAULT%", fallback);
        break;
    }
    case ProgramAction::Version:
        out << "velmar-active-profiles " << kVersion << '\n';
        break;
    }
    out.flush();
    if (!out) {
        err << "velmar-active-profiles: cannot write to standard output\n";
        return 1;
    }
    return 0;
}

bool NotifyRequested(const std::vector<std::string>& arguments) {
    return std::find(arguments.begin(), arguments.end(), kNotifyOption) != arguments.end();
}

} // namespace velmar
