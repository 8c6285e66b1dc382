#include "app/MainWindow.h"

#include "common/CodePage.h"
#include "common/Numeric.h"
#include "platform/LocalTime.h"

#include <algorithm>
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

// A file that could not be opened or read, or that was gone by the time the
// load came to it, may load at the next tick without a change the signature
// would see.
bool MustReadAgain(const std::vector<LoadProblem>& problems) {
    return std::any_of(problems.begin(), problems.end(), [](const LoadProblem& problem) {
        return problem.Kind == LoadProblemKind::FileUnreadable ||
               problem.Kind == LoadProblemKind::FileVanished;
    });
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

} // namespace

VelmarActiveProfiles_Main::VelmarActiveProfiles_Main(MainWindowControls controls, DataFolder folder,
                                                     ToolTipRules toolTipRules)
    : ProfileLoader([this](const ChangeSignature* listing) -> const ProfileLoad& {
          const BusyPointer busy(m_Controls.BusyPointer);
          return listing != nullptr ? m_Store.LoadAllProfiles(*listing) : m_Store.LoadAllProfiles();
      }),
      ClockText(LocalClockText), m_Controls(controls), m_Store(std::move(folder)),
      m_ToolTipRules(toolTipRules) {
    m_Controls.Window.SetCaption(kMainWindowCaption);
    m_Controls.Window.SetInnerSize(kMainWindowInnerWidth, kMainWindowInnerHeight);
    m_Controls.Timer_Reload.SetInterval(kReloadInterval);
    m_Controls.Timer_Reload.SetTickHandler([this] { Timer_Reload_Timer(); });
    m_Controls.Timer_Reload.SetEnabled(true);
    m_Controls.NotifyArea.SetIconActivatedHandler([this] { NotifyArea_IconActivated(); });
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
}

bool VelmarActiveProfiles_Main::Form_QueryUnload(CloseReason reason) {
    return reason == CloseReason::UserClose;
}

void VelmarActiveProfiles_Main::Form_Unload() {
    m_Controls.NotifyArea.SetIconVisible(kFalse);
}

void VelmarActiveProfiles_Main::NotifyArea_IconActivated() {
    m_Controls.Window.SetState(WindowState::Normal);
    m_Controls.Window.Show();
}

void VelmarActiveProfiles_Main::Timer_Reload_Timer() {
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
    ContinueOnFailure([&] {
        load = &ProfileLoader(m_PendingListed ? &*m_Pending : nullptr);
        m_ReloadAgain = MustReadAgain(load->Problems);
    });
    // A load that failed as a whole shows the tables as they are.
    ContinueOnFailure([&] { ShowActiveProfiles(load != nullptr ? *load : m_Store.Loaded()); });
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
    const std::string tip = ActiveProfilesToolTip(load, m_ToolTipRules);

    // What the load met is never swallowed: the status line lists it and the
    // icon warns of it. Neither may keep the tooltip from following the load.
    const std::vector<std::string> problems = ProblemLines(load.Problems);
    ContinueOnFailure([&] {
        StatusLine status{{}, problems};
        if (problems.empty()) {
            status.Text = "Updated " + ClockText() + " \xC2\xB7 " + std::to_string(load.NumberOfProfiles) +
                          (load.NumberOfProfiles == 1 ? " profile" : " profiles");
        } else {
            status.Text = problems.front();
        }
        m_Controls.Window.SetStatus(status);
    });
    ContinueOnFailure([&] { m_Controls.NotifyArea.SetWarning(!problems.empty()); });
    m_Controls.NotifyArea.SetToolTipText(tip);
}

} // namespace velmar
