#include "report/Metrics.h"
#include "tools/velmar-profiles/Commands.h"
#include "tools/velmar-profiles/FolderLoad.h"

#include <ostream>

namespace velmar::tool {

const CommandSyntax& MetricsSyntax() {
    static const CommandSyntax syntax{
        .Name = "metrics",
        .Synopsis = "metrics [/PATH:folder]",
        .Summary = "Load the profiles once and print them as Prometheus metrics (text format 0.0.4).",
        .Help = R"(Usage: velmar-profiles metrics [/PATH:folder]

Loads every profile of the data folder once and prints the metrics that the
monitor's --metrics-file writes and its --metrics-listen serves, in the
Prometheus text exposition format 0.0.4:

  velmar_profile_active{folder,file,profile}  1 active, 0 inactive
  velmar_profiles{folder}                     profiles loaded
  velmar_problems{folder,kind}                problems of the load, per kind
  velmar_folder_readable{folder}              1 when the Profiles folder could be listed
  velmar_last_reload_timestamp_seconds{folder}, velmar_reloads_total{folder},
  velmar_reload_duration_seconds{folder}

The data folder is the value of /PATH: (to the end of its argument), or the
folder "Project" beside this program.

Exit status: 1 when the Profiles folder cannot be listed (the metrics are
printed all the same, with velmar_folder_readable 0), 0 otherwise.
)",
        .Operands = "data folder",
        .MinOperands = 0,
        .MaxOperands = kAnyNumber,
    };
    return syntax;
}

int CommandMetrics(const ProgramCommandLine& program, const ParsedArguments& args, std::ostream& out,
                   std::ostream& /*err*/) {
    const ReloadSnapshot snapshot = LoadDataFolderOnce(program, args.Operands());
    out << FormatMetrics(snapshot) << std::flush;
    return snapshot.FolderReadable() ? 0 : 1;
}

} // namespace velmar::tool
