#include "tests/support/RecordingDesktop.h"

#include "common/Errors.h"

namespace velmar {

namespace {

const char* StateName(WindowState state) {
    switch (state) {
    case WindowState::Normal:
        return "Normal";
    case WindowState::Minimized:
        return "Minimized";
    case WindowState::Maximized:
        return "Maximized";
    }
    return "?";
}

} // namespace

void RecordingLog::Record(const std::string& operation, const std::string& call) {
    if (Failing.contains(operation)) {
        Calls.push_back(call + " FAILED");
        throw HostCallError(operation);
    }
    Calls.push_back(call);
}

void RecordingLog::Reject(const std::string& what) {
    if (!Calls.empty()) {
        Calls.back() += " FAILED";
    }
    throw InvalidArgumentError(what);
}

std::vector<std::string> RecordingLog::CallsStartingWith(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const auto& call : Calls) {
        if (call.rfind(prefix, 0) == 0) {
            found.push_back(call);
        }
    }
    return found;
}

void RecordingWindow::SetCaption(const std::string& caption) {
    m_Log.Record("Window.SetCaption", "Window.Caption=" + caption);
    m_Caption = caption;
}

void RecordingWindow::SetInnerSize(int width, int height) {
    m_Log.Record("Window.SetInnerSize",
                 "Window.InnerSize=" + std::to_string(width) + "x" + std::to_string(height));
    m_Width = width;
    m_Height = height;
}

void RecordingWindow::SetStatus(const StatusLine& status) {
    std::string call = "Window.Status=" + status.Text;
    if (!status.Problems.empty()) {
        call += " (" + std::to_string(status.Problems.size()) + " problems)";
    }
    m_Log.Record("Window.SetStatus", call);
    m_Status = status;
}

void RecordingWindow::Show() {
    m_Log.Record("Window.Show", "Window.Show");
    m_Visible = true;
    m_Active = true;
}

void RecordingWindow::Hide() {
    m_Log.Record("Window.Hide", "Window.Hide");
    m_Visible = false;
}

void RecordingWindow::SetState(WindowState state) {
    m_Log.Record("Window.SetState", std::string("Window.State=") + StateName(state));
    if (state != m_State) {
        m_State = state;
        RaiseResize();
    }
}

void RecordingWindow::Create(IWindowEvents& events) {
    m_Events = &events;
    m_Events->Form_Load();
}

void RecordingWindow::UserResize(int width, int height) {
    m_Width = width;
    m_Height = height;
    RaiseResize();
}

bool RecordingWindow::RequestClose(CloseReason reason) {
    if (m_Unloaded || m_Events == nullptr) {
        return m_Unloaded;
    }
    if (m_Events->Form_QueryUnload(reason)) {
        return false;
    }
    m_Events->Form_Unload();
    m_Unloaded = true;
    m_Visible = false;
    return true;
}

void RecordingWindow::RaiseResize() {
    if (m_Events != nullptr) {
        m_Events->Form_Resize();
    }
}

void RecordingReportList::ClearRows() {
    m_Log.Record("List.ClearRows", "List.ClearRows");
    m_Rows.clear();
}

void RecordingReportList::AddRow(const std::string& text, std::int16_t smallImage) {
    m_Log.Record("List.AddRow", "List.AddRow " + std::to_string(smallImage) + " " + text);
    if (smallImage < 1 || smallImage > m_Images.Count()) {
        m_Log.Calls.back() += " FAILED";
        throw OutOfRangeError("image " + std::to_string(smallImage));
    }
    m_Rows.push_back({text, smallImage});
}

void RecordingReportList::Move(int left, int top) {
    m_Log.Record("List.Move", "List.Move " + std::to_string(left) + "," + std::to_string(top));
    m_Geometry.Left = left;
    m_Geometry.Top = top;
}

void RecordingReportList::SetWidth(int width) {
    m_Log.Record("List.SetWidth", "List.Width=" + std::to_string(width));
    if (width < 0) {
        m_Log.Reject("list width");
    }
    m_Geometry.Width = width;
}

void RecordingReportList::SetHeight(int height) {
    m_Log.Record("List.SetHeight", "List.Height=" + std::to_string(height));
    if (height < 0) {
        m_Log.Reject("list height");
    }
    m_Geometry.Height = height;
}

