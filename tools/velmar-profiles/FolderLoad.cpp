#include "tools/velmar-profiles/FolderLoad.h"

#include "app/Startup.h"
#include "platform/Process.h"
#include "report/StoreSnapshot.h"

namespace velmar::tool {

// The operands as the parser separated them from the options, not the
// process's command line (which Windows keeps as one text): so an option
// after "/PATH:" is never taken for part of the folder, and a caller that
// runs the tool in its own process (the tests) gives the folder it means.
ReloadSnapshot LoadDataFolderOnce(const Arguments& operands) {
    return LoadSnapshotOnce(ResolveDataPath(ExecutableFolder(nullptr), operands));
}

} // namespace velmar::tool
