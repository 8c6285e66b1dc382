#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace velmar::tool {

// Each sub-command gets its own arguments (without the program and command
// names) and the streams to write to; it returns the process exit status.
using Arguments = std::vector<std::string>;

int CommandList(const Arguments& args, std::ostream& out, std::ostream& err);
int CommandShow(const Arguments& args, std::ostream& out, std::ostream& err);
int CommandRenderSchedule(const Arguments& args, std::ostream& out, std::ostream& err);
int CommandRenderCalendar(const Arguments& args, std::ostream& out, std::ostream& err);
int CommandCalendar(const Arguments& args, std::ostream& out, std::ostream& err);

} // namespace velmar::tool
