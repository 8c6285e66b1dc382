#include "window/qt/QtBusyPointer.h"

#include <QCursor>
#include <QGuiApplication>

namespace velmar {

void QtBusyPointer::SetBusy(bool busy) {
    if (busy == m_Busy) {
        return;
    }
    m_Busy = busy;
    if (busy) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QGuiApplication::restoreOverrideCursor();
    }
}

} // namespace velmar
