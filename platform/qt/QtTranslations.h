#pragma once

// The programs' translations, chosen by the user's locale: Qt's own texts
// (the standard buttons and dialogs) and the programs' (velmar_LANGUAGE.qm,
// built from translations/). The programs' source texts are English; where
// no translation matches the locale, the English one is installed, which
// gives the plural forms of counted texts ("1 profile", "8 profiles").

#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTranslator>

namespace velmar {

// The folders where an executable in `executableFolder` finds the programs'
// translations, in the order they are tried: "translations" beside it (a
// copied folder, Windows), "../translations" (the build tree), and
// `installedSubfolder`, relative to it (where the installation puts them; see
// translations/CMakeLists.txt).
QStringList TranslationFolders(const QString& executableFolder, const QString& installedSubfolder);

// Installs the translators for `locale` into the application while it lives,
// and removes them when it goes. Create it after the application object and
// before the first widget, so that every text is translated when it is made.
class QtTranslations {
public:
    QtTranslations(const QLocale& locale, const QStringList& folders);
    ~QtTranslations();
    QtTranslations(const QtTranslations&) = delete;
    QtTranslations& operator=(const QtTranslations&) = delete;

    // The language of the programs' translation installed ("sv", "en"); empty
    // when none was found in any of the folders.
    QString Language() const { return m_Language; }

private:
    QTranslator m_Qt;
    QTranslator m_Program;
    bool m_QtInstalled = false;
    QString m_Language;
};

} // namespace velmar
