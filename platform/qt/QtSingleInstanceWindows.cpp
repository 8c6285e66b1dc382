#include "platform/qt/QtSingleInstance.h"

#include <QtGlobal>

namespace velmar::detail {

QString LocalServerName(const QString& /*folder*/, const QString& key) {
    // Named pipes are shared by every session of the machine: the user's name
    // keeps them apart.
    return key + "-" + qEnvironmentVariable("USERNAME");
}

} // namespace velmar::detail
