#pragma once

// The one load of a data folder that `metrics` and `check` report on. The one
// place of the tool that knows how the data folder is found and loaded.

#include "platform/CommandLine.h"
#include "report/ReloadSnapshot.h"
#include "tools/velmar-profiles/ArgumentParser.h"

namespace velmar::tool {

// The data folder from the operands by the program's "/PATH:" rules (else
// the folder "Project" beside the program, else the default data folder; on
// Windows the operands are joined with spaces and the value ends at the next
// "/"), loaded once, as the snapshot of one reload.
ReloadSnapshot LoadDataFolderOnce(const ProgramCommandLine& program, const Arguments& operands);

} // namespace velmar::tool
