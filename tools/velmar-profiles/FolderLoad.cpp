#include "tools/velmar-profiles/FolderLoad.h"

#include "app/Startup.h"
#include "platform/Process.h"
#include "report/StoreSnapshot.h"

namespace velmar::tool {

ReloadSnapshot LoadDataFolderOnce(const Arguments& operands) {
    return LoadSnapshotOnce(ResolveDataPath(ExecutableFolder(nullptr), StartupArguments(operands)));
}

} // namespace velmar::tool
