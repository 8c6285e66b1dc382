#include "window/qt/QtIcons.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

namespace velmar {

namespace {

// The built-in copy of a themed icon: every size of it in the resource
// ":/icons/hicolor/NxN/apps/NAME.png".
QIcon BuiltInIcon(const QString& name) {
    QIcon icon;
    QDirIterator sizes(QStringLiteral(":/icons/hicolor"), QDir::Dirs | QDir::NoDotAndDotDot);
    while (sizes.hasNext()) {
        const QString file = sizes.next() + QStringLiteral("/apps/") + name + QStringLiteral(".png");
        if (QFile::exists(file)) {
            icon.addFile(file);
        }
    }
    return icon;
}

} // namespace

QIcon ProgramIcon() {
    const QString name = QStringLiteral("velmar-active-profiles");
    return QIcon::fromTheme(name, BuiltInIcon(name));
}

QIcon WarningProgramIcon() {
    const QString name = QStringLiteral("velmar-active-profiles-warning");
    return QIcon::fromTheme(name, BuiltInIcon(name));
}

} // namespace velmar
