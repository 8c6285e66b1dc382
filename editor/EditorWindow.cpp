#include "editor/EditorWindow.h"

#include "common/Errors.h"
#include "editor/CalendarTab.h"
#include "editor/FailureText.h"
#include "editor/ScheduleTab.h"
#include "editor_host/EditorZoom.h"
#include "platform/FileReplace.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QKeySequence>
#include <QMenuBar>
#include <QScreen>
#include <QTabWidget>
#include <QTimeZone>
#include <array>
#include <cstdio>

namespace velmar {

namespace {

constexpr const char* kProfileFilter = "Profile files (Profile_*.dat Profile_*.DAT);;All files (*)";
constexpr const char* kCalendarFilter = "Calendar files (*.dat *.cal);;All files (*)";
constexpr const char* kICalendarFilter = "iCalendar files (*.ics);;All files (*)";

} // namespace

EditorWindow::EditorWindow(EditorLanguage language, std::unique_ptr<EditorDialogs> dialogs, QWidget* parent)
    : QMainWindow(parent), m_Language(language),
      m_Dialogs(dialogs ? std::move(dialogs) : std::make_unique<QtEditorDialogs>(this)),
      m_Tabs(new QTabWidget(this)) {
    setObjectName(QStringLiteral("editorWindow"));
    // The components read the names of day types and weekdays from the shared
    // tables; this window fills them for as long as it exists.
    FillDayTypeTexts(language);
    m_Tabs->setObjectName(QStringLiteral("documentTabs"));
    m_Tabs->setAccessibleName(tr("Open files"));
    m_Tabs->setDocumentMode(true);
    m_Tabs->setTabsClosable(true);
    connect(m_Tabs, &QTabWidget::currentChanged, this, [this](int) {
        Refresh();
        if (EditorTab* tab = CurrentTab()) {
            tab->EditingWidget()->setFocus();
        }
    });
    connect(m_Tabs, &QTabWidget::tabCloseRequested, this, [this](int index) {
        m_Tabs->setCurrentIndex(index);
        CloseCurrentTab();
    });
    setCentralWidget(m_Tabs);
    BuildMenus();
    // Never larger than the screen's free area at any scale factor: the time
    // boxes and buttons stay in sight and the pictures scroll.
    WindowSize size{560, 480};
    if (const QScreen* shown = screen()) {
        const QSize available = shown->availableGeometry().size();
        size = FittedWindowSize(size, {available.width(), available.height()});
    }
    resize(size.Width, size.Height);
    Refresh();
}

EditorWindow::~EditorWindow() {
    // The tabs go before the shared tables are put back.
    while (m_Tabs->count() > 0) {
        delete m_Tabs->widget(0);
    }
}

void EditorWindow::BuildMenus() {
    auto add = [this](QMenu* menu, const char* name, const QString& text, const QKeySequence& keys,
                      auto handler) {
        QAction* action = menu->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        if (!keys.isEmpty()) {
            action->setShortcut(keys);
        }
        connect(action, &QAction::triggered, this, handler);
        return action;
    };

    QMenu* file = menuBar()->addMenu(tr("&File"));
    add(file, "actionNewCalendar", tr("&New calendar"), QKeySequence::New, [this] { NewCalendar(); });
    add(file, "actionOpenProfile", tr("&Open profile..."), QKeySequence::Open, [this] {
        const std::string path = m_Dialogs->OpenFileName(tr("Open profile").toStdString(), kProfileFilter);
        if (!path.empty()) {
            OpenProfile(path);
        }
    });
    add(file, "actionOpenCalendar", tr("Open &calendar..."), QKeySequence(tr("Ctrl+Shift+O")), [this] {
        const std::string path = m_Dialogs->OpenFileName(tr("Open calendar").toStdString(), kCalendarFilter);
        if (!path.empty()) {
            OpenCalendar(path);
        }
    });
    file->addSeparator();
    add(file, "actionSave", tr("&Save"), QKeySequence::Save, [this] { Save(); });
    add(file, "actionSaveAs", tr("Save &as..."), QKeySequence::SaveAs, [this] { SaveAs(); });
    add(file, "actionRevert", tr("&Revert"), QKeySequence(), [this] { Revert(); });
    add(file, "actionExport", tr("&Export to iCalendar..."), QKeySequence(tr("Ctrl+E")),
        [this] { Export(); });
    file->addSeparator();
    add(file, "actionClose", tr("C&lose"), QKeySequence::Close, [this] { CloseCurrentTab(); });
    add(file, "actionQuit", tr("&Quit"), QKeySequence::Quit, [this] { close(); });

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    add(edit, "actionUndo", tr("&Undo"), QKeySequence::Undo, [this] {
        if (EditorTab* tab = CurrentTab()) {
            tab->Undo();
        }
    });
    add(edit, "actionRedo", tr("&Redo"), QKeySequence(tr("Ctrl+Shift+Z")), [this] {
        if (EditorTab* tab = CurrentTab()) {
            tab->Redo();
        }
    });
    edit->addSeparator();
    struct CommandItem {
        const char* Name;
        QString Text;
        ScheduleCommand Command;
    };
    const std::array<CommandItem, 9> commands{{
        {"actionAddPeriod", tr("&Add period 08:00-17:00\tIns"), ScheduleCommand::AddPeriod},
        {"actionDeletePeriod", tr("Delete &period\tDel"), ScheduleCommand::DeletePeriod},
        {"actionDeleteDay", tr("&Delete day"), ScheduleCommand::Delete},
        {"actionFillDay", tr("&Fill 00:00-24:00"), ScheduleCommand::FillWholeDay},
        {"actionCopyDay", tr("&Copy day"), ScheduleCommand::Copy},
        {"actionPasteDay", tr("Pa&ste day"), ScheduleCommand::Paste},
        {"actionGroup", tr("&Group"), ScheduleCommand::Group},
        {"actionGroupMonFri", tr("Group &Monday-Friday"), ScheduleCommand::GroupMonFri},
        {"actionDefault", tr("D&efault (Monday-Friday 07:00-16:00)"), ScheduleCommand::Default},
    }};
    for (const auto& command : commands) {
        const ScheduleCommand which = command.Command;
        m_ScheduleActions.push_back(add(edit, command.Name, command.Text, QKeySequence(),
                                        [this, which] { RunScheduleCommand(which); }));
    }
    edit->addSeparator();
    m_CalendarActions.push_back(
        add(edit, "actionPaintDayType", tr("&Paint day type on the date\tSpace"), QKeySequence(), [this] {
            if (auto* tab = dynamic_cast<CalendarTab*>(CurrentTab())) {
                tab->PaintAtCursor();
            }
        }));
    m_CalendarActions.push_back(
        add(edit, "actionPreviousMonth", tr("Pre&vious month\tPgUp"), QKeySequence(), [this] {
            if (auto* tab = dynamic_cast<CalendarTab*>(CurrentTab())) {
                tab->StepMonth(-1);
            }
        }));
    m_CalendarActions.push_back(
        add(edit, "actionNextMonth", tr("Ne&xt month\tPgDown"), QKeySequence(), [this] {
            if (auto* tab = dynamic_cast<CalendarTab*>(CurrentTab())) {
                tab->StepMonth(1);
            }
        }));

    // Each tab keeps its own zoom.
    QMenu* view = menuBar()->addMenu(tr("&View"));
    QAction* zoomIn =
        add(view, "actionZoomIn", tr("Zoom &in"), QKeySequence::ZoomIn, [this] { StepZoom(1); });
    // Ctrl with the key that has + on its shift level, as on most layouts.
    zoomIn->setShortcuts({QKeySequence::ZoomIn, QKeySequence(tr("Ctrl+="))});
    add(view, "actionZoomOut", tr("Zoom &out"), QKeySequence::ZoomOut, [this] { StepZoom(-1); });
    add(view, "actionZoomFit", tr("&Fit to the window"), QKeySequence(tr("Ctrl+0")), [this] {
        if (EditorTab* tab = CurrentTab()) {
            tab->ZoomToFit();
        }
    });
}

void EditorWindow::StepZoom(int steps) const {
    if (EditorTab* tab = CurrentTab()) {
        tab->StepZoom(steps);
    }
}

void EditorWindow::RunScheduleCommand(ScheduleCommand command) const {
    if (auto* tab = dynamic_cast<ScheduleTab*>(CurrentTab())) {
        tab->Run(command);
    }
}

EditorTab* EditorWindow::CurrentTab() const {
    return dynamic_cast<EditorTab*>(m_Tabs->currentWidget());
}

QAction* EditorWindow::Action(const char* objectName) const {
    return findChild<QAction*>(QString::fromLatin1(objectName));
}

void EditorWindow::AddTab(EditorTab* tab) {
    tab->OnChanged = [this] { Refresh(); };
    const int index = m_Tabs->addTab(tab, QString::fromStdString(tab->DisplayName()));
    m_Tabs->setCurrentIndex(index);
    tab->EditingWidget()->setFocus();
    Refresh();
}

std::string EditorWindow::Open(const std::string& path, bool profile) {
    // A file open in a tab is not opened twice: two tabs would save over each other.
    for (int i = 0; i < m_Tabs->count(); ++i) {
        auto* tab = dynamic_cast<EditorTab*>(m_Tabs->widget(i));
        if (tab != nullptr && tab->File().Path() == path) {
            m_Tabs->setCurrentIndex(i);
            return {};
        }
    }
    // Whatever ends the open (a file the program refuses, memory that runs
    // out), no tab is added and every open tab stays as it was.
    try {
        if (profile) {
            AddTab(new ScheduleTab(path));
        } else {
            AddCalendarTab(path);
        }
    } catch (const std::exception& error) {
        return FailureText(error, "open", path);
    }
    return {};
}

bool EditorWindow::OpenFiles(const std::vector<std::string>& paths) {
    std::string problems;
    for (const std::string& path : paths) {
        const std::string problem = Open(path, KindByName(FileNameOf(path)) == EditedKind::Profile);
        if (!problem.empty()) {
            problems += (problems.empty() ? "" : "\n") + problem;
        }
    }
    if (!problems.empty()) {
        std::fprintf(stderr, "velmar-editor: %s\n", problems.c_str());
        m_Dialogs->ShowError(problems);
    }
    return problems.empty();
}

bool EditorWindow::OpenProfile(const std::string& path) {
    return OpenShowingProblem(path, true);
}

bool EditorWindow::OpenCalendar(const std::string& path) {
    return OpenShowingProblem(path, false);
}

bool EditorWindow::OpenShowingProblem(const std::string& path, bool profile) {
    const std::string problem = Open(path, profile);
    if (!problem.empty()) {
        m_Dialogs->ShowError(problem);
    }
    return problem.empty();
}

void EditorWindow::NewCalendar() {
    AddCalendarTab({});
}

// A calendar tab for `path` (empty: a new calendar), asking its files and
// showing its errors through the window's dialogs.
void EditorWindow::AddCalendarTab(const std::string& path) {
    auto* tab = new CalendarTab(path, m_Language);
    tab->ChooseFile = [this](const std::string& kind) {
        return kind == "profile"
                   ? m_Dialogs->OpenFileName(tr("Profile to show").toStdString(), kProfileFilter)
                   : m_Dialogs->OpenFileName(tr("Holidays").toStdString(), kICalendarFilter);
    };
    tab->ShowError = [this](const std::string& message) { m_Dialogs->ShowError(message); };
    AddTab(tab);
}

bool EditorWindow::SaveTab(EditorTab* tab, bool askForName) {
    std::string path = tab->File().Path();
    if (askForName || path.empty()) {
        path = m_Dialogs->SaveFileName(tr("Save as").toStdString(), tab->FileFilter(), path);
        if (path.empty()) {
            return false;
        }
    }
    // Whatever ends the save (a file that cannot be read for the questions
    // before it, memory that runs out), it is one message and the tab keeps
    // its changes.
    ReplaceResult result;
    try {
        ReplaceOptions options;
        if (IsReadOnlyFile(path)) {
            switch (m_Dialogs->AskReadOnly(path)) {
            case EditorDialogs::ReadOnly::SaveAnyway:
                options.OverReadOnly = true;
                break;
            case EditorDialogs::ReadOnly::SaveAs:
                return SaveTab(tab, true);
            case EditorDialogs::ReadOnly::Cancel:
                return false;
            }
        }
        bool overDiskChanges = false;
        if (path == tab->File().Path() && tab->File().ChangedOnDisk()) {
            switch (m_Dialogs->AskChangedOnDisk(path)) {
            case EditorDialogs::ChangedOnDisk::Reload:
                try {
                    tab->Revert();
                } catch (const std::exception& error) {
                    m_Dialogs->ShowError(FailureText(error, "reload", path));
                }
                return false;
            case EditorDialogs::ChangedOnDisk::SaveAnyway:
                overDiskChanges = true;
                break;
            case EditorDialogs::ChangedOnDisk::Cancel:
                return false;
            }
        }
        result = tab->Save(path, overDiskChanges, options);
    } catch (const std::exception& error) {
        // Only a rewrite in place that broke off can have changed the file.
        const bool unchanged = dynamic_cast<const IncompleteFileError*>(&error) == nullptr;
        m_Dialogs->ShowError(FailureText(error, "save", path) +
                             (unchanged ? "\nThe file on disk was not changed." : ""));
        return false;
    }
    Refresh();
    if (!result.BackupKept && !result.BackupProblem.empty()) {
        m_Dialogs->ShowError("Saved " + result.WrittenPath + ", but the previous file was not kept as " +
                             BackupPathOf(result.WrittenPath) + ": " + result.BackupProblem);
    }
    return true;
}

bool EditorWindow::Save() {
    EditorTab* tab = CurrentTab();
    return tab != nullptr && SaveTab(tab, false);
}

bool EditorWindow::SaveAs() {
    EditorTab* tab = CurrentTab();
    return tab != nullptr && SaveTab(tab, true);
}

void EditorWindow::Revert() {
    EditorTab* tab = CurrentTab();
    if (tab == nullptr) {
        return;
    }
    try {
        tab->Revert();
    } catch (const std::exception& error) {
        m_Dialogs->ShowError(FailureText(error, "reload", tab->File().Path()));
    }
    Refresh();
}

bool EditorWindow::Export() {
    EditorTab* tab = CurrentTab();
    if (tab == nullptr) {
        return false;
    }
    std::string suggested = tab->DisplayName();
    const auto dot = suggested.rfind('.');
    suggested = (dot == std::string::npos ? suggested : suggested.substr(0, dot)) + ".ics";
    for (;;) {
        const std::string path =
            m_Dialogs->SaveFileName(tr("Export to iCalendar").toStdString(), kICalendarFilter, suggested);
        if (path.empty()) {
            return false;
        }
        ReplaceOptions options;
        if (IsReadOnlyFile(path)) {
            const auto answer = m_Dialogs->AskReadOnly(path);
            if (answer == EditorDialogs::ReadOnly::Cancel) {
                return false;
            }
            if (answer == EditorDialogs::ReadOnly::SaveAs) {
                continue;
            }
            options.OverReadOnly = true;
        }
        try {
            ICalendarExport document;
            document.Stamp = QDateTime::currentSecsSinceEpoch();
            document.ExportId = NewExportId();
            document.TimeZone = QTimeZone::systemTimeZoneId().toStdString();
            const std::string text = tab->ExportICalendar(document);
            ReplaceFile(path, FileBytes(text.begin(), text.end()), options);
        } catch (const std::exception& error) {
            m_Dialogs->ShowError(FailureText(error, "export to", path));
            return false;
        }
        return true;
    }
}

bool EditorWindow::MayClose(EditorTab* tab) {
    if (!tab->Modified()) {
        return true;
    }
    m_Tabs->setCurrentWidget(tab);
    switch (m_Dialogs->AskUnsaved(tab->DisplayName())) {
    case EditorDialogs::Unsaved::Save:
        return SaveTab(tab, false);
    case EditorDialogs::Unsaved::Discard:
        return true;
    case EditorDialogs::Unsaved::Cancel:
        return false;
    }
    return false;
}

bool EditorWindow::CloseCurrentTab() {
    EditorTab* tab = CurrentTab();
    if (tab == nullptr || !MayClose(tab)) {
        return false;
    }
    m_Tabs->removeTab(m_Tabs->indexOf(tab));
    delete tab;
    Refresh();
    return true;
}

void EditorWindow::closeEvent(QCloseEvent* event) {
    for (int i = 0; i < m_Tabs->count(); ++i) {
        auto* tab = dynamic_cast<EditorTab*>(m_Tabs->widget(i));
        if (tab != nullptr && !MayClose(tab)) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

void EditorWindow::Refresh() {
    EditorTab* tab = CurrentTab();
    for (int i = 0; i < m_Tabs->count(); ++i) {
        auto* each = dynamic_cast<EditorTab*>(m_Tabs->widget(i));
        if (each != nullptr) {
            m_Tabs->setTabText(i,
                               QString::fromStdString(each->DisplayName()) + (each->Modified() ? "*" : ""));
        }
    }
    const bool any = tab != nullptr;
    for (const char* name : {"actionSave", "actionSaveAs", "actionExport", "actionClose"}) {
        Action(name)->setEnabled(any);
    }
    Action("actionRevert")->setEnabled(any && tab->File().HasPath());
    Action("actionUndo")->setEnabled(any && tab->CanUndo());
    Action("actionRedo")->setEnabled(any && tab->CanRedo());
    const bool schedule = dynamic_cast<ScheduleTab*>(tab) != nullptr;
    for (QAction* action : m_ScheduleActions) {
        action->setEnabled(schedule);
    }
    for (QAction* action : m_CalendarActions) {
        action->setEnabled(any && !schedule);
    }
    // "[*]" is where Qt puts the mark of unsaved changes.
    setWindowTitle(any ? QString::fromStdString(tab->DisplayName()) + QStringLiteral("[*] - Velmar Editor")
                       : QStringLiteral("Velmar Editor"));
    setWindowModified(any && tab->Modified());
}

} // namespace velmar
