#pragma once

// Recording fakes of the window, list, image list, timer, tray, wait and busy
// pointer, for tests. Every call is written to one shared log in order
// ("Tray.IconVisible=-1"), and any operation can be made to fail by name
// ("List.SetColumnWidth") to exercise the steps that continue after a failure.
// The window also plays the platform's part: it raises the window events
// when it is created, resized, minimised or asked to close.

#include "window/DesktopCommands.h"
#include "window/ReportList.h"
#include "window/Timer.h"
#include "window/TrayIcon.h"
#include "window/Window.h"

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace velmar {

class RecordingLog {
public:
    std::vector<std::string> Calls;
    // Operations ("Window.Hide") that raise HostCallError instead of acting.
    std::set<std::string> Failing;

    // Appends `call` to the log; throws when `operation` is failing.
    void Record(const std::string& operation, const std::string& call);
    // Marks the last call as failed and raises InvalidArgumentError, for a
    // call the real control would refuse (a negative width).
    [[noreturn]] void Reject(const std::string& what);
    // The calls whose text begins with `prefix`.
    std::vector<std::string> CallsStartingWith(const std::string& prefix) const;
};

class RecordingPicture : public IPicture {};

class RecordingWindow : public IWindow {
public:
    explicit RecordingWindow(RecordingLog& log) : m_Log(log) {}

    void SetCaption(const std::string& caption) override;
    std::string Caption() const override { return m_Caption; }
    void SetInnerSize(int width, int height) override;
    int InnerWidth() const override { return m_State == WindowState::Minimized ? 0 : m_Width; }
    int InnerHeight() const override { return m_State == WindowState::Minimized ? 0 : m_Height; }
    PicturePtr Icon() const override { return m_Icon; }
    // Logged as "Window.Status=TEXT", with " (N problems)" while there are any.
    void SetStatus(const StatusLine& status) override;
    StatusLine Status() const override { return m_Status; }
    void Show() override;
    void Hide() override;
    bool Visible() const override { return m_Visible; }
    // Showing the window makes it the active one, as the platform's does.
    bool Active() const override { return m_Visible && m_Active; }
    // A change of state raises Form_Resize, as the window's inner area changes.
    void SetState(WindowState state) override;
    WindowState State() const override { return m_State; }

    // The platform's side. Create raises Form_Load; the others act as the
    // user or the system would and raise the events that follow.
    void Create(IWindowEvents& events);
    // Connects the events without raising Form_Load.
    void Attach(IWindowEvents& events) { m_Events = &events; }
    void UserResize(int width, int height);
    void UserMinimise() { SetState(WindowState::Minimized); }
    void UserMaximise() { SetState(WindowState::Maximized); }
    // The user turns to another window.
    void UserActivatesAnother() { m_Active = false; }
    // Asks to close; returns true when the window was unloaded.
    bool RequestClose(CloseReason reason);
    bool Unloaded() const { return m_Unloaded; }

private:
    void RaiseResize();

    RecordingLog& m_Log;
    IWindowEvents* m_Events = nullptr;
    std::string m_Caption;
    int m_Width = 0;
    int m_Height = 0;
    bool m_Visible = false;
    bool m_Active = false;
    bool m_Unloaded = false;
    WindowState m_State = WindowState::Normal;
    PicturePtr m_Icon = std::make_shared<RecordingPicture>();
    StatusLine m_Status;
};

class RecordingImageList : public IImageList {
public:
    std::int16_t Count() const override { return 2; }
    int ImageWidth() const override { return kSmallImageSize; }
    int ImageHeight() const override { return kSmallImageSize; }
};

class RecordingReportList : public IReportList {
public:
    struct Geometry {
        int Left = 0;
        int Top = 0;
        int Width = 0;
        int Height = 0;
        int ColumnWidth = 0;
    };

    RecordingReportList(RecordingLog& log, const IImageList& images) : m_Log(log), m_Images(images) {}

    void ClearRows() override;
    void AddRow(const std::string& text, std::int16_t smallImage) override;
    void Move(int left, int top) override;
    void SetWidth(int width) override;
    void SetHeight(int height) override;
    void SetColumnWidth(int column, int width) override;
    std::optional<std::int16_t> SelectedRow() const override { return Selected; }

    const std::vector<ListRow>& Rows() const { return m_Rows; }
    // The row the user selected.
    std::optional<std::int16_t> Selected;
    const Geometry& Layout() const { return m_Geometry; }

private:
    RecordingLog& m_Log;
    const IImageList& m_Images;
    std::vector<ListRow> m_Rows;
    Geometry m_Geometry;
};

class RecordingTimer : public ITimer {
public:
    explicit RecordingTimer(RecordingLog& log) : m_Log(log) {}
    void SetInterval(std::int32_t milliseconds) override;
    std::int32_t Interval() const override { return m_Interval; }
    void SetEnabled(bool enabled) override;
    bool Enabled() const override { return m_Enabled; }
    void SetTickHandler(std::function<void()> handler) override { m_Handler = std::move(handler); }
    // Delivers one tick when the timer is enabled.
    void Tick();

private:
    RecordingLog& m_Log;
    std::int32_t m_Interval = 0;
    bool m_Enabled = false;
    std::function<void()> m_Handler;
};

class RecordingTray : public ITrayIcon {
public:
    explicit RecordingTray(RecordingLog& log) : m_Log(log) {}
    void SetTrayIcon(PicturePtr picture) override;
    PicturePtr TrayIcon() const override { return m_Icon; }
    void SetIconVisible(std::int16_t visible) override;
    std::int16_t IconVisible() const override { return m_Visible; }
    void SetToolTipText(const std::string& text) override;
    std::string ToolTipText() const override { return m_ToolTip; }
    void SetWarning(bool warning) override;
    bool Warning() const override { return m_Warning; }
    void SetIconActivatedHandler(std::function<void()> handler) override { m_Activated = std::move(handler); }
    bool NotificationAreaAvailable() const override { return Available; }

    // The user acting on the icon.
    void Activate();
    // Times the tooltip was set.
    int ToolTipAssignments() const { return m_ToolTipAssignments; }

    bool Available = true;

private:
    RecordingLog& m_Log;
    PicturePtr m_Icon;
    std::int16_t m_Visible = 0;
    std::string m_ToolTip;
    bool m_Warning = false;
    int m_ToolTipAssignments = 0;
    std::function<void()> m_Activated;
};

// Logged as "Wait.Start 500" when started; fires only when the test lets
// the time pass with Elapse.
class RecordingOneShotTimer : public IOneShotTimer {
public:
    explicit RecordingOneShotTimer(RecordingLog& log) : m_Log(log) {}
    void Start(std::int32_t milliseconds, std::function<void()> handler) override;

    bool Pending() const { return static_cast<bool>(m_Handler); }
    // The time has passed: logs "Wait.Elapsed" and runs the handler, when one
    // is pending; false when none was.
    bool Elapse();

private:
    RecordingLog& m_Log;
    std::function<void()> m_Handler;
};

class RecordingBusyPointer : public IBusyPointer {
public:
    explicit RecordingBusyPointer(RecordingLog& log) : m_Log(log) {}
    void SetBusy(bool busy) override;

private:
    RecordingLog& m_Log;
};

// The tray's menu: keeps the state it was given; the test chooses commands.
class RecordingMenu : public ICommandMenu {
public:
    void SetMenuState(const CommandMenuState& state) override { m_State = state; }
    void SetCommandHandler(std::function<void(DesktopCommand)> handler) override {
        m_Handler = std::move(handler);
    }
    const CommandMenuState& State() const { return m_State; }
    // The user choosing a menu item.
    void Choose(DesktopCommand command);

private:
    CommandMenuState m_State;
    std::function<void(DesktopCommand)> m_Handler;
};

// The desktop's services, logged ("Services.StartEditor /data/Profiles/Profile_0001.dat");
// each fails when its operation ("Services.StartEditor") is failing.
class RecordingServices : public IDesktopServices {
public:
    explicit RecordingServices(RecordingLog& log) : m_Log(log) {}
    bool EditorAvailable() const override { return EditorInstalled; }
    void StartEditor(const std::string& profileFile) override;
    std::optional<std::size_t> AskForProfile(const std::vector<std::string>& names) override;
    void OpenFolder(const std::string& folder) override;
    bool StartsAtLogin() const override { return AtLogin; }
    void SetStartAtLogin(bool on, const std::string& dataFolder, bool notify) override;
    void ShowAbout(const std::string& dataFolder) override;
    void Notify(const std::string& title, const std::string& body) override;
    void ShowError(const std::string& text) override;
    void Quit() override;

    bool EditorInstalled = true;
    bool AtLogin = false;
    // What AskForProfile answers.
    std::optional<std::size_t> Answer;

private:
    RecordingLog& m_Log;
};

// One of each, sharing a log.
struct RecordingDesktop {
    RecordingLog Log;
    RecordingWindow Window{Log};
    RecordingImageList ImageList;
    RecordingReportList List{Log, ImageList};
    RecordingTimer Timer{Log};
    RecordingTray Tray{Log};
    RecordingOneShotTimer Wait{Log};
    RecordingBusyPointer Busy{Log};
    RecordingMenu Menu;
    RecordingServices Services{Log};
};

} // namespace velmar
