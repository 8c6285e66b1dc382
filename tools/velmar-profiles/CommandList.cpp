#include "app/ConsoleFrontEnd.h"
#include "platform/Process.h"
#include "tools/velmar-profiles/Commands.h"

#include <ostream>

namespace velmar::tool {

namespace {

constexpr const char* kListUsage = R"(Usage: velmar-profiles list [/PATH:folder]

Loads every profile of the data folder once and prints what the console front
end of velmar-active-profiles prints after a reload:

  == HH:MM:SS N profiles
  + name of an active profile
  - name of an inactive profile
  tooltip: TEXT

Backslash, carriage return and line feed in names and in TEXT are written as
\\, \r and \n. The data folder is the value of /PATH: (to the end of its
argument), or the folder "Project" beside this program.
)";

} // namespace

int CommandList(const Arguments& args, std::ostream& out, std::ostream& /*err*/) {
    for (const auto& arg : args) {
        if (arg == "--help" || arg == "-h") {
            out << kListUsage;
            return 0;
        }
    }
    // The same load step as the program, without its wait: /PATH: or the
    // program's folder, one load, one block.
    return PrintProfilesOnce({ExecutableFolder(nullptr), args}, out);
}

} // namespace velmar::tool
