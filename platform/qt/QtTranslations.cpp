#include "platform/qt/QtTranslations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>

namespace velmar {

namespace {

const QString kProgramCatalog = QStringLiteral("velmar");
const QString kEnglish = QStringLiteral("en");

} // namespace

QStringList TranslationFolders(const QString& executableFolder, const QString& installedSubfolder) {
    const QDir folder(executableFolder);
    QStringList folders = {folder.filePath(QStringLiteral("translations")),
                           folder.filePath(QStringLiteral("../translations"))};
    if (!installedSubfolder.isEmpty()) {
        folders << folder.filePath(installedSubfolder);
    }
    for (QString& path : folders) {
        path = QDir::cleanPath(path);
    }
    return folders;
}

QtTranslations::QtTranslations(const QLocale& locale, const QStringList& folders) {
    if (m_Qt.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        m_QtInstalled = QCoreApplication::installTranslator(&m_Qt);
    }
    for (const QString& folder : folders) {
        if (m_Program.load(locale, kProgramCatalog, QStringLiteral("_"), folder)) {
            break;
        }
    }
    // No translation for the user's language (or the C locale): English.
    if (m_Program.isEmpty()) {
        for (const QString& folder : folders) {
            if (m_Program.load(kProgramCatalog + QStringLiteral("_") + kEnglish, folder)) {
                break;
            }
        }
    }
    if (!m_Program.isEmpty() && QCoreApplication::installTranslator(&m_Program)) {
        m_Language = QLocale(m_Program.language()).name().section(QLatin1Char('_'), 0, 0);
    }
}

QtTranslations::~QtTranslations() {
    if (!m_Language.isEmpty()) {
        QCoreApplication::removeTranslator(&m_Program);
    }
    if (m_QtInstalled) {
        QCoreApplication::removeTranslator(&m_Qt);
    }
}

} // namespace velmar