void RecordingReportList::SetColumnWidth(int column, int width) {
    m_Log.Record("List.SetColumnWidth",
                 "List.ColumnWidth(" + std::to_string(column) + ")=" + std::to_string(width));
    if (column != 1 || width < 0) {
        m_Log.Reject("column width");
    }
    m_Geometry.ColumnWidth = width;
}

void RecordingTimer::SetInterval(std::int32_t milliseconds) {
    m_Log.Record("Timer.SetInterval", "Timer.Interval=" + std::to_string(milliseconds));
    m_Interval = milliseconds;
}

void RecordingTimer::SetEnabled(bool enabled) {
    m_Log.Record("Timer.SetEnabled", std::string("Timer.Enabled=") + (enabled ? "true" : "false"));
    m_Enabled = enabled;
}

void RecordingTimer::Tick() {
    if (m_Enabled && m_Handler) {
        m_Handler();
    }
}

void RecordingTray::SetTrayIcon(PicturePtr picture) {
    m_Log.Record("Tray.SetTrayIcon", "Tray.TrayIcon");
    m_Icon = std::move(picture);
}

void RecordingTray::SetIconVisible(std::int16_t visible) {
    m_Log.Record("Tray.SetIconVisible", "Tray.IconVisible=" + std::to_string(visible));
    m_Visible = visible != 0 ? -1 : 0;
}

void RecordingTray::SetToolTipText(const std::string& text) {
    m_Log.Record("Tray.SetToolTipText", "Tray.ToolTipText=" + text);
    m_ToolTip = text;
    ++m_ToolTipAssignments;
}

void RecordingTray::SetWarning(bool warning) {
    m_Log.Record("Tray.SetWarning", std::string("Tray.Warning=") + (warning ? "true" : "false"));
    m_Warning = warning;
}

void RecordingTray::Activate() {
    if (m_Activated) {
        m_Activated();
    }
}

void RecordingOneShotTimer::Start(std::int32_t milliseconds, std::function<void()> handler) {
    m_Log.Record("Wait.Start", "Wait.Start " + std::to_string(milliseconds));
    m_Handler = std::move(handler);
}

bool RecordingOneShotTimer::Elapse() {
    if (!m_Handler) {
        return false;
    }
    m_Log.Calls.emplace_back("Wait.Elapsed");
    // Taken out first: the handler may start the timer again.
    const std::function<void()> handler = std::move(m_Handler);
    m_Handler = nullptr;
    handler();
    return true;
}

void RecordingBusyPointer::SetBusy(bool busy) {
    m_Log.Record("Busy.SetBusy", std::string("Busy=") + (busy ? "true" : "false"));
}

void RecordingMenu::Choose(DesktopCommand command) {
    if (m_Handler) {
        m_Handler(command);
    }
}

void RecordingServices::StartEditor(const std::string& profileFile) {
    m_Log.Record("Services.StartEditor", "Services.StartEditor " + profileFile);
}

std::optional<std::size_t> RecordingServices::AskForProfile(const std::vector<std::string>& names) {
    std::string call = "Services.AskForProfile";
    for (const auto& name : names) {
        call += " " + name;
    }
    m_Log.Record("Services.AskForProfile", call);
    return Answer;
}

void RecordingServices::OpenFolder(const std::string& folder) {
    m_Log.Record("Services.OpenFolder", "Services.OpenFolder " + folder);
}

void RecordingServices::SetStartAtLogin(bool on, const std::string& dataFolder, bool notify) {
    m_Log.Record("Services.SetStartAtLogin", std::string("Services.StartAtLogin=") + (on ? "on " : "off ") +
                                                 dataFolder + (notify ? " --notify" : ""));
    AtLogin = on;
}

void RecordingServices::ShowAbout(const std::string& dataFolder) {
    m_Log.Record("Services.ShowAbout", "Services.About " + dataFolder);
}

void RecordingServices::Notify(const std::string& title, const std::string& body) {
    m_Log.Record("Services.Notify", "Services.Notify " + title + ": " + body);
}

void RecordingServices::ShowError(const std::string& text) {
    m_Log.Record("Services.ShowError", "Services.Error " + text);
}

void RecordingServices::Quit() {
    m_Log.Record("Services.Quit", "Services.Quit");
}

} // namespace velmar
