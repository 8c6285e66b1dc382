#include "app/MainWindow.h"
#include "common/CodePage.h"
#include "profiles/ProfileStore.h"
#include "tests/support/RecordingDesktop.h"
#include "window/Window.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace velmar {
namespace {

// The load the tests' loader hands the window, as SetProfiles fills it.
ProfileLoad& TestLoad() {
    static ProfileLoad load{DataFolder("/nowhere/")};
    return load;
}

struct Profile {
    std::string Name;
    bool Active;
};

void SetProfiles(const std::vector<Profile>& profiles) {
    TestLoad().NumberOfProfiles = static_cast<std::int16_t>(profiles.size());
    for (std::size_t i = 0; i < profiles.size(); ++i) {
        TestLoad().Profiles[static_cast<long long>(i)] = ProfileRecord{};
        TestLoad().Profiles[static_cast<long long>(i)].Name = profiles[i].Name;
        TestLoad().Profiles[static_cast<long long>(i)].Active = profiles[i].Active ? -1 : 0;
        TestLoad().FileNames[static_cast<long long>(i)] = "Profile_000" + std::to_string(i + 1) + ".dat";
    }
    // A stale slot behind the valid ones is never read.
    if (profiles.size() < kMaxProfiles) {
        TestLoad().Profiles[static_cast<long long>(profiles.size())].Name = "stale";
        TestLoad().Profiles[static_cast<long long>(profiles.size())].Active = -1;
    }
    TestLoad().Problems.clear();
}

// The tooltip of the Windows notification area, which most of these tests
// check, as the rules of its 64 characters are the tightest.
constexpr ToolTipRules kWindowsRules{ToolTipLimit::Windows, "\r\n"};

// A window on recording controls; loads nothing from disk.
struct Fixture {
    explicit Fixture(ToolTipRules rules = kWindowsRules,
                     const std::vector<std::string>& arguments = {"/PATH:/nowhere"})
        : Main({Desktop.Window, Desktop.List, Desktop.ImageList, Desktop.Timer, Desktop.Tray, Desktop.Wait,
                Desktop.Busy, &Desktop.Menu, &Desktop.Services},
               DataFolder::FromCommandLine("/opt/velmar", arguments), rules) {
        Main.ProfileLoader = [this](const ChangeSignature* /*listing*/) -> const ProfileLoad& {
            ++Loads;
            return TestLoad();
        };
        Main.ClockText = [] { return std::string("12:00:00"); };
        Desktop.Window.Attach(Main);
    }

    // One tick of Timer_Reload and, when it started the wait, the wait's end.
    void TickAndWait() {
        Main.Timer_Reload_Timer();
        Desktop.Wait.Elapse();
    }

