// velmar-profiles: the command table, the tool's own options and the one form
// of every error line.

#include "common/Version.h"
#include "editor_host/EventScript.h"
#include "tools/velmar-profiles/Commands.h"

#include <array>
#include <exception>
#include <ostream>
#include <string_view>

namespace velmar::tool {

namespace {

constexpr std::string_view kProgram = "velmar-profiles";

const CommandSyntax& ListSyntax() {
    static const CommandSyntax syntax{
        .Name = "list",
        .Synopsis = "list [--json] [/PATH:folder]",
        .Summary = "Print the profiles of a data folder: one line per profile (\"+ \" active,\n"
                   "\"- \" inactive) and the tray tooltip, as the console front end does.",
        .Help = "", // CommandList prints its own
        .Options = {{.Name = "--json"}},
        .Operands = "data folder",
        .MinOperands = 0,
        .MaxOperands = kAnyNumber,
    };
    return syntax;
}

int RunList(const ProgramCommandLine& program, const ParsedArguments& args, std::ostream& out,
            std::ostream& err) {
    return CommandList(program, args.Given(), out, err);
}

const std::array<Command, 8> kCommands{{
    {ListSyntax, nullptr, RunList},
    {ShowSyntax, CommandShow},
    {RenderScheduleSyntax, CommandRenderSchedule},
    {RenderCalendarSyntax, CommandRenderCalendar},
    {CalendarSyntax, CommandCalendar},
    {MetricsSyntax, nullptr, CommandMetrics},
    {CheckSyntax, nullptr, nullptr, CommandCheck},
    {WatchSyntax, nullptr, CommandWatch},
}};

void PrintUsage(std::ostream& out) {
    out << "Usage: " << kProgram << " COMMAND [ARGUMENTS]\n"
        << "       " << kProgram << " --help | --version\n\nCommands:\n";
    for (const Command& command : kCommands) {
        out << "  " << command.Syntax().Synopsis << '\n';
        std::string_view summary = command.Syntax().Summary;
        while (!summary.empty()) {
            const std::size_t end = summary.find('\n');
            out << "      " << summary.substr(0, end) << '\n';
            summary = end == std::string_view::npos ? std::string_view() : summary.substr(end + 1);
        }
    }
    out << "\nRun \"" << kProgram << " COMMAND --help\" for the options of one command.\n"
        << "Exit status: 0 done, 1 a data or file error, 2 a usage error.\n";
}

int UsageFailure(std::ostream& err, std::string_view command, const std::string& message) {
    err << kProgram << ": ";
    if (!command.empty()) {
        err << command << ": ";
    }
    err << message << " (see " << kProgram << (command.empty() ? "" : " ") << command << " --help)\n";
    return 2;
}

int RunCommand(const Command& command, const ProgramCommandLine& program, const Arguments& args,
               std::ostream& out, std::ostream& err) {
    const std::string_view name = command.Syntax().Name;
    if (command.RunGiven != nullptr) {
        return command.RunGiven(program, args, out, err);
    }
    try {
        const ParsedArguments parsed = ParseArguments(command.Syntax(), args);
        if (parsed.Help && !command.Syntax().Help.empty()) {
            out << command.Syntax().Help;
            return 0;
        }
        return command.RunInProgram != nullptr ? command.RunInProgram(program, parsed, out, err)
                                               : command.Run(parsed, out, err);
    } catch (const UsageError& error) {
        return UsageFailure(err, name, error.Message());
    } catch (const ScriptError& error) {
        // A malformed line of an event script: nothing ran.
        err << error.Where() << '\n';
        return 2;
    } catch (const std::exception& error) {
        err << kProgram << ": " << name << ": " << error.what() << '\n';
        return 1;
    }
}

} // namespace

int RunTool(const Arguments& args, std::ostream& out, std::ostream& err) {
    ProgramCommandLine program = ReadProgramCommandLine(0, nullptr);
    program.Arguments = args;
    program.StartupArguments = args;
    return RunToolCommandLine(program, out, err);
}

int RunToolCommandLine(const ProgramCommandLine& program, std::ostream& out, std::ostream& err) {
    const Arguments& args = program.Arguments;
    if (args.empty()) {
        return UsageFailure(err, "", "no command given");
    }
    const std::string& first = args.front();
    if (first == "--help" || first == "-h") {
        PrintUsage(out);
        return 0;
    }
    if (first == "--version") {
        out << kProgram << ' ' << kVersion << '\n';
        return 0;
    }
    for (const Command& command : kCommands) {
        if (command.Syntax().Name == first) {
            return RunCommand(command, program, Arguments(args.begin() + 1, args.end()), out, err);
        }
    }
    if (first.size() > 1 && first.front() == '-') {
        return UsageFailure(err, "", "unknown option \"" + first + "\"");
    }
    return UsageFailure(err, "", "unknown command \"" + first + "\"");
}

} // namespace velmar::tool
