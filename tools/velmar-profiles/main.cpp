#include "platform/ConsoleProgram.h"
#include "tools/velmar-profiles/Commands.h"

#include <array>
#include <iostream>
#include <string_view>

namespace {

constexpr std::string_view kUsage = R"(Usage: velmar-profiles COMMAND [ARGUMENTS]

Commands:
  list [/PATH:folder]
      Print the profiles of a data folder: one line per profile ("+ " active,
      "- " inactive) and the tray tooltip, as the console front end does.
  show FILE
      Print one profile file: format version, name, active flag, every field
      of the record and its time schedule per day type.
  render-schedule PROFILE_FILE --out FILE.png [--events SCRIPT] [--calendar]
      Draw the schedule editor's grid for a profile's schedule into a PNG.
  render-calendar CALENDAR_FILE --month YYYY-MM --out FILE.png [options]
      Draw one month of a calendar file into a PNG.
  calendar CALENDAR_FILE [--year YYYY]
      List every date with a non-zero day-type code.

Run "velmar-profiles COMMAND --help" for the options of one command.
)";

struct Command {
    std::string_view name;
    int (*run)(const velmar::tool::Arguments&, std::ostream&, std::ostream&);
};

constexpr auto kCommands = std::to_array<Command>({
    {"list", velmar::tool::CommandList},
    {"show", velmar::tool::CommandShow},
    {"render-schedule", velmar::tool::CommandRenderSchedule},
    {"render-calendar", velmar::tool::CommandRenderCalendar},
    {"calendar", velmar::tool::CommandCalendar},
});

} // namespace

int main(int argc, char** argv) {
    const velmar::ConsoleProgram console(argc, argv);
    if (argc < 2 || std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h") {
        std::cout << kUsage;
        return argc < 2 ? 1 : 0;
    }
    const std::string_view name = argv[1];
    velmar::tool::Arguments args(argv + 2, argv + argc);
    for (const auto& command : kCommands) {
        if (command.name == name) {
            try {
                return command.run(args, std::cout, std::cerr);
            } catch (const std::exception& error) {
                std::cerr << "velmar-profiles: " << error.what() << '\n';
                return 1;
            }
        }
    }
    std::cerr << "velmar-profiles: unknown command \"" << name << "\" (see velmar-profiles --help)\n";
    return 1;
}
