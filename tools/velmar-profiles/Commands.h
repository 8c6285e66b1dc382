#pragma once

// The commands of velmar-profiles. Each declares its options and operands for
// the tool's one argument parser, and runs with the parsed arguments and the
// streams to write to; it returns the exit status: 0 done, 1 for a data or file
// error. Usage errors (status 2) are the parser's and the dispatcher's.

#include "platform/CommandLine.h"
#include "tools/velmar-profiles/ArgumentParser.h"

#include <iosfwd>

namespace velmar::tool {

using CommandFunction = int (*)(const ParsedArguments& args, std::ostream& out, std::ostream& err);

// A command that also reads the program's command line (list: the data folder).
using ProgramCommandFunction = int (*)(const ProgramCommandLine& program, const ParsedArguments& args,
                                       std::ostream& out, std::ostream& err);
// A command whose own parsing must not fail with the tool's usage status
// (the check answers every failure with its UNKNOWN status) takes its
// arguments as given, with the program's command line.
using GivenArgumentsFunction = int (*)(const ProgramCommandLine& program, const Arguments& args,
                                       std::ostream& out, std::ostream& err);

struct Command {
    const CommandSyntax& (*Syntax)() = nullptr;
    CommandFunction Run = nullptr;
    ProgramCommandFunction RunInProgram = nullptr; // instead of Run
    GivenArgumentsFunction RunGiven = nullptr;     // instead of Run, without the parser
};

const CommandSyntax& ShowSyntax();
const CommandSyntax& RenderScheduleSyntax();
const CommandSyntax& RenderCalendarSyntax();
const CommandSyntax& CalendarSyntax();
const CommandSyntax& MetricsSyntax();
const CommandSyntax& CheckSyntax();
const CommandSyntax& WatchSyntax();

int CommandShow(const ParsedArguments& args, std::ostream& out, std::ostream& err);
int CommandRenderSchedule(const ParsedArguments& args, std::ostream& out, std::ostream& err);
int CommandRenderCalendar(const ParsedArguments& args, std::ostream& out, std::ostream& err);
int CommandCalendar(const ParsedArguments& args, std::ostream& out, std::ostream& err);
// The data folder from the command's own operands ("/PATH:"), in the
// program's folder.
int CommandMetrics(const ProgramCommandLine& program, const ParsedArguments& args, std::ostream& out,
                   std::ostream& err);
// Runs until SIGINT, SIGTERM or SIGHUP, or until the reader of standard
// output has gone.
int CommandWatch(const ProgramCommandLine& program, const ParsedArguments& args, std::ostream& out,
                 std::ostream& err);
// Prints its own help, and answers usage errors and failures as the check's
// UNKNOWN (status 3, one line on `out`).
int CommandCheck(const ProgramCommandLine& program, const Arguments& given, std::ostream& out,
                 std::ostream& err);
// Takes its arguments as given, after the parser checked them against its
// syntax, and the program's command line, whose folder and "/PATH:" name the
// data folder.
int CommandList(const ProgramCommandLine& program, const Arguments& args, std::ostream& out,
                std::ostream& err);

// Runs the tool on the program's command line: "--help", "--version" or a
// command with its arguments. Returns the exit status: 0, 1 for a data or
// file error, 2 for a usage error (one line on `err`).
int RunToolCommandLine(const ProgramCommandLine& program, std::ostream& out, std::ostream& err);
// The same with `args` as the arguments after the program's name, in the
// running executable's folder.
int RunTool(const Arguments& args, std::ostream& out, std::ostream& err);

} // namespace velmar::tool
