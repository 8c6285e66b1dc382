// The tray program's own texts in the language of the locale: the icon's
// menu, the status line and the notifications, with the texts the program
// keeps in every language left as they are; the list's rows say their state
// in words.

#include "app/ProfileChanges.h"
#include "app/QtDesktopServices.h"
#include "platform/qt/QtTranslations.h"
#include "report/TrayToolTip.h"
#include "tests/support/QtTestEnvironment.h"
#include "window/qt/QtImageList.h"
#include "window/qt/QtMainWindow.h"
#include "window/qt/QtReportList.h"
#include "window/qt/QtTrayIcon.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTime>
#include <QTreeWidget>
#include <array>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace velmar {
namespace {

[[maybe_unused]] ::testing::Environment* const g_QtEnvironment =
    AddQtTestEnvironment<QApplication>("velmar_app_qt_tests");

QStringList MenuTexts(QtTrayIcon& tray) {
    QStringList texts;
    for (const QAction* action : tray.Menu().actions()) {
        if (!action->isSeparator()) {
            texts << action->text();
        }
    }
    return texts;
}

TEST(QtLanguage, MenuStatusLineAndNotificationsFollowTheLocale) {
    struct Case {
        const char* Lang; // as LANG gives it
        QStringList Menu;
        QString Hide;
        QString Bar;    // the window's menu bar
        QString Column; // the list's column caption
        std::string Updated;
        std::string Body;
        QStringList RowStates;             // an active and an inactive row
        std::vector<std::string> Problems; // as the window and the tooltip show them
    };
    const std::array<Case, 2> cases = {{
        {"sv_SE.UTF-8",
         {"&Visa profiler", "&Redigera tidsschema\u2026", "Öppna data&mappen", "Starta vid &inloggning",
          "&Meddela ändringar", "&Om", "&Avsluta"},
         "&Dölj profiler",
         "&Profiler",
         "Profil",
         "Uppdaterad 14:05:09 \u00B7 8 profiler",
         "Aktiva nu: A, B, C, D, E och 2 till",
         {"aktiv", "inaktiv"},
         {"Profilmappen finns inte: /srv/alarm/Profiles/", "Profile_0003.dat: formatversion 3, inte 4",
          "Profile_0009.dat: försvann innan den kunde läsas", "Profile_0201.dat: utanför de 200 platserna",
          "Profile_0202.dat: permission denied", "1 fil till utanför de 200 platserna",
          "9795 filer till utanför de 200 platserna"}},
        {"C",
         {"&Show profiles", "&Edit schedule\u2026", "Open data &folder", "Start at &login",
          "&Notify on changes", "&About", "&Quit"},
         "&Hide profiles",
         "&Profiles",
         "Profile",
         "Updated 14:05:09 \u00B7 8 profiles",
         "Active now: A, B, C, D, E and 2 more",
         {"active", "inactive"},
         {"Profiles folder not found: /srv/alarm/Profiles/", "Profile_0003.dat: format version 3, not 4",
          "Profile_0009.dat: gone before it could be read", "Profile_0201.dat: beyond the 200 slots",
          "Profile_0202.dat: permission denied", "1 more file beyond the 200 slots",
          "9795 more files beyond the 200 slots"}},
    }};
    for (const auto& c : cases) {
        const QtTranslations translations(QLocale(QString::fromLatin1(c.Lang)),
                                          {QStringLiteral(VELMAR_TRANSLATIONS_BUILD_DIR)});
        QtTrayIcon tray; // made after the translations, as the program makes it
        EXPECT_EQ(MenuTexts(tray), c.Menu) << c.Lang;
        tray.SetMenuState({true, true, false, false});
        EXPECT_EQ(tray.Menu().actions().front()->text(), c.Hide) << c.Lang;
        QtImageList images;
        QtMainWindow window(images);
        window.SetCommandMenu(tray.Menu());
        const auto* bar = window.findChild<QMenuBar*>("Menu_Commands");
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->actions().front()->text(), c.Bar) << c.Lang;
        const auto* column = window.findChild<QTreeWidget*>();
        ASSERT_NE(column, nullptr);
        EXPECT_EQ(column->headerItem()->text(0), c.Column) << c.Lang;

        const QtMonitorWords words;
        EXPECT_EQ(words.Updated("14:05:09", 8), c.Updated) << c.Lang;
        ProfileChanges changes;
        changes.TurnedActive = {"A", "B", "C", "D", "E", "F", "G"};
        const auto notification = ChangeNotification(changes, words);
        ASSERT_TRUE(notification) << c.Lang;
        EXPECT_EQ(notification->Body, c.Body) << c.Lang;
        // The system's own reason ("permission denied") stays as it came.
        const std::vector<std::string> problems = {
            words.Problem({LoadProblemKind::FolderMissing, "/srv/alarm/Profiles/", ""}),
            words.Problem({LoadProblemKind::WrongVersion, "Profile_0003.dat", "3"}),
            words.Problem({LoadProblemKind::FileVanished, "Profile_0009.dat", ""}),
            words.Problem({LoadProblemKind::BeyondSlots, "Profile_0201.dat", ""}),
            words.Problem({LoadProblemKind::FileUnreadable, "Profile_0202.dat", "permission denied"}),
            words.More(LoadProblemKind::BeyondSlots, 1),
            words.More(LoadProblemKind::BeyondSlots, 9795)};
        EXPECT_EQ(problems, c.Problems) << c.Lang;

        QTreeWidget widget;
        QtReportList list(widget, images);
        list.AddRow("A", kImageActive);
        list.AddRow("B", kImageInactive);
        QStringList states;
        for (int row = 0; row < widget.topLevelItemCount(); ++row) {
            states << widget.topLevelItem(row)->data(0, Qt::AccessibleDescriptionRole).toString();
        }
        EXPECT_EQ(states.join(", ").toStdString(), c.RowStates.join(", ").toStdString()) << c.Lang;

        // The heading is the system's own in every language.
        const ToolTipRules rules{ToolTipLimit::None, "\n"};
        EXPECT_EQ(TrayToolTipText({"Alpha"}, {}, rules), "Aktiva profiler:\n\u00B7 Alpha") << c.Lang;
    }
}

TEST(QtLanguage, TheWindowsClockFollowsTheLocaleWithoutTheZone) {
    const QTime time(14, 5, 9);
    const std::array<std::pair<const char*, const char*>, 6> cases = {{
        {"sv_SE", "14:05:09"},
        {"en_US", "2:05:09 PM"},
        {"fi_FI", "14.05.09"},
        {"zh_CN", "14:05:09"},
        {"bg_BG", "14:05:09 ч."}, // a quoted literal stays
        {"C", "14:05:09"},
    }};
    for (const auto& [name, expected] : cases) {
        // Newer locale data puts a narrow no-break space before "PM".
        const QString text =
            QString::fromStdString(LocaleClockText(QLocale(QString::fromLatin1(name)), time));
        EXPECT_EQ(QString(text).replace(QChar(0x202F), u' ').toStdString(), expected) << name;
    }
}

} // namespace
} // namespace velmar
