// The Qt window, list, image list, timer and tray on the offscreen platform,
// driven through the main window's logic and found by object name.

#include "app/MainWindow.h"
#include "platform/qt/QtSession.h"
#include "platform/qt/QtSingleInstance.h"
#include "platform/qt/QtStopSignals.h"
#include "profiles/ProfileStore.h"
#include "tests/support/QtTestEnvironment.h"
#include "tests/support/RecordingDesktop.h"
#include "window/qt/QtBusyPointer.h"
#include "window/qt/QtIcons.h"
#include "window/qt/QtImageList.h"
#include "window/qt/QtMainWindow.h"
#include "window/qt/QtOneShotTimer.h"
#include "window/qt/QtPicture.h"
#include "window/qt/QtTimer.h"
#include "window/qt/QtTrayIcon.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTreeWidget>
#include <QWindow>
#include <QtTest/qtestspontaneevent.h>
#include <array>
#include <atomic>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <thread>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace velmar {
namespace {

// The load the tests' loader hands the window, as SetProfiles fills it.
ProfileLoad& TestLoad() {
    static ProfileLoad load{DataFolder("/nowhere/")};
    return load;
}

[[maybe_unused]] ::testing::Environment* const g_QtEnvironment =
    AddQtTestEnvironment<QApplication>("velmar_window_qt_tests");

void SetProfiles(const std::vector<std::pair<std::string, bool>>& profiles) {
    TestLoad().NumberOfProfiles = static_cast<std::int16_t>(profiles.size());
    for (std::size_t i = 0; i < profiles.size(); ++i) {
        TestLoad().Profiles[static_cast<long long>(i)] = ProfileRecord{};
        TestLoad().Profiles[static_cast<long long>(i)].Name = profiles[i].first;
        TestLoad().Profiles[static_cast<long long>(i)].Active = profiles[i].second ? -1 : 0;
    }
    TestLoad().Problems.clear();
}

// The Qt window with the logic, a recording tray that reports a notification
// area (the offscreen platform has none) and a wait that is over when the
// test says so.
struct QtFixture {
    QtFixture()
        : Window(Images), Main({Window, Window.List(), Images, Timer, Tray, Wait, Busy},
                               DataFolder::FromCommandLine("/opt/velmar", {"/PATH:/nowhere"})) {
        Main.ProfileLoader = [](const ChangeSignature* /*listing*/) -> const ProfileLoad& {
            return TestLoad();
        };
        Window.SetEvents(&Main);
        Window.OnUnloaded = [this] { ++UnloadedCalls; };
    }

    QTreeWidget* List() { return Window.findChild<QTreeWidget*>("List_ActiveProfiles"); }

    QtImageList Images;
    QtMainWindow Window;
    QtTimer Timer;
    RecordingLog Log;
    RecordingTray Tray{Log};
    RecordingOneShotTimer Wait{Log};
    RecordingBusyPointer Busy{Log};
    VelmarActiveProfiles_Main Main;
    int UnloadedCalls = 0;
};

QRgb CentreOf(const QIcon& icon) {
    return icon.pixmap(14, 14).toImage().pixel(7, 7);
}

TEST(QtDesktop, WindowCarriesItsCaptionSizeAndList) {
    SetProfiles({});
    QtFixture f;
    EXPECT_EQ(f.Window.windowTitle(), "Velmar - Active Profiles");
    EXPECT_EQ(QSize(f.Window.InnerWidth(), f.Window.InnerHeight()), QSize(312, 211));
    auto* status = f.Window.findChild<QLabel*>("Label_Status");
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(f.Window.size(), QSize(312, 211 + status->height()))
        << "the status line lies under the inner area";
    QTreeWidget* list = f.List();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->columnCount(), 1);
    EXPECT_EQ(list->iconSize(), QSize(14, 14));
    EXPECT_FALSE(f.Window.windowIcon().isNull());
}

