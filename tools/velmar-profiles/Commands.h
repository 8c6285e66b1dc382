#pragma once

// The commands of velmar-profiles. Each declares its options and operands for
// the tool's one argument parser, and runs with the parsed arguments and the
// streams to write to; it returns the exit status: 0 done, 1 for a data or file
// error. Usage errors (status 2) are the parser's and the dispatcher's.

#include "tools/velmar-profiles/ArgumentParser.h"

#include <iosfwd>

namespace velmar::tool {

using CommandFunction = int (*)(const ParsedArguments& args, std::ostream& out, std::ostream& err);

struct Command {
    const CommandSpec& (*Spec)();
    CommandFunction Run;
};

const CommandSpec& ShowSpec();
const CommandSpec& RenderScheduleSpec();
const CommandSpec& RenderCalendarSpec();
const CommandSpec& CalendarSpec();

int CommandShow(const ParsedArguments& args, std::ostream& out, std::ostream& err);
int CommandRenderSchedule(const ParsedArguments& args, std::ostream& out, std::ostream& err);
int CommandRenderCalendar(const ParsedArguments& args, std::ostream& out, std::ostream& err);
int CommandCalendar(const ParsedArguments& args, std::ostream& out, std::ostream& err);
// Takes its arguments as given, after the parser checked them against its syntax.
int CommandList(const Arguments& args, std::ostream& out, std::ostream& err);

// Runs the tool on the arguments after the program name: "--help",
// "--version" or a command with its arguments. Returns the exit status: 0, 1
// for a data or file error, 2 for a usage error (one line on `err`).
int RunTool(const Arguments& args, std::ostream& out, std::ostream& err);

} // namespace velmar::tool
