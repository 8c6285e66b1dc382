#pragma once

// Runs velmar-profiles in the test's process, as its main runs it.

#include "tools/velmar-profiles/Commands.h"

#include <sstream>
#include <string>

namespace velmar::test {

struct ToolRun {
    int Status = 0;
    std::string Out;
    std::string Err;
};

// `command` and its arguments, as after the program name.
inline ToolRun RunTool(const std::string& command, tool::Arguments args) {
    args.insert(args.begin(), command);
    std::ostringstream out;
    std::ostringstream err;
    ToolRun run;
    run.Status = tool::RunTool(args, out, err);
    run.Out = out.str();
    run.Err = err.str();
    return run;
}

} // namespace velmar::test