TEST(QtDesktop, RowsShowNamesLiterallyWithRedAndGreenBalls) {
    SetProfiles({{"Alpha", true}, {"<b>beta</b>", false}});
    QtFixture f;
    f.Main.ShowActiveProfiles(TestLoad());
    QTreeWidget* list = f.List();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(0)->text(0), "Alpha");
    EXPECT_EQ(list->topLevelItem(1)->text(0), "<b>beta</b>");
    const QRgb green = CentreOf(list->topLevelItem(0)->icon(0));
    const QRgb red = CentreOf(list->topLevelItem(1)->icon(0));
    EXPECT_GT(qGreen(green), 2 * qRed(green));
    EXPECT_GT(qRed(red), 2 * qGreen(red));
    // The tooltip's first line is the heading, so Qt never takes it for markup.
    EXPECT_FALSE(Qt::mightBeRichText(QString::fromStdString("Aktiva profiler:\n\xC2\xB7 <b>x</b>")));
}

TEST(QtDesktop, RowsTellTheirStateWithoutColour) {
    SetProfiles({{"Alpha", true}, {"Beta", false}});
    QtFixture f;
    f.Main.ShowActiveProfiles(TestLoad());
    QTreeWidget* list = f.List();
    EXPECT_FALSE(list->accessibleName().isEmpty()) << "the list has a name for screen readers";
    const auto expect = [&](int row, const char* state) {
        const QTreeWidgetItem* item = list->topLevelItem(row);
        EXPECT_EQ(item->data(0, Qt::AccessibleDescriptionRole).toString(), state) << row;
        EXPECT_EQ(item->toolTip(0), state) << row;
    };
    expect(0, "active");
    expect(1, "inactive");
}

TEST(QtDesktop, BallImagesAreFourteenPixelsWithWhiteTransparent) {
    QtImageList images;
    for (const std::int16_t number : {kImageInactive, kImageActive}) {
        const QImage image = images.Image(number).pixmap(14, 14).toImage();
        EXPECT_EQ(image.size(), QSize(14, 14));
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << "corner transparent";
        EXPECT_EQ(qAlpha(image.pixel(7, 7)), 255) << "ball opaque";
    }
    EXPECT_ANY_THROW(images.Image(3));
    EXPECT_ANY_THROW(images.Image(0));
}

TEST(QtDesktop, StatesOfTheWindow) {
    SetProfiles({{"Alpha", true}});
    QtFixture f;
    f.Window.Create();
    EXPECT_FALSE(f.Window.isVisible()) << "hidden after the load step";
    f.Wait.Elapse();
    EXPECT_EQ(f.List()->topLevelItemCount(), 1);

    f.Tray.Activate();
    EXPECT_TRUE(f.Window.isVisible());

    f.Window.resize(500, 300);
    QCoreApplication::processEvents();
    const int statusHeight = f.Window.findChild<QLabel*>("Label_Status")->height();
    EXPECT_EQ(f.List()->geometry(), QRect(0, 0, 500, 300 - statusHeight));
    EXPECT_EQ(f.List()->columnWidth(0), 460);

    f.Window.showMinimized();
    QCoreApplication::processEvents();
    EXPECT_FALSE(f.Window.isVisible()) << "minimising hides";
    EXPECT_EQ(f.List()->columnWidth(0), 460) << "the negative column width was skipped";

    f.Tray.Activate();
    QCoreApplication::processEvents();
    EXPECT_TRUE(f.Window.isVisible());
    EXPECT_FALSE(f.Window.isMinimized());

    f.Window.showMaximized();
    f.Tray.Activate();
    if (!f.Window.isVisible()) {
        f.Tray.Activate(); // the click hid the active window; the next one shows it
    }
    EXPECT_TRUE(f.Window.isVisible());
    EXPECT_FALSE(f.Window.isMaximized()) << "activation restores the normal state";
}

