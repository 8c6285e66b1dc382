// The editor's menus in the language of the locale, as the program installs
// its translations before the first widget.

#include "editor/EditorWindow.h"
#include "editor_host/DayTypeTexts.h"
#include "platform/qt/QtTranslations.h"

#include <QApplication>
#include <QMenuBar>
#include <array>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace velmar {
namespace {

TEST(EditorLanguage, MenusFollowTheLocale) {
    if (QCoreApplication::instance() == nullptr) {
        static int argc = 1;
        static std::string name = "velmar_editor_tests";
        static std::array<char*, 2> argv = {name.data(), nullptr};
        static auto* application = new QApplication(argc, argv.data());
        (void)application;
    }
    struct Case {
        const char* Lang = ""; // as LANG gives it
        QStringList Menus;
    };
    for (const auto& c : {Case{"sv_SE.UTF-8", {"&Arkiv", "&Redigera"}}, Case{"C", {"&File", "&Edit"}}}) {
        const QLocale locale(QString::fromLatin1(c.Lang));
        const QtTranslations translations(locale, {QStringLiteral(VELMAR_TRANSLATIONS_BUILD_DIR)});
        const EditorWindow window(LanguageOfLocale(locale.name().toStdString()));
        const auto* bar = window.findChild<QMenuBar*>();
        ASSERT_NE(bar, nullptr);
        QStringList menus;
        for (const QAction* action : bar->actions()) {
            menus << action->text();
        }
        for (const QString& menu : c.Menus) {
            EXPECT_TRUE(menus.contains(menu)) << c.Lang << ": " << menus.join(", ").toStdString();
        }
    }
}

} // namespace
} // namespace velmar
