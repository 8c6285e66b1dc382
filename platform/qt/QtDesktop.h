#pragma once

// Qt widgets behind the window, list, image list, timers, tray and busy
// pointer interfaces of the main window.

#include "platform/ReportList.h"
#include "platform/Timer.h"
#include "platform/TrayIcon.h"
#include "platform/Window.h"

#include <QIcon>
#include <QLocalServer>
#include <QLockFile>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>
#include <string>

class QLabel;
class QTreeWidget;

namespace velmar {

// A picture of the platform: a Qt icon.
class QtPicture : public IPicture {
public:
    explicit QtPicture(QIcon icon) : m_Icon(std::move(icon)) {}
    const QIcon& Icon() const { return m_Icon; }

private:
    QIcon m_Icon;
};

// A shaded ball of `colour`, the list's mark of a profile: 14 by 14 pixels on
// a transparent ground at a device pixel ratio of 1. It is drawn for the size
// and device pixel ratio it is shown at, so it stays sharp on a scaled screen.
QIcon DrawBallIcon(const QColor& colour);
// The program's icon "velmar-active-profiles": its PNG renderings built into
// the program, carrying the icon theme's name for desktops that draw tray
// icons themselves.
QIcon ProgramIcon();
// The program's icon with an amber warning mark, for while profiles cannot be
// read: "velmar-active-profiles-warning", built in the same way.
QIcon WarningProgramIcon();

// The image list `ImageList`: image 1 a red ball, image 2 a green ball.
class QtImageList : public IImageList {
public:
    QtImageList();
    std::int16_t Count() const override { return 2; }
    int ImageWidth() const override { return kSmallImageSize; }
    int ImageHeight() const override { return kSmallImageSize; }
    // The image by its number; OutOfRangeError outside 1..Count.
    const QIcon& Image(std::int16_t number) const;

private:
    std::array<QIcon, 2> m_Images;
};

// The report list `List_ActiveProfiles` on a QTreeWidget with one column.
// Each row also says "active" or "inactive" in words, as its accessible
// description and its tooltip, for screen readers and for whoever cannot tell
// the balls apart.
class QtReportList : public IReportList {
public:
    QtReportList(QTreeWidget& widget, const QtImageList& images) : m_Widget(widget), m_Images(images) {}

    void ClearRows() override;
    void AddRow(const std::string& text, std::int16_t smallImage) override;
    void Move(int left, int top) override;
    void SetWidth(int width) override;
    void SetHeight(int height) override;
    void SetColumnWidth(int column, int width) override;

private:
    QTreeWidget& m_Widget;
    const QtImageList& m_Images;
};

// The top-level window `VelmarActiveProfiles_Main` carrying the list, and
// under it the status line `Label_Status`, which lies outside the inner area
// the window reports: the list keeps the whole of that. It raises the window
// events: Form_Load on Create, Form_Resize on every size or state change,
// Form_QueryUnload and Form_Unload on a close request. Ctrl+Q closes it as
// the program's own request, which is granted.
class QtMainWindow : public QWidget, public IWindow {
public:
    explicit QtMainWindow(const QtImageList& images);

    IReportList& List() { return m_List; }
    QTreeWidget& ListWidget() { return *m_ListWidget; }

    void SetEvents(IWindowEvents* events) { m_Events = events; }
    // Raises Form_Load.
    void Create();
    // A close request for a reason other than the user's own; true when the
    // window was unloaded. The window's own close events come through
    // closeEvent: spontaneous ones are the user's, unless the session is
    // being saved (log-off, shutdown).
    bool RequestClose(CloseReason reason);
    // Unloads without asking, when the application quits for any reason.
    void EnsureUnloaded();
    bool Unloaded() const { return m_Unloaded; }
    // Called once after Form_Unload (the application then quits).
    std::function<void()> OnUnloaded;

    void SetCaption(const std::string& caption) override;
    std::string Caption() const override;
    void SetInnerSize(int width, int height) override;
    int InnerWidth() const override;
    int InnerHeight() const override;
    PicturePtr Icon() const override { return m_Icon; }
    // Plain text; the problems in the theme's error colour, all of them in
    // the line's tooltip.
    void SetStatus(const StatusLine& status) override;
    StatusLine Status() const override { return m_Status; }
    void Show() override;
    void Hide() override;
    bool Visible() const override { return isVisible(); }
    void SetState(WindowState state) override;
    WindowState State() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void RaiseResize();
    bool Close(CloseReason reason);

    int StatusHeight() const;