TEST(QtDesktop, UserCloseHidesTheWindowOtherClosesUnload) {
    SetProfiles({});
    QtFixture f;
    f.Window.Create();
    f.Tray.Activate();

    // A spontaneous close, as the window system delivers the title bar's
    // button. sendEvent would clear the spontaneous mark; notify keeps it.
    QCloseEvent userClose;
    QSpontaneKeyEvent::setSpontaneous(&userClose);
    QCoreApplication::instance()->notify(&f.Window, &userClose);
    EXPECT_FALSE(userClose.isAccepted());
    EXPECT_FALSE(f.Window.isVisible()) << "closed to the tray";
    EXPECT_EQ(f.Tray.IconVisible(), -1);
    EXPECT_EQ(f.UnloadedCalls, 0);

    ASSERT_NE(f.Window.windowHandle(), nullptr);
    EXPECT_TRUE(f.Window.windowHandle()->close()) << "a close from the program's code is granted";
    EXPECT_TRUE(f.Window.Unloaded());
    EXPECT_EQ(f.Tray.IconVisible(), 0);
    EXPECT_EQ(f.UnloadedCalls, 1);
    f.Window.EnsureUnloaded();
    EXPECT_EQ(f.UnloadedCalls, 1) << "unloaded once";
}

TEST(QtDesktop, SessionEndAndProcessEndUnloadAHiddenWindow) {
    for (const auto reason : {CloseReason::SessionEnd, CloseReason::ProcessEnd}) {
        SetProfiles({});
        QtFixture f;
        f.Window.Create();
        EXPECT_TRUE(f.Window.RequestClose(reason));
        EXPECT_EQ(f.Tray.IconVisible(), 0);
        EXPECT_EQ(f.UnloadedCalls, 1);
    }
}

TEST(QtDesktop, WithoutNotificationAreaTheWindowStartsShown) {
    SetProfiles({});
    QtImageList images;
    QtMainWindow window(images);
    QtTimer timer;
    QtTrayIcon tray;
    QtOneShotTimer wait;
    QtBusyPointer busy;
    ASSERT_FALSE(tray.NotificationAreaAvailable()) << "the offscreen platform has no tray";
    VelmarActiveProfiles_Main main({window, window.List(), images, timer, tray, wait, busy},
                                   DataFolder::FromCommandLine("/opt", {"/PATH:/nowhere"}));
    int loads = 0;
    main.ProfileLoader = [&loads](const ChangeSignature* /*listing*/) -> const ProfileLoad& {
        ++loads;
        return TestLoad();
    };
    window.SetEvents(&main);
    window.Create();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(tray.IconVisible(), -1);
    EXPECT_EQ(loads, 0) << "the load waits on the event loop";
    QElapsedTimer clock;
    clock.start();
    while (loads == 0 && clock.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(tray.ToolTipText(), "Aktiva profiler:");
    window.showMinimized();
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.isVisible()) << "not hidden: nothing would bring it back";
    window.EnsureUnloaded();
    EXPECT_EQ(tray.IconVisible(), 0);
}

TEST(QtDesktop, TrayRaisesIconActivatedOnAClickOnly) {
    QtTrayIcon tray;
    int activations = 0;
    tray.SetIconActivatedHandler([&] { ++activations; });
    emit tray.Widget().activated(QSystemTrayIcon::Trigger);
    emit tray.Widget().activated(QSystemTrayIcon::DoubleClick);
    emit tray.Widget().activated(QSystemTrayIcon::Context);
    // A double click comes after the click that began it: taken as a second
    // click it would hide the window the first one showed.
    EXPECT_EQ(activations, 1);

    auto picture = std::make_shared<QtPicture>(ProgramIcon());
    tray.SetTrayIcon(picture);
    EXPECT_EQ(tray.TrayIcon(), picture);
    EXPECT_FALSE(tray.Widget().icon().isNull());
}

