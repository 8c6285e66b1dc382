#include "platform/qt/QtSingleInstance.h"

namespace velmar::detail {

QString LocalServerName(const QString& folder, const QString& key) {
    return folder + "/" + key + ".socket";
}

} // namespace velmar::detail
