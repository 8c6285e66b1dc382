#pragma once

#include "editor/EditorDialogs.h"
#include "editor_host/DayTypeTexts.h"
#include "editor_host/SharedTablesScope.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QTabWidget;

namespace velmar {

class EditorTab;
class ScheduleTab;
class CalendarTab;
enum class ScheduleCommand;

// The editor application's main window: one tab per open file (a profile's
// schedule or a calendar), the File and Edit menus, and saving that never
// loses a byte of a file or a change someone else made to it.
class EditorWindow : public QMainWindow {
    // Texts translated in the context the translation files name.
    Q_DECLARE_TR_FUNCTIONS(velmar::EditorWindow)

public:
    // `dialogs` answers the window's questions; the desktop's when null.
    explicit EditorWindow(EditorLanguage language, std::unique_ptr<EditorDialogs> dialogs = nullptr,
                          QWidget* parent = nullptr);
    ~EditorWindow() override;

    // Opens files as the command line names them: Profile_NNNN.dat (any
    // letter case) as a profile, anything else as a calendar. The files that
    // cannot be opened are named, with the reason, in one message. True when
    // every file opened.
    bool OpenFiles(const std::vector<std::string>& paths);
    bool OpenProfile(const std::string& path);
    bool OpenCalendar(const std::string& path);
    void NewCalendar();

    EditorTab* CurrentTab() const;
    QTabWidget* Tabs() const { return m_Tabs; }
    // A menu action by its object name ("actionSave").
    QAction* Action(const char* objectName) const;

    // File menu: false when nothing was saved (cancelled, refused or failed).
    bool Save();
    bool SaveAs();
    void Revert();
    bool Export();
    // Closes the current tab, asking about unsaved changes; false when the user kept it.
    bool CloseCurrentTab();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void AddTab(EditorTab* tab);
    void AddCalendarTab(const std::string& path);
    bool SaveTab(EditorTab* tab, bool askForName);
    bool MayClose(EditorTab* tab);
    void Refresh();
    void RunScheduleCommand(ScheduleCommand command) const;
    void StepZoom(int steps) const;
    std::string Open(const std::string& path, bool profile);
    bool OpenShowingProblem(const std::string& path, bool profile);

    EditorLanguage m_Language;
    SharedTablesScope m_Tables;
    std::unique_ptr<EditorDialogs> m_Dialogs;
    QTabWidget* m_Tabs = nullptr;
    std::vector<QAction*> m_ScheduleActions;
    std::vector<QAction*> m_CalendarActions;
};

} // namespace velmar
