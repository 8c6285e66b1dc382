#pragma once

// The desktop's services behind the tray program's menus, on Qt: the editor
// started as a program of its own, the file manager through QDesktopServices,
// the autostart entry of --autostart, dialogs and notifications.

#include "app/MainWindow.h"
#include "window/DesktopCommands.h"

#include <QString>
#include <functional>
#include <string>

class QLocale;
class QSystemTrayIcon;
class QTime;
class QWidget;

namespace velmar {

class QtNotifier;

// Where velmar-editor is found from the executable in `executableFolder`:
// beside it, in the build tree's editor folder, then on PATH. Empty when
// none is an executable file.
QString FindEditor(const QString& executableFolder);

class QtDesktopServices : public IDesktopServices {
public:
    // `programFolder` is the folder of the command the user runs, which the
    // autostart entry starts; `parent` carries the dialogs; `quit` ends the
    // program. All must outlive the services.
    QtDesktopServices(std::string programFolder, QWidget& parent, QtNotifier& notifier,
                      std::function<void()> quit);

    bool EditorAvailable() const override { return !m_Editor.isEmpty(); }
    void StartEditor(const std::string& profileFile) override;
    std::optional<std::size_t> AskForProfile(const std::vector<std::string>& names) override;
    void OpenFolder(const std::string& folder) override;
    bool StartsAtLogin() const override;
    void SetStartAtLogin(bool on, const std::string& dataFolder, bool notify) override;
    void ShowAbout(const std::string& dataFolder) override;
    void Notify(const std::string& title, const std::string& body) override;
    void ShowError(const std::string& text) override;
    void Quit() override { m_Quit(); }

private:
    std::string m_ProgramFolder;
    QWidget& m_Parent;
    QtNotifier& m_Notifier;
    std::function<void()> m_Quit;
    QString m_Editor;
};

// `time` as `locale` writes a time of day with seconds: its long format
// without the time zone ("14:05:09", "2:05:09 PM").
std::string LocaleClockText(const QLocale& locale, const QTime& time);

// The words of the status line, the problems and the notifications in the
// user's language.
class QtMonitorWords : public MonitorWords {
public:
    std::string Updated(std::string_view clock, int profiles) const override;
    std::string Title() const override;
    std::string TurnedActive(std::string_view names) const override;
    std::string TurnedInactive(std::string_view names) const override;
    std::string Appeared(std::string_view names) const override;
    std::string Disappeared(std::string_view names) const override;
    std::string ProblemAppeared(std::string_view problem) const override;
    std::string ProblemsMended() const override;
    std::string NamesAndMore(std::string_view names, std::size_t more) const override;
    std::string Problem(const LoadProblem& problem) const override;
    std::string More(LoadProblemKind kind, std::size_t count) const override;
};

} // namespace velmar
