#pragma once

// The window's controls for a machine without a graphical session, on which
// the console front end runs. The list and the tooltip are printed as one block to a
// stream every time the tooltip is set, which happens once at the end of every
// reload; the timer runs in a plain loop until SIGINT, SIGTERM or SIGHUP.

#include "platform/LocalTime.h"
#include "platform/StopSignals.h"
#include "window/ReportList.h"
#include "window/Timer.h"
#include "window/TrayIcon.h"
#include "window/Window.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace velmar {

class ConsoleImageList : public IImageList {
public:
    std::int16_t Count() const override { return 2; }
    int ImageWidth() const override { return 14; }
    int ImageHeight() const override { return 14; }
};

// Keeps its rows in memory; geometry is accepted and checked but has no effect.
class ConsoleReportList : public IReportList {
public:
    explicit ConsoleReportList(const IImageList& images) : m_Images(images) {}

    void ClearRows() override { m_Rows.clear(); }
    void AddRow(const std::string& text, std::int16_t smallImage) override;
    void Move(int left, int top) override;
    void SetWidth(int width) override;
    void SetHeight(int height) override;
    void SetColumnWidth(int column, int width) override;
    std::optional<std::int16_t> SelectedRow() const override { return std::nullopt; }

    const std::vector<ListRow>& Rows() const { return m_Rows; }

private:
    const IImageList& m_Images;
    std::vector<ListRow> m_Rows;
};

// A window nobody sees: it keeps its caption, size, visibility and state.
class ConsoleWindow : public IWindow {
public:
    void SetCaption(const std::string& caption) override { m_Caption = caption; }
    std::string Caption() const override { return m_Caption; }
    void SetInnerSize(int width, int height) override;
    int InnerWidth() const override { return m_State == WindowState::Minimized ? 0 : m_Width; }
    int InnerHeight() const override { return m_State == WindowState::Minimized ? 0 : m_Height; }
    PicturePtr Icon() const override { return m_Icon; }
    void SetStatus(const StatusLine& status) override { m_Status = status; }
    StatusLine Status() const override { return m_Status; }
    void Show() override { m_Visible = true; }
    void Hide() override { m_Visible = false; }
    bool Visible() const override { return m_Visible; }
    bool Active() const override { return m_Visible; }
    void SetState(WindowState state) override { m_State = state; }
    WindowState State() const override { return m_State; }

private:
    std::string m_Caption;
    int m_Width = 0;
    int m_Height = 0;
    bool m_Visible = false;
    WindowState m_State = WindowState::Normal;
    PicturePtr m_Icon = std::make_shared<IPicture>();
    StatusLine m_Status;
};

// Prints the list's rows, the problems of the window's status line and the
// new tooltip as one block, flushed at once, whenever the tooltip is set.
class ConsoleTray : public ITrayIcon {
public:
    ConsoleTray(const ConsoleReportList& list, const ConsoleWindow& window, std::ostream& out,
                std::function<std::string()> clock = LocalClockText);

    void SetTrayIcon(PicturePtr picture) override { m_Icon = std::move(picture); }
    PicturePtr TrayIcon() const override { return m_Icon; }
    void SetIconVisible(std::int16_t visible) override { m_Visible = visible != 0 ? -1 : 0; }
    std::int16_t IconVisible() const override { return m_Visible; }
    void SetToolTipText(const std::string& text) override;
    std::string ToolTipText() const override { return m_ToolTip; }
    // The block's "!" lines are the warning.
    void SetWarning(bool warning) override { m_Warning = warning; }
    bool Warning() const override { return m_Warning; }
    void SetIconActivatedHandler(std::function<void()> handler) override { m_Activated = std::move(handler); }
    // The console itself is where the "icon" is seen.
    bool NotificationAreaAvailable() const override { return true; }

private:
    const ConsoleReportList& m_List;
    const ConsoleWindow& m_Window;
    std::ostream& m_Out;
    bool m_Warning = false;
    std::function<std::string()> m_Clock;
    PicturePtr m_Icon;
    std::int16_t m_Visible = 0;
    std::string m_ToolTip;
    std::function<void()> m_Activated;
};

// A timer driven by RunConsoleLoop.
class ConsoleTimer : public ITimer {
public:
    void SetInterval(std::int32_t milliseconds) override { m_Interval = milliseconds; }
    std::int32_t Interval() const override { return m_Interval; }
    void SetEnabled(bool enabled) override { m_Enabled = enabled; }
    bool Enabled() const override { return m_Enabled; }
    void SetTickHandler(std::function<void()> handler) override { m_Handler = std::move(handler); }
    // Runs the tick handler once (when there is one).
    void Fire() const;

private:
    std::int32_t m_Interval = 0;
    bool m_Enabled = false;
    std::function<void()> m_Handler;
};

// The wait before a reload, driven by RunConsoleLoop beside the timer.
class ConsoleOneShotTimer : public IOneShotTimer {
public:
    void Start(std::int32_t milliseconds, std::function<void()> handler) override;
    bool Pending() const { return static_cast<bool>(m_Handler); }
    // When the handler is due; only meaningful while Pending.
    std::chrono::steady_clock::time_point Due() const { return m_Due; }
    // Runs the pending handler once and forgets it (it may start the timer again).
    void Fire();

private:
    std::chrono::steady_clock::time_point m_Due;
    std::function<void()> m_Handler;
};

// Nobody sees a pointer on the console.
class ConsoleBusyPointer : public IBusyPointer {
public:
    void SetBusy(bool /*busy*/) override {}
};

// A wait that is over at once: the handler runs within Start, for a single
// load that must not pause.
class ImmediateOneShotTimer : public IOneShotTimer {
public:
    void Start(std::int32_t /*milliseconds*/, std::function<void()> handler) override;
};

// Fires the timer every Interval milliseconds (counted from the end of the
// previous tick, so ticks never pile up) and the one-shot timer when it is
// due, until a stop signal has arrived; a disabled timer just waits. A signal
// ends the loop at once, also while the one-shot timer is pending, which then
// never fires. Returns the signal number that ended the loop.
int RunConsoleLoop(const ConsoleTimer& timer, ConsoleOneShotTimer& wait, const ConsoleStopSignals& signals);

} // namespace velmar