TEST(QtDesktop, TheIconsMenuRaisesEveryCommandAndShowsTheState) {
    QtTrayIcon tray;
    std::vector<DesktopCommand> chosen;
    tray.SetCommandHandler([&](DesktopCommand command) { chosen.push_back(command); });
    QMenu* menu = tray.Widget().contextMenu();
    ASSERT_NE(menu, nullptr);
    QList<QAction*> actions;
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator()) {
            actions << action;
        }
    }
    const std::vector<std::pair<QString, DesktopCommand>> expected = {
        {"&Show profiles", DesktopCommand::ShowHide},
        {"&Edit schedule\u2026", DesktopCommand::EditSchedule},
        {"Open data &folder", DesktopCommand::OpenDataFolder},
        {"Start at &login", DesktopCommand::StartAtLogin},
        {"&Notify on changes", DesktopCommand::NotifyOnChanges},
        {"&About", DesktopCommand::About},
        {"&Quit", DesktopCommand::Quit},
    };
    ASSERT_EQ(static_cast<std::size_t>(actions.size()), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(actions[static_cast<int>(i)]->text(), expected[i].first);
        actions[static_cast<int>(i)]->trigger();
        ASSERT_EQ(chosen.size(), i + 1);
        EXPECT_EQ(chosen.back(), expected[i].second) << expected[i].first.toStdString();
    }

    tray.SetMenuState({true, false, true, false});
    EXPECT_EQ(actions[0]->text(), "&Hide profiles");
    EXPECT_FALSE(actions[1]->isEnabled());
    EXPECT_FALSE(actions[1]->toolTip().isEmpty()) << "says why";
    EXPECT_TRUE(actions[3]->isChecked());
    EXPECT_FALSE(actions[4]->isChecked());
    tray.SetMenuState({false, true, false, true});
    EXPECT_EQ(actions[0]->text(), "&Show profiles");
    EXPECT_TRUE(actions[1]->isEnabled());
    EXPECT_FALSE(actions[3]->isChecked());
    EXPECT_TRUE(actions[4]->isChecked());
    EXPECT_EQ(chosen.size(), expected.size()) << "a state shown raises no command";
}

TEST(QtDesktop, TheWindowsMenuBarHoldsTheIconsCommandsForTheKeyboard) {
    SetProfiles({{"Alpha", true}});
    QtImageList images;
    QtMainWindow window(images);
    QtTimer timer;
    QtTrayIcon tray;
    RecordingLog log;
    RecordingOneShotTimer wait{log};
    RecordingBusyPointer busy{log};
    RecordingServices services{log};
    VelmarActiveProfiles_Main main({window, window.List(), images, timer, tray, wait, busy, &tray, &services},
                                   DataFolder::FromCommandLine("/opt/velmar", {"/PATH:/nowhere"}));
    main.ProfileLoader = [](const ChangeSignature* /*listing*/) -> const ProfileLoad& { return TestLoad(); };
    window.SetCommandMenu(tray.Menu());
    window.SetEvents(&main);

    auto* bar = window.findChild<QMenuBar*>("Menu_Commands");
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->actions().size(), 1);
    EXPECT_EQ(bar->actions()[0]->text(), "&Profiles");
    QMenu* commands = bar->actions()[0]->menu();
    ASSERT_NE(commands, nullptr);
    EXPECT_EQ(commands->actions(), tray.Menu().actions()) << "the very actions of the icon's menu";
    EXPECT_EQ(QSize(window.InnerWidth(), window.InnerHeight()), QSize(312, 211)) << "the bar lies above";

    window.Create(); // no notification area here: the window is shown
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    wait.Elapse();
    auto* list = window.findChild<QTreeWidget*>("List_ActiveProfiles");
    EXPECT_EQ(list->geometry(), QRect(0, 0, 312, 211)) << "the list keeps the inner area";
    EXPECT_EQ(list->mapTo(&window, QPoint(0, 0)).y(), bar->geometry().bottom() + 1) << "under the bar";

    QTest::keyClick(&window, Qt::Key_P, Qt::AltModifier);
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_EQ(popup, commands) << "Alt+P opens the menu";
    QTest::keyClick(popup, Qt::Key_A);
    EXPECT_EQ(log.CallsStartingWith("Services.About").size(), 1U) << "its mnemonic runs About";

    // The menu's Quit keeps Ctrl+Q, and one shortcut only answers it.
    QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(log.CallsStartingWith("Services.Quit").size(), 1U);
}