    QTreeWidget* m_ListWidget;
    QLabel* m_StatusLabel;
    StatusLine m_Status;
    QtReportList m_List;
    std::shared_ptr<const QtPicture> m_Icon;
    IWindowEvents* m_Events = nullptr;
    bool m_Unloaded = false;
    bool m_InStateChange = false;
};

// The timer `Timer_Reload` on a QTimer.
class QtTimer : public ITimer {
public:
    QtTimer();
    void SetInterval(std::int32_t milliseconds) override;
    std::int32_t Interval() const override { return m_Timer.interval(); }
    void SetEnabled(bool enabled) override;
    bool Enabled() const override { return m_Timer.isActive(); }
    void SetTickHandler(std::function<void()> handler) override { m_Handler = std::move(handler); }

private:
    QTimer m_Timer;
    std::function<void()> m_Handler;
};

// The tray component `NotifyArea` on a QSystemTrayIcon. A click or double click
// on the icon raises IconActivated. The picture is handed to Qt only when it
// changes (Qt writes a temporary file for every new icon on some desktops).
// Its context menu offers "Show profiles" (IconActivated) and "Quit".
class QtTrayIcon : public ITrayIcon {
public:
    QtTrayIcon();
    void SetTrayIcon(PicturePtr picture) override;
    PicturePtr TrayIcon() const override { return m_Picture; }
    void SetIconVisible(std::int16_t visible) override;
    std::int16_t IconVisible() const override { return m_Tray.isVisible() ? -1 : 0; }
    // Plain text: the text's first line is always the heading, and Qt treats a
    // tooltip as markup only when its first line looks like markup, so names
    // on the following lines are shown literally.
    void SetToolTipText(const std::string& text) override;
    std::string ToolTipText() const override { return m_Tray.toolTip().toStdString(); }
    // While warning, the tray shows WarningProgramIcon.
    void SetWarning(bool warning) override;
    bool Warning() const override { return m_Warning; }
    void SetIconActivatedHandler(std::function<void()> handler) override { m_Activated = std::move(handler); }
    bool NotificationAreaAvailable() const override { return QSystemTrayIcon::isSystemTrayAvailable(); }
    // The handler of the menu's "Quit".
    void SetQuitHandler(std::function<void()> handler) { m_Quit = std::move(handler); }

    QSystemTrayIcon& Widget() { return m_Tray; }

private:
    QMenu m_Menu; // outlives the icon that shows it
    // Hands the picture, or its warning variant, to Qt.
    void ShowIcon();

    QSystemTrayIcon m_Tray;
    PicturePtr m_Picture;
    bool m_Warning = false;
    std::function<void()> m_Activated;
    std::function<void()> m_Quit;
};

// The wait before a reload on a single-shot QTimer: the event loop runs on
// meanwhile, so the icon is drawn and the window answers.
class QtOneShotTimer : public IOneShotTimer {
public:
    QtOneShotTimer();
    void Start(std::int32_t milliseconds, std::function<void()> handler) override;

private:
    QTimer m_Timer;
    std::function<void()> m_Handler;
};

// The application-wide busy pointer (an override cursor).
class QtBusyPointer : public IBusyPointer {
public:
    void SetBusy(bool busy) override;

private:
    bool m_Busy = false;
};

// Names the application for the desktop: "Velmar Active Profiles", which a
// StatusNotifierItem host shows as the icon's name, and the desktop file
// "velmar-active-profiles" (the Wayland app id). The display name is left to
// follow the application name: set on its own, Qt would append it to every
// window title. Call before the application object exists.
void SetDesktopIdentity();

// Answers the session manager. A checkpoint (the session saves itself and goes
// on) leaves the program running; a log-off or shutdown ends it through the
// application's quit, which unloads the window. The session manager is told
// never to restart the program: its start belongs to the desktop's autostart,
// which carries the "/PATH:" that a restart would lose.
void InstallSessionHandling();

// One running desktop front end per user and data folder. A lock file and a
// local server live in the user's runtime folder, both named after the data
// folder's canonical path; a second start finds the lock held, asks the
// running one through the server to show its window, and ends. A lock left by
// a process that no longer runs is taken over.
class QtSingleInstance {
public:
    enum class State {
        First,     // this process holds the folder and listens for requests
        Running,   // another process holds it
        Unchecked, // the lock cannot be made (see Problem); runs without it
    };

    // `canonicalFolder` is the data folder's canonical path; `runtimeFolder`
    // defaults to the user's runtime folder.
    explicit QtSingleInstance(const std::string& canonicalFolder, const QString& runtimeFolder = {});
    QtSingleInstance(const QtSingleInstance&) = delete;
    QtSingleInstance& operator=(const QtSingleInstance&) = delete;

    State Acquire();
    // Why the state is Unchecked.
    const std::string& Problem() const { return m_Problem; }
    // Asks the running instance to show its window and waits for its answer
    // up to `timeoutMs` (it may still be starting); true when it answered.
    bool AskRunningToShow(int timeoutMs);
    // Raised on the user-interface thread when a later start asks to be shown.
    std::function<void()> OnShowRequested;

    QString ServerName() const { return m_ServerName; }

private:
    QLockFile m_Lock;
    QLocalServer m_Server;
    QString m_ServerName;
    std::string m_Problem;
};

// Turns SIGINT, SIGTERM and SIGHUP into a call of `onStop` on the user-interface
// thread, through a socket pair watched by the event loop (a signal handler
// may do nothing but write a byte). Call once, after the application exists.
void InstallStopSignals(std::function<void()> onStop);

} // namespace velmar
