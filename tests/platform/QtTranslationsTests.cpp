// The programs' translations as the build makes them, chosen by locale.

#include "platform/qt/QtTranslations.h"
#include "tests/support/QtTestEnvironment.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <array>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace velmar {
namespace {

[[maybe_unused]] ::testing::Environment* const g_QtEnvironment =
    AddQtTestEnvironment<QCoreApplication>("velmar_platform_qt_translation_tests");

const QString kBuilt = QStringLiteral(VELMAR_TRANSLATIONS_BUILD_DIR);

QString NoHolidays() {
    return QCoreApplication::translate("velmar::CalendarTab", "no holidays");
}
QString HolidayDates(int count) {
    return QCoreApplication::translate("velmar::CalendarTab", "%n holiday date(s) from %1", nullptr, count);
}

TEST(QtTranslations, TheLocaleChoosesTheLanguageAndEnglishStandsIn) {
    QTemporaryDir empty;
    ASSERT_TRUE(empty.isValid());
    struct Case {
        const char* Locale;
        QStringList Folders;
        QString Language;
        QString NoHolidays;
        QString OneDate;
        QString TwoDates;
    };
    const Case cases[] = {
        {"sv_SE", {empty.path(), kBuilt}, "sv", "inga helgdagar", "1 helgdag från %1", "2 helgdagar från %1"},
        {"sv_FI", {kBuilt}, "sv", "inga helgdagar", "1 helgdag från %1", "2 helgdagar från %1"},
        {"en_GB", {kBuilt}, "en", "no holidays", "1 holiday date from %1", "2 holiday dates from %1"},
        {"de_DE", {kBuilt}, "en", "no holidays", "1 holiday date from %1", "2 holiday dates from %1"},
        {"C", {kBuilt}, "en", "no holidays", "1 holiday date from %1", "2 holiday dates from %1"},
        // Nothing found: the source texts, as the code has them.
        {"sv_SE",
         {empty.path()},
         "",
         "no holidays",
         "1 holiday date(s) from %1",
         "2 holiday date(s) from %1"},
    };
    for (const auto& c : cases) {
        {
            QtTranslations translations(QLocale(QString::fromLatin1(c.Locale)), c.Folders);
            EXPECT_EQ(translations.Language(), c.Language) << c.Locale;
            EXPECT_EQ(NoHolidays(), c.NoHolidays) << c.Locale;
            EXPECT_EQ(HolidayDates(1), c.OneDate) << c.Locale;
            EXPECT_EQ(HolidayDates(2), c.TwoDates) << c.Locale;
        }
        EXPECT_EQ(NoHolidays(), "no holidays") << c.Locale << ": removed with the object";
    }
}

TEST(QtTranslations, FoldersBesideTheProgramInTheBuildTreeAndInstalled) {
    EXPECT_EQ(TranslationFolders("/usr/libexec/velmar-active-profiles",
                                 "../../share/velmar-active-profiles/translations"),
              QStringList({"/usr/libexec/velmar-active-profiles/translations", "/usr/libexec/translations",
                           "/usr/share/velmar-active-profiles/translations"}));
    EXPECT_EQ(TranslationFolders("C:/Velmar", ""),
              QStringList({"C:/Velmar/translations", "C:/translations"}));
}

} // namespace
} // namespace velmar