// The tray program starts hidden with the window's contents left for later,
// so that the icon is drawn first: nothing is made before the first load or
// the first show, whichever comes first, and the window then shown is the one
// made at once, menu bar, list, status line and keys alike.
TEST(QtDesktop, AWindowMadeWhenUsedIsTheWindowMadeAtOnce) {
    SetProfiles({{"Alpha", true}, {"Beta", false}});
    struct Seen {
        QRect List, Bar, Status;
        QSize Window;
        QStringList Rows;
        QString StatusText;
    };
    struct Case {
        QtMainWindow::Contents Contents;
        bool ShownBeforeLoad;
    };
    std::vector<Seen> seen;
    for (const Case c :
         {Case{QtMainWindow::Contents::Now, false}, Case{QtMainWindow::Contents::WhenUsed, false},
          Case{QtMainWindow::Contents::WhenUsed, true}}) {
        const bool later = c.Contents == QtMainWindow::Contents::WhenUsed;
        QtImageList images;
        QtMainWindow window(images, c.Contents);
        QtTimer timer;
        QtTrayIcon commands;
        RecordingLog log;
        RecordingTray tray{log}; // a notification area: the window starts hidden
        RecordingOneShotTimer wait{log};
        RecordingBusyPointer busy{log};
        VelmarActiveProfiles_Main main({window, window.List(), images, timer, tray, wait, busy},
                                       DataFolder::FromCommandLine("/opt/velmar", {"/PATH:/nowhere"}));
        main.ProfileLoader = [](const ChangeSignature* /*listing*/) -> const ProfileLoad& {
            return TestLoad();
        };
        main.ClockText = [] { return std::string("14:05:09"); };
        window.SetCommandMenu(commands.Menu());
        window.SetEvents(&main);
        window.Create();
        EXPECT_EQ(tray.IconVisible(), -1);
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(window.ContentsMade(), !later);
        EXPECT_EQ(window.findChild<QTreeWidget*>() == nullptr, later) << "nothing made before the icon";
        EXPECT_EQ(window.findChild<QMenuBar*>() == nullptr, later);
        EXPECT_EQ(QSize(window.InnerWidth(), window.InnerHeight()), QSize(312, 211));

        if (c.ShownBeforeLoad) {
            tray.Activate();
            EXPECT_TRUE(window.ContentsMade()) << "made to be shown";
            ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        }
        ASSERT_TRUE(wait.Elapse());
        EXPECT_TRUE(window.ContentsMade()) << "made to show the first load";
        EXPECT_EQ(window.isVisible(), c.ShownBeforeLoad) << "the load does not show the window";
        if (!c.ShownBeforeLoad) {
            tray.Activate();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        }

        auto* list = window.findChild<QTreeWidget*>("List_ActiveProfiles");
        auto* bar = window.findChild<QMenuBar*>("Menu_Commands");
        auto* status = window.findChild<QLabel*>("Label_Status");
        ASSERT_TRUE(list != nullptr && bar != nullptr && status != nullptr);
        ASSERT_EQ(bar->actions().size(), 1);
        EXPECT_EQ(bar->actions()[0]->menu()->actions(), commands.Menu().actions());
        EXPECT_EQ(list->contextMenuPolicy(), Qt::CustomContextMenu) << "the list offers the same menu";
        Seen now{list->geometry(), bar->geometry(), status->geometry(), window.size(), {}, status->text()};
        for (int row = 0; row < list->topLevelItemCount(); ++row) {
            now.Rows << list->topLevelItem(row)->text(0);
        }
        seen.push_back(now);
        EXPECT_EQ(QSize(window.InnerWidth(), window.InnerHeight()), QSize(312, 211));

        // Esc hides it, as the window made at once.
        QTest::keyClick(&window, Qt::Key_Escape);
        EXPECT_FALSE(window.isVisible());
        EXPECT_FALSE(window.Unloaded());
    }
    ASSERT_EQ(seen.size(), 3U);
    for (std::size_t i = 1; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].List, seen[0].List) << i;
        EXPECT_EQ(seen[i].Bar, seen[0].Bar) << i;
        EXPECT_EQ(seen[i].Status, seen[0].Status) << i;
        EXPECT_EQ(seen[i].Window, seen[0].Window) << i;
        EXPECT_EQ(seen[i].Rows, seen[0].Rows) << i;
        EXPECT_EQ(seen[i].StatusText, seen[0].StatusText) << i;
    }
    EXPECT_EQ(seen[0].Rows, QStringList({"Alpha", "Beta"}));
}