    RecordingDesktop Desktop;
    VelmarActiveProfiles_Main Main;
    int Loads = 0;
};

std::string ToolTipFor(const std::vector<Profile>& profiles, ToolTipRules rules = kWindowsRules) {
    SetProfiles(profiles);
    Fixture f(rules);
    f.Main.ShowActiveProfiles(TestLoad());
    return f.Desktop.Tray.ToolTipText();
}

const std::string kDot = "\xC2\xB7 ";

TEST(ShowActiveProfiles, ToolTipRules) {
    const std::string name60(60, 'N');
    const std::string crlf = "\r\n";
    struct Case {
        const char* Title;
        std::vector<Profile> Profiles;
        std::string Expected; // with CRLF line breaks
    };
    const std::vector<Case> cases = {
        {"none loaded", {}, "Aktiva profiler:"},
        {"none active", {{"A", false}, {"B", false}}, "Aktiva profiler:"},
        {"one five-letter name", {{"Alpha", true}}, "Aktiva profiler:" + crlf + kDot + "Alpha"},
        {"four short names, no mark",
         {{"A", true}, {"B", true}, {"C", true}, {"D", true}},
         "Aktiva profiler:" + crlf + kDot + "A" + crlf + kDot + "B" + crlf + kDot + "C" + crlf + kDot + "D"},
        {"five short names: four named and the mark",
         {{"A", true}, {"B", true}, {"C", true}, {"D", true}, {"E", true}},
         "Aktiva profiler:" + crlf + kDot + "A" + crlf + kDot + "B" + crlf + kDot + "C" + crlf + kDot + "D" +
             " (more...)"},
        {"a 60-character name is cut to 34",
         {{name60, true}},
         "Aktiva profiler:" + crlf + kDot + name60.substr(0, 34)},
        {"inactive profiles between actives do not count",
         {{"A", true}, {"x", false}, {"B", true}, {"y", false}, {"C", true}, {"z", false}, {"D", true}},
         "Aktiva profiler:" + crlf + kDot + "A" + crlf + kDot + "B" + crlf + kDot + "C" + crlf + kDot + "D"},
        // 16 + 4 + 33 = 53 characters, then the CR of the next line break is the 54th.
        {"the cut falls between CR and LF",
         {{std::string(33, 'a'), true}, {"b", true}},
         "Aktiva profiler:" + crlf + kDot + std::string(33, 'a') + "\r"},
        {"markup is kept literally", {{"<b>x</b>", true}}, "Aktiva profiler:" + crlf + kDot + "<b>x</b>"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToolTipFor(c.Profiles), c.Expected) << c.Title;
    }
}

TEST(ShowActiveProfiles, ExactLengthsAtTheCut) {
    // 16 + 4 + 34 = exactly 54 characters: nothing is cut.
    const std::string tip54 = ToolTipFor({{std::string(34, 'a'), true}});
    EXPECT_EQ(Utf8Length(tip54), 54u);
    EXPECT_EQ(tip54.substr(tip54.size() - 34), std::string(34, 'a'));

    // Five long actives: cut at 54, plus " (more...)" gives exactly 64.
    std::vector<Profile> five;
    for (char c = 'A'; c < 'F'; ++c) {
        five.push_back({std::string(20, c), true});
    }
    const std::string tip64 = ToolTipFor(five);
    EXPECT_EQ(Utf8Length(tip64), 64u);
    EXPECT_EQ(tip64.substr(tip64.size() - 10), " (more...)");
    EXPECT_EQ(Utf8Left(tip64, 54), Utf8Left("Aktiva profiler:\r\n" + kDot + std::string(20, 'A') + "\r\n" +
                                                kDot + std::string(20, 'B'),
                                            54));
}

TEST(ShowActiveProfiles, CutCountsCharactersNotBytes) {
    // "Ö" is two bytes in UTF-8 but one character.
    std::string name;
    for (int i = 0; i < 60; ++i) {
        name += "\xC3\x96";
    }
    const std::string tip = ToolTipFor({{name, true}});
    EXPECT_EQ(Utf8Length(tip), 54u);
    EXPECT_EQ(tip, "Aktiva profiler:\r\n" + kDot + name.substr(0, 68));
}

TEST(ShowActiveProfiles, LineFeedBreaksLeaveRoomForOneMoreCharacter) {
    constexpr ToolTipRules cutWithLineFeeds{ToolTipLimit::Windows, "\n"};
    EXPECT_EQ(ToolTipFor({{"Alpha", true}}, cutWithLineFeeds), "Aktiva profiler:\n" + kDot + "Alpha");
    EXPECT_EQ(ToolTipFor({{std::string(60, 'n'), true}}, cutWithLineFeeds),
              "Aktiva profiler:\n" + kDot + std::string(35, 'n'));
}

TEST(ShowActiveProfiles, ATrayWithoutALimitNamesFourActiveProfilesInFull) {
    const std::string name60(60, 'N');
    constexpr ToolTipRules unlimited{ToolTipLimit::None, "\n"};
    EXPECT_EQ(ToolTipFor({{"Nattlarm Lager", true},
                          {"Kontor", false},
                          {"Server room", true},
                          {"Weekend patrol", true},
                          {"\xC3\x85sa hemtj\xC3\xA4nst", true}},
                         unlimited),
              "Aktiva profiler:\n" + kDot + "Nattlarm Lager\n" + kDot + "Server room\n" + kDot +
                  "Weekend patrol\n" + kDot + "\xC3\x85sa hemtj\xC3\xA4nst");
    EXPECT_EQ(
        ToolTipFor({{name60, true}, {name60, true}, {name60, true}, {name60, true}, {"E", true}}, unlimited),
        "Aktiva profiler:\n" + kDot + name60 + "\n" + kDot + name60 + "\n" + kDot + name60 + "\n" + kDot +
            name60 + " (more...)");
}

TEST(ShowActiveProfiles, RowsInTableOrderWithTheirImages) {
    SetProfiles({{"Alpha", true}, {"beta", false}, {"Gamma <i>", true}});
    Fixture f;
    f.Desktop.List.AddRow("left over", kImageActive);
    f.Main.ShowActiveProfiles(TestLoad());
    const std::vector<ListRow> expected = {{"Alpha", 2}, {"beta", 1}, {"Gamma <i>", 2}};
    EXPECT_EQ(f.Desktop.List.Rows(), expected);
}

TEST(ShowActiveProfiles, ActiveIsAnyNonZeroValue) {
    SetProfiles({{"A", true}});
    TestLoad().Profiles[0].Active = 1;
    Fixture f;
    f.Main.ShowActiveProfiles(TestLoad());
    ASSERT_EQ(f.Desktop.List.Rows().size(), 1u);
    EXPECT_EQ(f.Desktop.List.Rows()[0].SmallImage, kImageActive);
}

TEST(ShowActiveProfiles, ProblemsShowInTheStatusLineTheIconAndOneMoreTooltipLine) {
    const auto unreadable = [](int number) {
        return LoadProblem{LoadProblemKind::FileUnreadable, "Profile_000" + std::to_string(number) + ".dat",
                           "permission denied"};
    };
    const LoadProblem longFolder{LoadProblemKind::FolderMissing,
                                 "/srv/alarm/a rather long path/Project/Profiles/", ""};
    const std::string tip = "Aktiva profiler:\r\n" + kDot + "Alpha";
    struct Case {
        const char* Title;
        std::vector<Profile> Loaded;
        std::vector<LoadProblem> Problems;
        std::pair<std::string, std::vector<std::string>> Status; // text and problems
        std::string ToolTip;
    };
    const std::vector<Case> cases = {
        {"all well, one profile", {{"Alpha", true}}, {}, {"Updated 12:00:00 \xC2\xB7 1 profile", {}}, tip},
        {"all well, none", {}, {}, {"Updated 12:00:00 \xC2\xB7 0 profiles", {}}, "Aktiva profiler:"},
        {"all well, two",
         {{"Alpha", true}, {"b", false}},
         {},
         {"Updated 12:00:00 \xC2\xB7 2 profiles", {}},
         tip},
        {"one problem",
         {{"Alpha", true}},
         {unreadable(2)},
         {"Profile_0002.dat: permission denied", {"Profile_0002.dat: permission denied"}},
         tip + "\r\nProfile_0002.dat: permission denied"},
        {"two: the first in the line, both in its tooltip",
         {{"Alpha", true}},
         {unreadable(2), unreadable(3)},
         {"Profile_0002.dat: permission denied",
          {"Profile_0002.dat: permission denied", "Profile_0003.dat: permission denied"}},
         tip + "\r\nProfile_0002.dat: permission denied"},
        {"seven of a kind: five and a sum",
         {},
         {unreadable(1), unreadable(2), unreadable(3), unreadable(4), unreadable(5), unreadable(6),
          unreadable(7)},
         {"Profile_0001.dat: permission denied",
          {"Profile_0001.dat: permission denied", "Profile_0002.dat: permission denied",
           "Profile_0003.dat: permission denied", "Profile_0004.dat: permission denied",
           "Profile_0005.dat: permission denied", "2 more files that could not be read"}},
         "Aktiva profiler:\r\nProfile_0001.dat: permission denied"},
        {"a long problem is cut to 60 characters in the tooltip",
         {},
         {longFolder},
         {ProblemText(longFolder), {ProblemText(longFolder)}},
         "Aktiva profiler:\r\n" + Utf8Left(ProblemText(longFolder), 59) + "\xE2\x80\xA6"},
    };
    for (const auto& c : cases) {
        SetProfiles(c.Loaded);
        TestLoad().Problems = c.Problems;
        Fixture f;
        f.Main.ShowActiveProfiles(TestLoad());
        EXPECT_EQ(f.Desktop.Window.Status().Text, c.Status.first) << c.Title;
        EXPECT_EQ(f.Desktop.Window.Status().Problems, c.Status.second) << c.Title;
        EXPECT_EQ(f.Desktop.Tray.Warning(), !c.Problems.empty()) << c.Title;
        EXPECT_EQ(f.Desktop.Tray.ToolTipText(), c.ToolTip) << c.Title;
        EXPECT_LE(Utf8Length(f.Desktop.Tray.ToolTipText()), 64U + 2U + 60U) << c.Title;
    }
    TestLoad().Problems.clear();
}

// Words of another language, told apart by their brackets.
class BracketWords : public MonitorWords {
public:
    std::string Problem(const LoadProblem& problem) const override { return "[" + problem.File + "]"; }
    std::string More(LoadProblemKind /*kind*/, std::size_t count) const override {
        return "[" + std::to_string(count) + " more]";
    }
};

TEST(ShowActiveProfiles, ProblemsReadInTheWindowsWordsInTheLineItsTooltipTheIconsAndNotifications) {
    SetProfiles({{"Alpha", true}});
    Fixture f;
    const BracketWords words;
    f.Main.SetWords(words);
    f.Main.SetNotifyOnChanges(true);
    f.Main.ShowActiveProfiles(TestLoad());
    for (int number = 1; number <= 6; ++number) {
        TestLoad().Problems.push_back(
            {LoadProblemKind::FileUnreadable, "Profile_000" + std::to_string(number) + ".dat", "denied"});
    }
    f.Main.ShowActiveProfiles(TestLoad());
    EXPECT_EQ(f.Desktop.Window.Status().Text, "[Profile_0001.dat]");
    const std::vector<std::string> problems = {"[Profile_0001.dat]", "[Profile_0002.dat]",
                                               "[Profile_0003.dat]", "[Profile_0004.dat]",
                                               "[Profile_0005.dat]", "[1 more]"};
    EXPECT_EQ(f.Desktop.Window.Status().Problems, problems);
    EXPECT_EQ(f.Desktop.Tray.ToolTipText(), "Aktiva profiler:\r\n" + kDot + "Alpha\r\n[Profile_0001.dat]");
    const auto notified = f.Desktop.Log.CallsStartingWith("Services.Notify");
    ASSERT_EQ(notified.size(), 1U);
    EXPECT_NE(notified.front().find("Problem: [Profile_0001.dat]"), std::string::npos) << notified.front();
    TestLoad().Problems.clear();
}

TEST(ShowActiveProfiles, AFailingStatusLineOrIconNeverKeepsTheTooltipBack) {
    for (const char* failing : {"Window.SetStatus", "Tray.SetWarning"}) {
        SetProfiles({{"A", true}});
        Fixture f;
        f.Desktop.Log.Failing.insert(failing);
        f.Main.ShowActiveProfiles(TestLoad());
        EXPECT_EQ(f.Desktop.Tray.ToolTipText(), "Aktiva profiler:\r\n" + kDot + "A") << failing;
    }
}

TEST(MainWindow, DesignSetsCaptionSizeAndTimer) {
    Fixture f;
    EXPECT_EQ(f.Desktop.Window.Caption(), "Velmar - Active Profiles");
    EXPECT_EQ(f.Desktop.Window.InnerWidth(), 312);
    EXPECT_EQ(f.Desktop.Window.InnerHeight(), 211);
    EXPECT_EQ(f.Desktop.Timer.Interval(), 5000);
    EXPECT_TRUE(f.Desktop.Timer.Enabled());
}

TEST(MainWindow, LoadStepOrder) {
    SetProfiles({{"A", true}});
    // The data folder by the platform's own rule: a Windows value ends at the next "/".
    const bool windows = kPlatformPathStyle == PathStyle::Windows;
    Fixture f(kWindowsRules, {windows ? "/PATH:D:\\Alarm" : "/PATH:/srv/alarm"});
    f.Desktop.Log.Calls.clear();
    f.Desktop.Window.Create(f.Main);

    EXPECT_EQ(f.Main.Folder().DataPath(), windows ? "D:\\Alarm\\" : "/srv/alarm/");
    // The icon is there and the load step over before the first load: the
    // wait runs on the event loop, which draws the icon meanwhile.
    const std::vector<std::string> loadStep = {"Tray.TrayIcon", "Tray.IconVisible=-1", "Wait.Start 500",
                                               "Window.Hide"};
    EXPECT_EQ(f.Desktop.Log.Calls, loadStep);
    EXPECT_EQ(f.Loads, 0) << "nothing is read before the wait is over";
    EXPECT_EQ(f.Desktop.Tray.TrayIcon(), f.Desktop.Window.Icon()) << "the window's own picture, shared";
    EXPECT_FALSE(f.Desktop.Window.Visible());

    f.Desktop.Log.Calls.clear();
    ASSERT_TRUE(f.Desktop.Wait.Elapse());
    const std::vector<std::string> firstReload = {
        "Wait.Elapsed",       "List.ClearRows",
        "List.AddRow 2 A",    "Window.Status=Updated 12:00:00 \xC2\xB7 1 profile",
        "Tray.Warning=false", "Tray.ToolTipText=Aktiva profiler:\r\n" + kDot + "A"};
    EXPECT_EQ(f.Desktop.Log.Calls, firstReload);
    EXPECT_EQ(f.Loads, 1);
}

TEST(MainWindow, ATickWhileAReloadIsPendingOrRunningIsSkipped) {
    SetProfiles({{"A", true}});
    Fixture f;
    f.Desktop.Log.Calls.clear();
    f.Main.Timer_Reload_Timer();
    EXPECT_EQ(f.Desktop.Log.Calls, std::vector<std::string>{"Wait.Start 500"});
    EXPECT_FALSE(f.Main.LastSignature().has_value()) << "stored only once the load is done";

    f.Desktop.Timer.Tick();
    f.Main.Timer_Reload_Timer();
    EXPECT_EQ(f.Desktop.Log.CallsStartingWith("Wait.Start").size(), 1U) << "ticks while the wait is pending";
    EXPECT_EQ(f.Loads, 0);

    // A tick that arrives while the profiles load (a platform that runs its
    // event loop meanwhile) is skipped as well.
    f.Main.ProfileLoader = [&f](const ChangeSignature* /*listing*/) -> const ProfileLoad& {
        if (++f.Loads == 1) {
            f.Desktop.Timer.Tick();
        }
        return TestLoad();
    };
    ASSERT_TRUE(f.Desktop.Wait.Elapse());
    EXPECT_EQ(f.Loads, 1);
    EXPECT_FALSE(f.Desktop.Wait.Pending()) << "no second wait from the tick during the load";
    EXPECT_EQ(f.Desktop.Tray.ToolTipAssignments(), 1);
    EXPECT_TRUE(f.Main.LastSignature().has_value());

    f.Desktop.Timer.Tick();
    EXPECT_FALSE(f.Desktop.Wait.Pending()) << "after the reload, ticks compare again and find no change";
}

TEST(MainWindow, LoadStepFailureReachesTheCaller) {
    Fixture f;
    f.Desktop.Log.Failing.insert("Tray.SetIconVisible");
    EXPECT_ANY_THROW(f.Desktop.Window.Create(f.Main));
}

TEST(MainWindow, StateMachine) {
    SetProfiles({});
    Fixture f;
    auto& window = f.Desktop.Window;
    auto& tray = f.Desktop.Tray;
    window.Create(f.Main);
    EXPECT_FALSE(window.Visible()) << "hidden after the load step";

    tray.Activate();
    EXPECT_TRUE(window.Visible());
    EXPECT_EQ(window.State(), WindowState::Normal);

    window.UserMinimise();
    EXPECT_FALSE(window.Visible()) << "minimising hides";
    EXPECT_EQ(tray.IconVisible(), -1) << "the icon stays";

    tray.Activate();
    EXPECT_TRUE(window.Visible());
    EXPECT_EQ(window.State(), WindowState::Normal) << "restored from minimised";
    EXPECT_EQ(f.Desktop.List.Layout().Width, 312) << "the list fills the restored inner area";
    EXPECT_EQ(f.Desktop.List.Layout().ColumnWidth, 272);

    window.UserMaximise();
    window.UserActivatesAnother(); // a click on the active window would hide it
    tray.Activate();
    EXPECT_EQ(window.State(), WindowState::Normal) << "activation returns a maximised window to normal";
    EXPECT_TRUE(window.Visible());

    EXPECT_FALSE(window.RequestClose(CloseReason::UserClose));
    EXPECT_FALSE(window.Visible()) << "the user's close hides the window and the program goes on";
    EXPECT_FALSE(window.Unloaded());
    EXPECT_EQ(tray.IconVisible(), -1);

    EXPECT_TRUE(window.RequestClose(CloseReason::SessionEnd));
    EXPECT_TRUE(window.Unloaded());
    EXPECT_EQ(tray.IconVisible(), 0) << "unloading removes the icon";
    EXPECT_EQ(f.Desktop.Log.Calls.back(), "Tray.IconVisible=0");
}

TEST(MainWindow, EveryOtherCloseReasonIsGrantedFromHiddenOrShown) {
    SetProfiles({});
    for (const auto reason : {CloseReason::ProgramCode, CloseReason::SessionEnd, CloseReason::ProcessEnd,
                              CloseReason::OwnerClosing}) {
        for (const bool shown : {false, true}) {
            Fixture f;
            f.Desktop.Window.Create(f.Main);
            if (shown) {
                f.Desktop.Tray.Activate();
            }
            EXPECT_TRUE(f.Desktop.Window.RequestClose(reason));
            EXPECT_EQ(f.Desktop.Tray.IconVisible(), 0);
        }
    }
}

TEST(MainWindow, WithoutNotificationAreaTheWindowStaysReachable) {
    SetProfiles({});
    Fixture f;
    f.Desktop.Tray.Available = false;
    f.Desktop.Window.Create(f.Main);
    EXPECT_TRUE(f.Desktop.Window.Visible()) << "shown at start";
    EXPECT_EQ(f.Desktop.Tray.IconVisible(), -1) << "the icon is still asked for, should a tray appear";

    f.Desktop.Window.UserMinimise();
    EXPECT_TRUE(f.Desktop.Window.Visible()) << "minimised, not hidden";
    EXPECT_EQ(f.Desktop.Window.State(), WindowState::Minimized);

    // A tray that turns up later takes over.
    f.Desktop.Tray.Available = true;
    f.Desktop.Tray.Activate();
    f.Desktop.Window.UserMinimise();
    EXPECT_FALSE(f.Desktop.Window.Visible());
}

TEST(MainWindow, ResizeLaysTheListOverTheInnerArea) {
    Fixture f;
    f.Desktop.Window.UserResize(500, 300);
    const auto& layout = f.Desktop.List.Layout();
    EXPECT_EQ(layout.Left, 0);
    EXPECT_EQ(layout.Top, 0);
    EXPECT_EQ(layout.Width, 500);
    EXPECT_EQ(layout.Height, 300);
    EXPECT_EQ(layout.ColumnWidth, 460);
}

TEST(MainWindow, ResizeWhileMinimisedSkipsTheNegativeColumnAndHides) {
    Fixture f;
    f.Desktop.Window.Create(f.Main);
    f.Desktop.Tray.Activate();
    f.Desktop.Window.UserResize(312, 211);
    f.Desktop.Log.Calls.clear();
    f.Desktop.Window.UserMinimise();
    const std::vector<std::string> expected = {
        "Window.State=Minimized",         "List.Move 0,0", "List.Width=0", "List.Height=0",
        "List.ColumnWidth(1)=-40 FAILED", "Window.Hide"};
    EXPECT_EQ(f.Desktop.Log.Calls, expected);
    EXPECT_EQ(f.Desktop.List.Layout().ColumnWidth, 272) << "the failed step changed nothing";
    EXPECT_FALSE(f.Desktop.Window.Visible());
}

TEST(MainWindow, ResizeStepsContinueAfterAFailure) {
    for (const char* failing : {"List.Move", "List.SetWidth", "List.SetHeight", "List.SetColumnWidth"}) {
        Fixture f;
        f.Desktop.Log.Failing.insert(failing);
        f.Desktop.Window.UserResize(500, 300);
        const auto& layout = f.Desktop.List.Layout();
        EXPECT_EQ(layout.Width, std::string(failing) == "List.SetWidth" ? 0 : 500) << failing;
        EXPECT_EQ(layout.Height, std::string(failing) == "List.SetHeight" ? 0 : 300) << failing;
        EXPECT_EQ(layout.ColumnWidth, std::string(failing) == "List.SetColumnWidth" ? 0 : 460) << failing;
    }
    Fixture f;
    f.Desktop.Window.Create(f.Main);
    f.Desktop.Log.Failing = {"List.Move", "List.SetWidth", "List.SetHeight", "List.SetColumnWidth"};
    f.Desktop.Tray.Activate();
    f.Desktop.Window.UserMinimise();
    EXPECT_FALSE(f.Desktop.Window.Visible()) << "the last step still runs";
}

TEST(MainWindow, TickStepsContinueAfterAFailure) {
    SetProfiles({{"A", true}});
    {
        Fixture f;
        f.Desktop.Log.Failing.insert("Wait.Start");
        f.Main.Timer_Reload_Timer();
        EXPECT_EQ(f.Loads, 1) << "a wait that cannot be started is skipped: the load follows at once";
        EXPECT_EQ(f.Desktop.Tray.ToolTipAssignments(), 1);
    }
    {
        Fixture f;
        f.Main.ProfileLoader = [&f](const ChangeSignature* /*listing*/) -> const ProfileLoad& {
            ++f.Loads;
            throw std::runtime_error("load failed");
        };
        f.TickAndWait();
        EXPECT_EQ(f.Desktop.Tray.ToolTipAssignments(), 1) << "the list and tooltip still follow";
        EXPECT_TRUE(f.Main.LastSignature().has_value());
    }
    {
        Fixture f;
        f.Desktop.Log.Failing.insert("List.AddRow");
        f.TickAndWait();
        EXPECT_EQ(f.Desktop.Tray.ToolTipAssignments(), 0) << "a failing list ends ShowActiveProfiles";
        ASSERT_TRUE(f.Main.LastSignature().has_value()) << "the signature is stored all the same";
        f.TickAndWait();
        EXPECT_EQ(f.Loads, 1) << "and the next tick sees no change";
    }
}

TEST(MainWindow, OnlyAFileThatCouldNotBeReadOrWasGoneIsTriedAgainUnchanged) {
    struct Case {
        LoadProblemKind Kind;
        bool Retried;
    };
    for (const Case c :
         {Case{LoadProblemKind::FileUnreadable, true}, Case{LoadProblemKind::FileVanished, true},
          Case{LoadProblemKind::WrongVersion, false}, Case{LoadProblemKind::TooShort, false},
          Case{LoadProblemKind::NotAFile, false}, Case{LoadProblemKind::BeyondSlots, false},
          Case{LoadProblemKind::FolderMissing, false}}) {
        SetProfiles({});
        Fixture f;
        f.Main.ProfileLoader = [&f, c](const ChangeSignature* /*listing*/) -> const ProfileLoad& {
            TestLoad().Problems = {{c.Kind, "Profile_0002.dat", "3"}};
            ++f.Loads;
            return TestLoad();
        };
        f.TickAndWait();
        f.TickAndWait();
        EXPECT_EQ(f.Loads, c.Retried ? 2 : 1) << ProblemText(TestLoad().Problems.front());
    }
    TestLoad().Problems.clear();
}

TEST(MainWindow, TimerTicksRunTheReloadCycle) {
    SetProfiles({});
    Fixture f;
    f.Desktop.Timer.Tick();
    EXPECT_TRUE(f.Desktop.Wait.Elapse());
    EXPECT_EQ(f.Loads, 1);
    f.Desktop.Timer.Tick();
    EXPECT_FALSE(f.Desktop.Wait.Elapse()) << "no change, no wait";
    EXPECT_EQ(f.Loads, 1);
}

TEST(MainWindow, TheUsersCloseAndASecondClickHideTheWindowWhereTheTrayCanBringItBack) {
    SetProfiles({});
    struct Case {
        const char* What;
        bool Tray;
        std::function<void(Fixture&)> Act;
        bool Visible;
    };
    const auto close = [](Fixture& f) {
        EXPECT_FALSE(f.Desktop.Window.RequestClose(CloseReason::UserClose));
    };
    for (const auto& c : {
             Case{"close button, Esc, Ctrl+W", true, close, false},
             Case{"close without a tray leaves the only way in open", false, close, true},
             Case{"click on the shown, active window", true, [](Fixture& f) { f.Desktop.Tray.Activate(); },
                  false},
             Case{"click while another window is active raises it", true,
                  [](Fixture& f) {
                      f.Desktop.Window.UserActivatesAnother();
                      f.Desktop.Tray.Activate();
                  },
                  true},
             Case{"menu: Hide profiles", true,
                  [](Fixture& f) { f.Desktop.Menu.Choose(DesktopCommand::ShowHide); }, false},
         }) {
        Fixture f;
        f.Desktop.Tray.Available = c.Tray;
        f.Desktop.Window.Create(f.Main);
        f.Main.ShowWindow();
        ASSERT_TRUE(f.Desktop.Menu.State().WindowShown) << c.What;
        c.Act(f);
        EXPECT_EQ(f.Desktop.Window.Visible(), c.Visible) << c.What;
        EXPECT_EQ(f.Desktop.Menu.State().WindowShown, c.Visible) << c.What << ": the menu follows";
        EXPECT_FALSE(f.Desktop.Window.Unloaded()) << c.What;
        EXPECT_EQ(f.Desktop.Tray.IconVisible(), -1) << c.What;
    }
}

TEST(MainWindow, MenuCommandsUseTheDesktopsServices) {
    SetProfiles({{"Alpha", true}, {"Beta", false}});
    const bool windows = kPlatformPathStyle == PathStyle::Windows;
    const std::string folder = windows ? "D:\\Alarm\\" : "/srv/alarm/";
    const std::string profiles = folder + "Profiles" + (windows ? "\\" : "/");
    Fixture f(kWindowsRules, {windows ? "/PATH:D:\\Alarm" : "/PATH:/srv/alarm"});
    f.Desktop.Services.EditorInstalled = false;
    f.Desktop.Window.Create(f.Main);
    f.Desktop.Wait.Elapse();
    EXPECT_FALSE(f.Desktop.Menu.State().EditorAvailable);
    f.Desktop.Log.Calls.clear();

    auto& menu = f.Desktop.Menu;
    menu.Choose(DesktopCommand::OpenDataFolder);
    menu.Choose(DesktopCommand::About);
    f.Desktop.List.Selected = 1;
    menu.Choose(DesktopCommand::EditSchedule);
    f.Desktop.List.Selected.reset();
    f.Desktop.Services.Answer = 0;
    menu.Choose(DesktopCommand::EditSchedule); // asks, and edits the answer
    f.Desktop.Services.Answer.reset();
    menu.Choose(DesktopCommand::EditSchedule); // the user declines
    menu.Choose(DesktopCommand::StartAtLogin);
    EXPECT_TRUE(menu.State().StartAtLogin);
    menu.Choose(DesktopCommand::NotifyOnChanges); // rewrites the entry with the switch
    EXPECT_TRUE(menu.State().NotifyOnChanges);
    EXPECT_TRUE(f.Main.NotifyOnChanges());
    menu.Choose(DesktopCommand::StartAtLogin);
    EXPECT_FALSE(menu.State().StartAtLogin);
    menu.Choose(DesktopCommand::Quit);
    const std::vector<std::string> calls = {
        "Services.OpenFolder " + folder,
        "Services.About " + folder,
        "Services.StartEditor " + profiles + "Profile_0002.dat",
        "Services.AskForProfile Alpha Beta",
        "Services.StartEditor " + profiles + "Profile_0001.dat",
        "Services.AskForProfile Alpha Beta",
        "Services.StartAtLogin=on " + folder,
        "Services.StartAtLogin=on " + folder + " --notify",
        "Services.StartAtLogin=off " + folder + " --notify",
        "Services.Quit",
    };
    EXPECT_EQ(f.Desktop.Log.Calls, calls);
}

TEST(MainWindow, AFailingCommandIsToldAndChangesNothingElse) {
    SetProfiles({{"Alpha", true}});
    Fixture f;
    f.Desktop.Window.Create(f.Main);
    f.Desktop.Wait.Elapse();
    f.Desktop.Log.Failing = {"Services.OpenFolder", "Services.SetStartAtLogin"};
    f.Desktop.Log.Calls.clear();
    f.Desktop.Menu.Choose(DesktopCommand::OpenDataFolder);
    f.Desktop.Menu.Choose(DesktopCommand::StartAtLogin);
    EXPECT_FALSE(f.Desktop.Menu.State().StartAtLogin);
    EXPECT_EQ(f.Desktop.Log.CallsStartingWith("Services.Error").size(), 2U);
    EXPECT_FALSE(f.Desktop.Window.Unloaded());
}

TEST(MainWindow, ANotificationOnlyWhenAskedAndOnlyWhenAReloadChangedSomething) {
    for (const bool notify : {false, true}) {
        SetProfiles({{"Alpha", false}, {"Beta", true}});
        Fixture f;
        f.Main.SetNotifyOnChanges(notify);
        f.Desktop.Window.Create(f.Main);
        f.Desktop.Wait.Elapse();
        EXPECT_TRUE(f.Desktop.Log.CallsStartingWith("Services.Notify").empty())
            << "the first load is no change";
        f.Main.ShowActiveProfiles(TestLoad());
        EXPECT_TRUE(f.Desktop.Log.CallsStartingWith("Services.Notify").empty()) << "nothing changed";

        SetProfiles({{"Alpha", true}, {"Beta", true}});
        f.Main.ShowActiveProfiles(TestLoad());
        const auto notified = f.Desktop.Log.CallsStartingWith("Services.Notify");
        if (notify) {
            ASSERT_EQ(notified.size(), 1U);
            EXPECT_NE(notified.front().find("Alpha"), std::string::npos) << notified.front();
            EXPECT_EQ(notified.front().find("Beta"), std::string::npos) << notified.front();
        } else {
            EXPECT_TRUE(notified.empty());
        }
    }
}

TEST(MainWindow, TheStatusLineNamesTheWatchedFolder) {
    SetProfiles({{"Alpha", true}});
    Fixture f(kWindowsRules,
              {kPlatformPathStyle == PathStyle::Windows ? "/PATH:D:\\Alarm" : "/PATH:/srv/alarm"});
    f.Main.ShowActiveProfiles(TestLoad());
    EXPECT_EQ(f.Desktop.Window.Status().Folder, f.Main.Folder().DataPath());
}

} // namespace
} // namespace velmar
