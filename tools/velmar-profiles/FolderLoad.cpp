#include "tools/velmar-profiles/FolderLoad.h"

#include "profiles/DataFolder.h"
#include "report/StoreSnapshot.h"

namespace velmar::tool {

// The operands as the parser separated them from the options, not the
// program's command line as Windows keeps it (one text, in which the
// switch's value runs to the next "/"): so an option after "/PATH:" is never
// taken for part of the folder, and a caller that runs the tool in its own
// process (the tests) gives the folder it means.
ReloadSnapshot LoadDataFolderOnce(const ProgramCommandLine& program, const Arguments& operands) {
    return LoadSnapshotOnce(DataFolder::FromCommandLine(program.ExecutableFolder, operands));
}

} // namespace velmar::tool