TEST(QtDesktop, EscapeAndControlWHideTheWindowAndTheProgramGoesOn) {
    SetProfiles({});
    for (const auto& keys : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        QtFixture f;
        f.Window.Create();
        f.Tray.Activate();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&f.Window));
        QTest::keySequence(&f.Window, keys);
        EXPECT_FALSE(f.Window.isVisible()) << keys.toString().toStdString();
        EXPECT_FALSE(f.Window.Unloaded());
        EXPECT_EQ(f.Tray.IconVisible(), -1);
        EXPECT_EQ(f.UnloadedCalls, 0);
    }
}

TEST(QtDesktop, ControlQInTheWindowUnloadsIt) {
    SetProfiles({});
    QtFixture f;
    f.Window.Create();
    f.Tray.Activate();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f.Window));
    QTest::keyClick(&f.Window, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(f.Window.Unloaded());
    EXPECT_EQ(f.Tray.IconVisible(), 0);
    EXPECT_EQ(f.UnloadedCalls, 1);
}

TEST(QtDesktop, TheProgramIsNamedForTheDesktop) {
    SetDesktopIdentity();
    // The name a StatusNotifierItem host shows for the icon.
    EXPECT_EQ(QCoreApplication::applicationName(), "Velmar Active Profiles");
    EXPECT_EQ(QGuiApplication::desktopFileName(), "velmar-active-profiles");
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), "Velmar Active Profiles");
}

TEST(QtSingleInstance, OneInstancePerDataFolder) {
    QTemporaryDir runtime;
    using State = QtSingleInstance::State;
    QtSingleInstance first("/srv/alarm/Project", runtime.path());
    EXPECT_EQ(first.Acquire(), State::First);
    QtSingleInstance second("/srv/alarm/Project", runtime.path());
    EXPECT_EQ(second.Acquire(), State::Running);
    QtSingleInstance other("/srv/other/Project", runtime.path());
    EXPECT_EQ(other.Acquire(), State::First) << "another folder runs beside it";
    QTemporaryDir otherRuntime;
    QtSingleInstance otherUser("/srv/alarm/Project", otherRuntime.path());
    EXPECT_EQ(otherUser.Acquire(), State::First) << "another user's runtime folder";

    // An instance runs for days: the age of its lock never makes it stale.
    const QStringList locks = QDir(runtime.path()).entryList({"*.lock"}, QDir::Files);
    ASSERT_EQ(locks.size(), 2);
    for (const QString& lock : locks) {
        QFile file(runtime.filePath(lock));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(
            file.setFileTime(QDateTime::currentDateTime().addDays(-3), QFileDevice::FileModificationTime));
    }
    QtSingleInstance third("/srv/alarm/Project", runtime.path());
    EXPECT_EQ(third.Acquire(), State::Running);
}

TEST(QtSingleInstance, AFolderThatOthersCanEnterIsNeverUsed) {
    QTemporaryDir runtime;
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                              QFile::ReadOther | QFile::WriteOther | QFile::ExeOther);
    QtSingleInstance instance("/srv/alarm/Project", runtime.path());
    EXPECT_EQ(instance.Acquire(), QtSingleInstance::State::Unchecked);
    EXPECT_EQ(instance.Problem(), "no folder of the user's own for the single-instance lock (" +
                                      runtime.path().toStdString() + " is open to other users (mode 0707))");
    EXPECT_TRUE(QDir(runtime.path()).isEmpty()) << "neither lock nor socket is made there";
}

// The running one listens from the start (Acquire), or holds the lock and
// listens only later (Lock, then Listen once its icon is up): a start in
// between is turned away and asks until it is answered.
TEST(QtSingleInstance, ALaterStartAsksTheRunningOneToShowItself) {
    QTemporaryDir runtime;
    for (const bool listensLater : {false, true}) {
        QtSingleInstance first("/srv/alarm/Project", runtime.path());
        ASSERT_EQ(listensLater ? first.Lock() : first.Acquire(), QtSingleInstance::State::First);
        int shown = 0;
        first.OnShowRequested = [&] { ++shown; };

        // The later start blocks while it asks; the running one answers from
        // its event loop, here this thread's.
        std::atomic<int> answered = -1;
        std::atomic<bool> turnedAway = false;
        std::thread later([&] {
            QtSingleInstance second("/srv/alarm/Project", runtime.path());
            turnedAway = second.Acquire() == QtSingleInstance::State::Running;
            answered = turnedAway && second.AskRunningToShow(10000) ? 1 : 0;
        });
        bool listening = !listensLater;
        QElapsedTimer clock;
        clock.start();
        while (answered < 0 && clock.elapsed() < 15000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            if (!listening && turnedAway && clock.elapsed() > 300) {
                listening = true;
                EXPECT_TRUE(first.Listen()) << first.Problem();
            }
        }
        later.join();
        EXPECT_EQ(answered, 1) << listensLater;
        EXPECT_EQ(shown, 1) << listensLater;
    }

    QtSingleInstance unanswered("/srv/nobody/Project", runtime.path());
    EXPECT_FALSE(unanswered.AskRunningToShow(300)) << "nobody listens for that folder";
}

