#include "app/MainWindow.h"

#include "common/CodePage.h"
#include "common/Numeric.h"
#include "platform/LocalTime.h"
#include "report/StoreSnapshot.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <utility>

namespace velmar {

namespace {

// Runs one step of a sequence that goes on after a failure: a step that fails
// is skipped and nothing is reported. Each step is wrapped on its own.
template <typename Step> void ContinueOnFailure(Step&& step) {
    try {
        std::forward<Step>(step)();
    } catch (const std::exception&) {
        // skipped by design
    }
}

// Shows the busy pointer for the lifetime of the object, and the default
// pointer again however the load ends.
class BusyPointer {
public:
    explicit BusyPointer(IBusyPointer& pointer) : m_Pointer(pointer) { Set(true); }
    ~BusyPointer() { Set(false); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    void Set(bool busy) {
        try {
            m_Pointer.SetBusy(busy);
        } catch (...) {
            // A pointer that cannot be changed does not stop the load.
        }
    }

    IBusyPointer& m_Pointer;
};

// What the load shows, as the notifications compare it.
LoadState StateOf(const ProfileLoad& load, const std::vector<std::string>& problems) {
    LoadState state;
    for (std::int16_t i = 0; i < load.NumberOfProfiles; ++i) {
        state.Profiles.push_back({load.FileNames[i], load.Profiles[i].Name, load.Profiles[i].Active != 0});
    }
    if (!problems.empty()) {
        state.FirstProblem = problems.front();
    }
    return state;
}

const MonitorWords kEnglishWords;

} // namespace

std::string MonitorWords::Updated(std::string_view clock, int profiles) const {
    return "Updated " + std::string(clock) + " \xC2\xB7 " + std::to_string(profiles) +
           (profiles == 1 ? " profile" : " profiles");
}

VelmarActiveProfiles_Main::VelmarActiveProfiles_Main(MainWindowControls controls, DataFolder folder,
                                                     ToolTipRules toolTipRules)
    : ProfileLoader([this](const ChangeSignature* listing) -> const ProfileLoad& {
          const BusyPointer busy(m_Controls.BusyPointer);
          return listing != nullptr ? m_Store.LoadAllProfiles(*listing) : m_Store.LoadAllProfiles();
      }),
      ClockText(LocalClockText), m_Controls(controls), m_Store(std::move(folder)),
      m_ToolTipRules(toolTipRules), m_Words(&kEnglishWords) {
    m_Controls.Window.SetCaption(kMainWindowCaption);
    m_Controls.Window.SetInnerSize(kMainWindowInnerWidth, kMainWindowInnerHeight);
    m_Controls.Timer_Reload.SetInterval(kReloadInterval);
    m_Controls.Timer_Reload.SetTickHandler([this] { Timer_Reload_Timer(); });
    m_Controls.Timer_Reload.SetEnabled(true);
    m_Controls.NotifyArea.SetIconActivatedHandler([this] { NotifyArea_IconActivated(); });
    if (m_Controls.Menu != nullptr) {
        m_Controls.Menu->SetCommandHandler([this](DesktopCommand command) { RunCommand(command); });
    }
}

void VelmarActiveProfiles_Main::Form_Load() {
    // The data folder was settled before the window was made (DataFolder).
    m_Controls.NotifyArea.SetTrayIcon(m_Controls.Window.Icon());
    m_Controls.NotifyArea.SetIconVisible(kTrue);

    Timer_Reload_Timer();

    // Without a notification area the icon cannot be reached, and a hidden
    // window would be lost: it is shown instead.
    if (m_Controls.NotifyArea.NotificationAreaAvailable()) {
        m_Controls.Window.Hide();
    } else {
        m_Controls.Window.Show();
    }
    UpdateMenu();
}

void VelmarActiveProfiles_Main::Form_Resize() {
    IWindow& window = m_Controls.Window;
    IReportList& list = m_Controls.List_ActiveProfiles;
    ContinueOnFailure([&] { list.Move(0, 0); });
    ContinueOnFailure([&] { list.SetWidth(window.InnerWidth()); });
    ContinueOnFailure([&] { list.SetHeight(window.InnerHeight()); });
    // Fails while the window is minimised: its inner width is then 0 and the
    // column width negative. The step is skipped and the next one hides it.
    ContinueOnFailure([&] { list.SetColumnWidth(1, window.InnerWidth() - kColumnMargin); });
    ContinueOnFailure([&] {
        if (window.State() == WindowState::Minimized && m_Controls.NotifyArea.NotificationAreaAvailable()) {
            window.Hide();
        }
    });
    ContinueOnFailure([&] { UpdateMenu(); });
}

bool VelmarActiveProfiles_Main::Form_QueryUnload(CloseReason reason) {
    if (reason != CloseReason::UserClose) {
        return false;
    }
    HideWindow();
    return true;
}

void VelmarActiveProfiles_Main::Form_Unload() {
    m_Controls.NotifyArea.SetIconVisible(kFalse);
}

void VelmarActiveProfiles_Main::NotifyArea_IconActivated() {
    if (m_Controls.Window.Active()) {
        HideWindow();
    } else {
        ShowWindow();
    }
}

void VelmarActiveProfiles_Main::ShowWindow() {
    m_Controls.Window.SetState(WindowState::Normal);
    m_Controls.Window.Show();
    UpdateMenu();
}

void VelmarActiveProfiles_Main::HideWindow() {
    if (m_Controls.NotifyArea.NotificationAreaAvailable()) {
        m_Controls.Window.Hide();
    }
    UpdateMenu();
}

void VelmarActiveProfiles_Main::SetNotifyOnChanges(bool notify) {
    m_NotifyOnChanges = notify;
    UpdateMenu();
}

void VelmarActiveProfiles_Main::UpdateMenu() const {
    if (m_Controls.Menu == nullptr) {
        return;
    }
    CommandMenuState state;
    state.WindowShown = m_Controls.Window.Visible() && m_Controls.Window.State() != WindowState::Minimized;
    state.NotifyOnChanges = m_NotifyOnChanges;
    if (m_Controls.Services != nullptr) {
        state.EditorAvailable = m_Controls.Services->EditorAvailable();
        ContinueOnFailure([&] { state.StartAtLogin = m_Controls.Services->StartsAtLogin(); });
    }
    m_Controls.Menu->SetMenuState(state);
}

std::optional<std::string> VelmarActiveProfiles_Main::ProfileToEdit() {
    if (!m_LastLoadState || m_LastLoadState->Profiles.empty()) {
        return std::nullopt;
    }
    const std::vector<ProfileState>& profiles = m_LastLoadState->Profiles;
    std::optional<std::int16_t> row;
    ContinueOnFailure([&] { row = m_Controls.List_ActiveProfiles.SelectedRow(); });
    std::size_t index = 0;
    if (row && *row >= 0 && static_cast<std::size_t>(*row) < profiles.size()) {
        index = static_cast<std::size_t>(*row);
    } else {
        std::vector<std::string> names;
        names.reserve(profiles.size());
        for (const auto& profile : profiles) {
            names.push_back(profile.Name);
        }
        const auto chosen = m_Controls.Services->AskForProfile(names);
        if (!chosen || *chosen >= names.size()) {
            return std::nullopt;
        }
        index = *chosen;
    }
    return m_Store.Folder().ProfileFile(profiles[index].File);
}

void VelmarActiveProfiles_Main::RunCommand(DesktopCommand command) {
    IDesktopServices* services = m_Controls.Services;
    const std::string folder = m_Store.Folder().DataPath();
    try {
        switch (command) {
        case DesktopCommand::ShowHide:
            if (m_Controls.Window.Visible() && m_Controls.Window.State() != WindowState::Minimized) {
                HideWindow();
            } else {
                ShowWindow();
            }
            break;
        case DesktopCommand::NotifyOnChanges:
            SetNotifyOnChanges(!m_NotifyOnChanges);
            // The entry at login starts the program as it now runs.
            if (services != nullptr && services->StartsAtLogin()) {
                services->SetStartAtLogin(true, folder, m_NotifyOnChanges);
            }
            break;
        case DesktopCommand::EditSchedule:
            if (services != nullptr) {
                if (const auto file = ProfileToEdit()) {
                    services->StartEditor(*file);
                }
            }
            break;
        case DesktopCommand::OpenDataFolder:
            if (services != nullptr) {
                services->OpenFolder(folder);
            }
            break;
        case DesktopCommand::StartAtLogin:
            if (services != nullptr) {
                services->SetStartAtLogin(!services->StartsAtLogin(), folder, m_NotifyOnChanges);
            }
            break;
        case DesktopCommand::About:
            if (services != nullptr) {
                services->ShowAbout(folder);
            }
            break;
        case DesktopCommand::Quit:
            if (services != nullptr) {
                services->Quit();
            }
            return; // the window may be gone
        }
    } catch (const std::exception& error) {
        if (services != nullptr) {
            ContinueOnFailure([&] { services->ShowError(error.what()); });
        }
    }
    UpdateMenu();
}

void VelmarActiveProfiles_Main::Timer_Reload_Timer() {
    if (Ticked) {
        ContinueOnFailure([&] { Ticked(); });
    }
    // A change already noticed is still waiting or being loaded: this tick
    // could only notice it again.
    if (m_Pending) {
        return;
    }

    ChangeSignature signature;
    bool listed = false;
    ContinueOnFailure([&] {
        signature = ReadChangeSignature(m_Store.Folder());
        listed = true;
    });

    // A file that could not be opened or read (its permissions, a failing
    // disk) may be readable at the next tick without any change the signature
    // would see, so such a reload is never taken as unchanged.
    if (m_LastSignature && !m_ReloadAgain && SameSignature(signature, *m_LastSignature)) {
        return;
    }

    // The signature is the one taken before the wait and the load: a file that
    // changes meanwhile differs at the next tick and is loaded again. The wait
    // runs on the event loop; the load follows when it is over and reads the
    // files this listing found, so that the folder is listed once.
    m_Pending = std::move(signature);
    m_PendingListed = listed;
    bool waiting = false;
    ContinueOnFailure([&] {
        m_Controls.Wait.Start(kReloadSettleWait, [this] { ReloadAfterWait(); });
        waiting = true;
    });
    if (!waiting) {
        ReloadAfterWait(); // a wait that could not be started is skipped
    }
}

void VelmarActiveProfiles_Main::ReloadAfterWait() {
    if (!m_Pending || m_Reloading) {
        return; // done already, or under way
    }
    m_Reloading = true;
    m_ReloadAgain = true; // unless the load says otherwise
    const ProfileLoad* load = nullptr;
    const auto start = std::chrono::steady_clock::now();
    ContinueOnFailure([&] {
        load = &ProfileLoader(m_PendingListed ? &*m_Pending : nullptr);
        m_ReloadAgain = MustReadAgain(load->Problems);
    });
    const LoadTiming timing{std::chrono::system_clock::now(), std::chrono::steady_clock::now() - start,
                            ++m_Reloads};
    // A load that failed as a whole shows the tables as they are.
    const ProfileLoad& shown = load != nullptr ? *load : m_Store.Loaded();
    // The monitoring outputs first, so that whoever sees the list change
    // finds the metrics changed as well.
    if (Reloaded) {
        ContinueOnFailure([&] { Reloaded(SnapshotOfLoad(shown, timing)); });
    }
    ContinueOnFailure([&] { ShowActiveProfiles(shown); });
    m_LastSignature = std::move(m_Pending);
    m_Pending.reset();
    m_Reloading = false;
}

void VelmarActiveProfiles_Main::ShowActiveProfiles(const ProfileLoad& load) {
    IReportList& list = m_Controls.List_ActiveProfiles;
    list.ClearRows();
    for (std::int16_t i = 0; i < load.NumberOfProfiles; ++i) {
        const ProfileRecord& profile = load.Profiles[i];
        list.AddRow(profile.Name, profile.Active != 0 ? kImageActive : kImageInactive);
    }
    const std::string tip = ActiveProfilesToolTip(load, m_ToolTipRules, *m_Words);

    // What the load met is never swallowed: the status line lists it and the
    // icon warns of it. Neither may keep the tooltip from following the load.
    const std::vector<std::string> problems = ProblemLines(load.Problems, *m_Words);
    ContinueOnFailure([&] {
        StatusLine status{{}, problems, m_Store.Folder().DataPath()};
        if (problems.empty()) {
            status.Text = m_Words->Updated(ClockText(), load.NumberOfProfiles);
        } else {
            status.Text = problems.front();
        }
        m_Controls.Window.SetStatus(status);
    });
    ContinueOnFailure([&] { m_Controls.NotifyArea.SetWarning(!problems.empty()); });
    m_Controls.NotifyArea.SetToolTipText(tip);
    ContinueOnFailure([&] { NotifyChanges(load); });
}

void VelmarActiveProfiles_Main::NotifyChanges(const ProfileLoad& load) {
    LoadState state = StateOf(load, ProblemLines(load.Problems, *m_Words));
    const ProfileChanges changes = CompareLoads(m_LastLoadState ? &*m_LastLoadState : nullptr, state);
    m_LastLoadState = std::move(state);
    if (!m_NotifyOnChanges || m_Controls.Services == nullptr) {
        return;
    }
    if (const auto notification = ChangeNotification(changes, *m_Words)) {
        m_Controls.Services->Notify(notification->Title, notification->Body);
    }
}

} // namespace velmar
