#include "common/Version.h"
#include "report/Check.h"
#include "tools/velmar-profiles/Commands.h"
#include "tools/velmar-profiles/FolderLoad.h"

#include <algorithm>
#include <charconv>
#include <exception>
#include <ostream>
#include <string>
#include <string_view>

namespace velmar::tool {

namespace {

// The help in the layout of the Monitoring Plugins guidelines: name and
// version, copyright, what it does, usage, options, then the statuses and
// the performance data.
constexpr std::string_view kHelp = R"(
Copyright (c) the Velmar Active Profiles authors (MIT licence)

Checks the alarm profiles of a Velmar data folder for Nagios-compatible
monitoring systems (Icinga, Naemon, Checkmk, Zabbix): loads every profile
once, prints one line "VELMAR STATUS - text | performance data" and exits
with the status.

Usage:
 velmar-profiles check [/PATH:FOLDER] [--active NAME]... [--inactive NAME]...
                       [--min-active N] [--max-problems N]

Options:
 -h, --help
    Print detailed help screen
 -V, --version
    Print version information
 /PATH:FOLDER
    The data folder (to the end of its argument); without it, the folder
    Project beside this program, else the program's default data folder
 --active NAME
    CRITICAL unless a profile of exactly this name is loaded and active;
    may be given more than once
 --inactive NAME
    WARNING unless a profile of exactly this name is loaded and inactive;
    may be given more than once
 --min-active N
    CRITICAL when fewer than N profiles are active
 --max-problems N
    WARNING when the load met more than N problems (a profile file that
    could not be read or was skipped); default 0

Statuses:
 0 OK
 1 WARNING
 2 CRITICAL, also when the Profiles folder cannot be read (missing, not a
   folder, not readable): that is the state of the watched alarm server
 3 UNKNOWN: a usage error or a failure of the check itself; also --help
   and --version

Performance data:
 active=N;;MIN:;0;LOADED profiles=N;;;0 problems=N;MAX;;0

Example:
 velmar-profiles check /PATH:/srv/alarm/Project --active "Nattlarm Lager" --min-active 1
 VELMAR CRITICAL - "Nattlarm Lager" is inactive; 2 of 8 profiles active | active=2;;1:;0;8 profiles=8;;;0 problems=0;0;;0
)";

const CommandSyntax& Syntax() {
    static const CommandSyntax syntax{
        .Name = "check",
        .Synopsis = "check [/PATH:folder] [--active NAME]... [--inactive NAME]... [--min-active N] "
                    "[--max-problems N]",
        .Summary = "Check the profiles for Nagios-compatible systems: one line, exit status 0 OK,\n"
                   "1 WARNING, 2 CRITICAL, 3 UNKNOWN (Monitoring Plugins guidelines).",
        .Help = "", // the check prints its own, with its own status
        .Options = {{.Name = "--active", .Value = "NAME", .Repeatable = true},
                    {.Name = "--inactive", .Value = "NAME", .Repeatable = true},
                    {.Name = "--min-active", .Value = "N"},
                    {.Name = "--max-problems", .Value = "N"}},
        .Operands = "data folder",
        .MinOperands = 0,
        .MaxOperands = kAnyNumber,
    };
    return syntax;
}

std::size_t Count(const ParsedArguments& args, std::string_view option, std::size_t fallback) {
    const auto text = args.Value(option);
    if (!text) {
        return fallback;
    }
    std::size_t value = 0;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
    if (text->empty() || error != std::errc() || end != text->data() + text->size()) {
        throw UsageError(std::string(option) + " needs a number from 0 up, not \"" + *text + "\"");
    }
    return value;
}

int Status(CheckStatus status) {
    return static_cast<int>(status);
}

} // namespace

const CommandSyntax& CheckSyntax() {
    return Syntax();
}

int CommandCheck(const ProgramCommandLine& program, const Arguments& given, std::ostream& out,
                 std::ostream& /*err*/) {
    // Whatever goes wrong, the monitoring system reads one line on standard
    // output and the status UNKNOWN, never the tool's usage status 2, which
    // it would take for CRITICAL.
    try {
        if (std::any_of(given.begin(), given.end(),
                        [](const std::string& a) { return a == "--help" || a == "-h"; })) {
            out << "velmar-profiles check " << kVersion << '\n' << kHelp.substr(1);
            return Status(CheckStatus::Unknown);
        }
        if (std::any_of(given.begin(), given.end(),
                        [](const std::string& a) { return a == "--version" || a == "-V"; })) {
            out << "velmar-profiles check " << kVersion << '\n';
            return Status(CheckStatus::Unknown);
        }
        const ParsedArguments args = ParseArguments(Syntax(), given);
        CheckCriteria criteria;
        criteria.Active = args.Values("--active");
        criteria.Inactive = args.Values("--inactive");
        if (args.Has("--min-active")) {
            criteria.MinActive = Count(args, "--min-active", 0);
        }
        criteria.MaxProblems = Count(args, "--max-problems", 0);
        const CheckResult result = EvaluateCheck(LoadDataFolderOnce(program, args.Operands()), criteria);
        out << result.Line;
        return Status(result.Status);
    } catch (const UsageError& error) {
        out << UnknownCheckLine(error.Message() + " (see velmar-profiles check --help)");
    } catch (const std::exception& error) {
        out << UnknownCheckLine(error.what());
    }
    return Status(CheckStatus::Unknown);
}

} // namespace velmar::tool
