// velmar-editor: edits the weekly schedules of alarm profiles and holiday
// calendars in a window.

#include "common/Version.h"
#include "editor/EditorApplication.h"
#include "editor/EditorWindow.h"
#include "platform/qt/QtTranslations.h"

#include <QApplication>
#include <QLocale>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage = R"(Usage: velmar-editor [FILE...]

Edits the weekly time schedules of Velmar alarm profiles and holiday calendar
files in a window. A file named Profile_NNNN.dat (any letter case) opens as a
profile, any other file as a calendar. Saving rewrites only the profile's
schedule record, keeps the previous file as FILE~ and refuses to overwrite a
file that another program changed since it was opened.

  --help      print this help and exit
  --version   print the version and exit
)";

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> files;
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (options && std::strcmp(argument, "--") == 0) {
            options = false;
        } else if (options && std::strcmp(argument, "--help") == 0) {
            std::fputs(kUsage, stdout);
            return std::fflush(stdout) == 0 && std::ferror(stdout) == 0 ? 0 : 1;
        } else if (options && std::strcmp(argument, "--version") == 0) {
            std::printf("velmar-editor %s\n", velmar::kVersion);
            return std::fflush(stdout) == 0 && std::ferror(stdout) == 0 ? 0 : 1;
        } else if (options && argument[0] == '-' && argument[1] != '\0') {
            std::fprintf(stderr, "velmar-editor: unknown option %s (see --help)\n", argument);
            return 2;
        } else {
            files.emplace_back(argument);
        }
    }

    velmar::EditorApplication application(argc, argv);
    // The editor's texts in the user's language, from before the first widget.
    const velmar::QtTranslations translations(
        QLocale(), velmar::TranslationFolders(QCoreApplication::applicationDirPath(),
                                              QStringLiteral(VELMAR_TRANSLATIONS_SUBDIR)));
    QApplication::setApplicationName(QStringLiteral("velmar-editor"));
    QApplication::setApplicationDisplayName(QStringLiteral("Velmar Editor"));
    QApplication::setDesktopFileName(QStringLiteral("velmar-editor"));
    QApplication::setWindowIcon(
        QIcon::fromTheme(QStringLiteral("velmar-active-profiles"),
                         QIcon(QStringLiteral(":/icons/hicolor/48x48/apps/velmar-active-profiles.png"))));
    velmar::EditorWindow window(velmar::LanguageOfLocale(QLocale().name().toStdString()));
    window.show();
    window.OpenFiles(files);
    return QApplication::exec();
}
