#pragma once

// The main window `VelmarActiveProfiles_Main`: start-up, the reload cycle, the
// list and tooltip of active profiles, and the answers to the window's and the
// tray icon's events. Plain C++ over the platform interfaces; the platform
// raises the events and owns the controls.

#include "app/ProfileChanges.h"
#include "profiles/ChangeSignature.h"
#include "profiles/ProfileStore.h"
#include "report/ProfileList.h"
#include "report/ReloadSnapshot.h"
#include "window/DesktopCommands.h"
#include "window/ReportList.h"
#include "window/Timer.h"
#include "window/TrayIcon.h"
#include "window/Window.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmar {

inline constexpr const char* kMainWindowCaption = "Velmar - Active Profiles";
constexpr int kMainWindowInnerWidth = 312;      // 4680 twips
constexpr int kMainWindowInnerHeight = 211;     // 3165 twips
constexpr std::int32_t kReloadInterval = 5000;  // milliseconds between ticks of Timer_Reload
constexpr std::int32_t kReloadSettleWait = 500; // milliseconds a writer gets to finish
constexpr int kColumnMargin = 40;               // pixels the column leaves free of the list's width

// The controls the window carries.
struct MainWindowControls {
    IWindow& Window;
    IReportList& List_ActiveProfiles;
    IImageList& ImageList;
    ITimer& Timer_Reload;
    ITrayIcon& NotifyArea;
    IOneShotTimer& Wait;       // the wait between noticing a change and loading
    IBusyPointer& BusyPointer; // shown busy while the profiles load
    // The menus of the tray icon and the window, and the services their
    // commands use; none on the console.
    ICommandMenu* Menu = nullptr;
    IDesktopServices* Services = nullptr;
};

// The words of the status line, the problems as the window and the tooltip
// show them, and the notifications. These are the English ones; a front end
// that shows the user's language overrides them all.
class MonitorWords : public ChangeNotificationWords, public ProblemWords {
public:
    // "Updated 14:05:09 · 8 profiles".
    virtual std::string Updated(std::string_view clock, int profiles) const;
};

class VelmarActiveProfiles_Main : public IWindowEvents {
public:
    // Sets the caption and the inner size, and configures Timer_Reload
    // (5000 ms, enabled, ticking into Timer_Reload_Timer) and the tray's
    // IconActivated, as the window's design does before its load step. The
    // window watches the profiles of `folder`, which main worked out from the
    // command line.
    // The tooltip follows `toolTipRules`: those of the platform's tray unless
    // a test asks for another's.
    VelmarActiveProfiles_Main(MainWindowControls controls, DataFolder folder,
                              ToolTipRules toolTipRules = kPlatformToolTipRules);

    // The data folder the window watches.
    const DataFolder& Folder() const { return m_Store.Folder(); }

    // Load step: the tray icon, the first tick (whose load comes after the
    // wait, once the load step is over and the icon is drawn), then the window
    // is hidden (or shown when there is no notification area to reach it
    // from). A failure reaches the caller.
    void Form_Load() override;
    // Lays the list over the inner area; each step that fails is skipped.
    void Form_Resize() override;
    // Refuses exactly the user's own close (title bar, system menu, Esc,
    // Ctrl+W) and hides the window instead: the program goes on in the tray,
    // as every tray program does. Other closes (the session's end, the
    // process being ended, Quit) are granted.
    bool Form_QueryUnload(CloseReason reason) override;
    // Removes the tray icon.
    void Form_Unload() override;
    // A click on the icon: hides the window when it is shown and the one the
    // user works in, and otherwise shows it in its normal state.
    void NotifyArea_IconActivated();
    // Shows the window in its normal state, raised (the menu's "Show
    // profiles", a second start on the same folder).
    void ShowWindow();
    // Hides the window, where the tray icon can bring it back; without a
    // notification area it stays shown, since nothing else could.
    void HideWindow();

    // Carries out a command of the menus. A failing service is reported to
    // the user and changes nothing else.
    void RunCommand(DesktopCommand command);
    // Whether a reload that changed something is told in a notification
    // (--notify, or the menu's "Notify on changes").
    void SetNotifyOnChanges(bool notify);
    bool NotifyOnChanges() const { return m_NotifyOnChanges; }
    // The words of the status line, the problems and the notifications; must
    // outlive the window.
    void SetWords(const MonitorWords& words) { m_Words = &words; }

    // Tick handler of Timer_Reload. When the profile files changed (and at
    // every tick after a reload that could not read a file, until it loads)
    // it starts the wait; when the wait is over the profiles are loaded and
    // shown and the signature taken before the wait is stored. A tick while
    // that wait or load is under way is skipped. Never fails; each step that
    // fails is skipped (a wait that cannot be started, too: the load follows
    // at once).
    void Timer_Reload_Timer();

    // Refills List_ActiveProfiles from the load's profile tables, shows the
    // load's problems in the status line and as the icon's warning, and sets
    // the tooltip (ActiveProfilesToolTip). A failing status line or icon is
    // skipped; other failures reach the caller.
    void ShowActiveProfiles(const ProfileLoad& load);

    // The signature of the last reload; none before the first tick.
    const std::optional<ChangeSignature>& LastSignature() const { return m_LastSignature; }

    // The profile loader (LoadAllProfiles of the window's profile store,
    // showing the window's busy pointer meanwhile), given the listing of the
    // tick that noticed the change, or null when the tick could not list the
    // folder (the loader then lists it itself); returns the load. Tests count
    // or replace it.
    std::function<const ProfileLoad&(const ChangeSignature*)> ProfileLoader;
    // The local time of day as HH:MM:SS, for the status line; tests fix it.
    std::function<std::string()> ClockText;

    // Called, when set, after every reload with what it found (the load,
    // when it ended, how long the load took, how many reloads there were):
    // the monitoring outputs of the run (metrics, the service's status).
    std::function<void(const ReloadSnapshot&)> Reloaded;
    // Called, when set, at the start of every tick of Timer_Reload, a tick
    // that finds a reload under way included: the service's watchdog.
    std::function<void()> Ticked;

private:
    // The end of the wait: load, show, store the signature of the tick.
    void ReloadAfterWait();
    // Shows the menus' state as it is now.
    void UpdateMenu() const;
    // The selected profile's file, or the one the user picks; none when the
    // user declines or nothing is loaded.
    std::optional<std::string> ProfileToEdit();
    // Compares the load with the one before and notifies when asked to.
    void NotifyChanges(const ProfileLoad& load);

    MainWindowControls m_Controls;
    ProfileStore m_Store;
    ToolTipRules m_ToolTipRules;
    std::optional<ChangeSignature> m_LastSignature;
    bool m_ReloadAgain = false; // the last reload could not read a file
    // The signature of a tick whose wait or load is under way, and whether
    // it is a listing of the folder (reading it did not fail).
    std::optional<ChangeSignature> m_Pending;
    bool m_PendingListed = false;
    bool m_Reloading = false;
    std::uint64_t m_Reloads = 0;
    bool m_NotifyOnChanges = false;
    std::optional<LoadState> m_LastLoadState;
    const MonitorWords* m_Words;
};

} // namespace velmar
