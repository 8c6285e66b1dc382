#include "platform/qt/QtSingleInstance.h"

namespace velmar::detail {

QString LocalServerName(const QString& lockFile) {
    return lockFile.chopped(5) + ".socket";
}

} // namespace velmar::detail