#ifndef _WIN32
TEST(QtSingleInstance, AKilledInstanceDoesNotBlockTheNextStart) {
    QTemporaryDir runtime;
    // A child takes the folder and ends without letting go, as a killed
    // instance does: its lock file and its socket stay behind.
    const pid_t child = fork();
    if (child == 0) {
        QtSingleInstance killed("/srv/alarm/Project", runtime.path());
        _exit(killed.Acquire() == QtSingleInstance::State::First ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_EQ(QDir(runtime.path()).entryList(QDir::Files | QDir::System).size(), 2) << "lock and socket left";

    QtSingleInstance next("/srv/alarm/Project", runtime.path());
    EXPECT_EQ(next.Acquire(), QtSingleInstance::State::First);
}
#endif

TEST(QtDesktop, StatusLineUnderTheListInTheErrorColourWhileThereAreProblems) {
    SetProfiles({{"Alpha", true}});
    QtFixture f;
    f.Main.ClockText = [] { return std::string("09:08:07"); };
    f.Window.Create();
    f.Wait.Elapse();
    f.Tray.Activate();
    QCoreApplication::processEvents();
    auto* status = f.Window.findChild<QLabel*>("Label_Status");
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->text(), QString::fromUtf8("Updated 09:08:07 \xC2\xB7 1 profile \xC2\xB7 /nowhere/"))
        << "the folder the window watches follows";
    EXPECT_TRUE(status->toolTip().contains("/nowhere/"));
    EXPECT_EQ(f.List()->geometry(), QRect(0, 0, 312, 211)) << "the list keeps the inner area";
    EXPECT_EQ(status->geometry().top(), 211) << "the line lies under the list";
    EXPECT_EQ(status->width(), 312);
    const QColor normal = status->palette().color(QPalette::WindowText);

    TestLoad().Problems = {{LoadProblemKind::FileUnreadable, "Profile_0002.dat", "permission denied"},
                           {LoadProblemKind::WrongVersion, "Profile_<b>3.dat", "3"}};
    f.Main.ShowActiveProfiles(TestLoad());
    EXPECT_TRUE(status->text().startsWith("Profile_0002.dat: permission denied \u00B7 "))
        << status->text().toStdString();
    EXPECT_TRUE(status->toolTip().contains("Profile_0002.dat: permission denied"));
    EXPECT_TRUE(status->toolTip().contains("Profile_&lt;b&gt;3.dat")) << "names are shown literally";
    const QColor error = status->palette().color(QPalette::WindowText);
    EXPECT_GT(error.red(), 2 * error.green()) << error.name().toStdString();

    TestLoad().Problems.clear();
    f.Main.ShowActiveProfiles(TestLoad());
    EXPECT_TRUE(status->text().startsWith("Updated "));
    EXPECT_EQ(status->palette().color(QPalette::WindowText), normal);
    EXPECT_FALSE(status->toolTip().contains("Profile_")) << "the mended problems leave the tooltip";
    EXPECT_TRUE(status->toolTip().contains("/nowhere/")) << "the folder stays in it";

    // A narrow window shortens the folder in the middle; the tooltip keeps it whole.
    const std::string longFolder = "/srv/alarm/" + std::string(200, 'x') + "/Project/";
    QtFixture narrow;
    narrow.Main.ClockText = [] { return std::string("09:08:07"); };
    narrow.Window.SetStatus({"Updated 09:08:07", {}, longFolder});
    auto* narrowStatus = narrow.Window.findChild<QLabel*>("Label_Status");
    EXPECT_TRUE(narrowStatus->text().contains(QString::fromUtf8("\xE2\x80\xA6")))
        << narrowStatus->text().toStdString();
    EXPECT_TRUE(narrowStatus->text().startsWith(QString::fromUtf8("Updated 09:08:07 \xC2\xB7 /srv/")));
    EXPECT_TRUE(narrowStatus->text().endsWith("Project/"));
    EXPECT_LE(narrowStatus->fontMetrics().horizontalAdvance(narrowStatus->text()), narrow.Window.width());
    EXPECT_TRUE(narrowStatus->toolTip().contains(QString::fromStdString(longFolder)));

    // A problem that takes the whole line leaves no room for the folder: no
    // separator is left dangling at its end.
    const std::string longProblem = "Profile_0001.dat: " + std::string(300, 'y');
    narrow.Window.SetStatus({longProblem, {longProblem}, longFolder});
    EXPECT_FALSE(narrowStatus->text().endsWith(QString::fromUtf8(" \xC2\xB7 ")))
        << narrowStatus->text().toStdString();
    EXPECT_TRUE(narrowStatus->toolTip().contains(QString::fromStdString(longFolder)));
}

TEST(QtDesktop, TrayIconShowsItsWarningVariantWhileThereAreProblems) {
    QtTrayIcon tray;
    auto picture = std::make_shared<QtPicture>(ProgramIcon());
    tray.SetTrayIcon(picture);
    const QImage plain = tray.Widget().icon().pixmap(32, 32).toImage();
    tray.SetWarning(true);
    EXPECT_TRUE(tray.Warning());
    EXPECT_EQ(tray.TrayIcon(), picture) << "the assigned picture stays the window's own";
    const QImage warned = tray.Widget().icon().pixmap(32, 32).toImage();
    ASSERT_EQ(warned.size(), QSize(32, 32));
    int amber = 0;
    for (int y = 16; y < 32; ++y) {
        for (int x = 16; x < 32; ++x) {
            const QRgb p = warned.pixel(x, y);
            amber += qRed(p) > 200 && qGreen(p) > 120 && qGreen(p) < 220 && qBlue(p) < 90 && qAlpha(p) > 200
                         ? 1
                         : 0;
        }
    }
    EXPECT_GT(amber, 20) << "an amber mark in the lower right corner";
    tray.SetWarning(false);
    EXPECT_FALSE(tray.Warning());
    EXPECT_EQ(tray.Widget().icon().pixmap(32, 32).toImage(), plain);
}

TEST(QtDesktop, TimerTicksIntoItsHandler) {
    QtTimer timer;
    int ticks = 0;
    timer.SetInterval(10);
    timer.SetTickHandler([&] { ++ticks; });
    timer.SetEnabled(true);
    EXPECT_TRUE(timer.Enabled());
    QElapsedTimer clock;
    clock.start();
    while (ticks < 2 && clock.elapsed() < 2000) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    EXPECT_GE(ticks, 2);
    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 10);
}

TEST(QtDesktop, OneShotTimerFiresOnceOnTheEventLoop) {
    QtOneShotTimer wait;
    std::vector<int> fired;
    wait.Start(60000, [&] { fired.push_back(1); });
    wait.Start(10, [&] { fired.push_back(2); }); // replaces the first
    EXPECT_TRUE(fired.empty()) << "never within Start";
    QElapsedTimer clock;
    clock.start();
    while (fired.empty() && clock.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    while (clock.elapsed() < 100) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    EXPECT_EQ(fired, std::vector<int>{2});
}

#ifndef _WIN32
TEST(QtDesktop, StopSignalsArriveOnTheEventLoop) {
    int stops = 0;
    InstallStopSignals([&] { ++stops; });
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        const int before = stops;
        std::raise(signal);
        QElapsedTimer clock;
        clock.start();
        while (stops == before && clock.elapsed() < 5000) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        }
        EXPECT_EQ(stops, before + 1) << "signal " << signal;
    }
}
#endif

} // namespace
} // namespace velmar
