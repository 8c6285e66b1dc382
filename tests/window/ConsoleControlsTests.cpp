#include "common/Errors.h"
#include "window/ConsoleControls.h"

#include <array>
#include <csignal>
#include <gtest/gtest.h>
#include <sstream>

namespace velmar {
namespace {

TEST(ConsoleControls, TrayPrintsTheListWhenTheTooltipIsSet) {
    ConsoleImageList images;
    ConsoleReportList list(images);
    ConsoleWindow window;
    std::ostringstream out;
    ConsoleTray tray(list, window, out, [] { return std::string("12:34:56"); });
    list.AddRow("A", kImageActive);
    EXPECT_THROW(list.AddRow("bad", 3), OutOfRangeError);
    EXPECT_THROW(list.AddRow("bad", 0), OutOfRangeError);
    EXPECT_EQ(out.str(), "") << "rows alone print nothing";
    tray.SetToolTipText("tip");
    EXPECT_EQ(out.str(), "== 12:34:56 1 profiles\n+ A\ntooltip: tip\n");
    list.ClearRows();
    tray.SetToolTipText("again");
    EXPECT_EQ(out.str(),
              "== 12:34:56 1 profiles\n+ A\ntooltip: tip\n== 12:34:56 0 profiles\ntooltip: again\n");

    // The window's status line brings the problems; the icon's state is kept.
    out.str("");
    window.SetStatus({"Profile_0001.dat: input/output error", {"Profile_0001.dat: input/output error"}, ""});
    tray.SetWarning(true);
    EXPECT_TRUE(tray.Warning());
    tray.SetToolTipText("tip");
    EXPECT_EQ(out.str(), "== 12:34:56 0 profiles\n! Profile_0001.dat: input/output error\ntooltip: tip\n");
}

TEST(ConsoleControls, ListRefusesNegativeSizesAsTheDesktopListDoes) {
    ConsoleImageList images;
    ConsoleReportList list(images);
    EXPECT_NO_THROW(list.SetColumnWidth(1, 0));
    EXPECT_THROW(list.SetColumnWidth(1, -40), InvalidArgumentError);
    EXPECT_THROW(list.SetColumnWidth(2, 10), InvalidArgumentError);
    EXPECT_THROW(list.SetWidth(-1), InvalidArgumentError);
}

// The signals that end the console front end; a closed terminal or a hang-up
// ends it like SIGTERM where the system has SIGHUP.
#ifdef SIGHUP
const auto kStopSignals = std::to_array({SIGTERM, SIGINT, SIGHUP});
#else
const auto kStopSignals = std::to_array({SIGTERM, SIGINT});
#endif

TEST(ConsoleLoop, TicksUntilAStopSignal) {
    for (const int signal : kStopSignals) {
        const ConsoleStopSignals signals;
        ConsoleTimer timer;
        ConsoleOneShotTimer wait;
        timer.SetInterval(20);
        timer.SetEnabled(true);
        int ticks = 0;
        timer.SetTickHandler([&] {
            if (++ticks == 3) {
                std::raise(signal);
            }
        });
        EXPECT_EQ(RunConsoleLoop(timer, wait, signals), signal);
        EXPECT_EQ(ticks, 3);
    }
}

// Ctrl+C pressed twice, or a signal sent to the process and again to its
// process group (as timeout(1) does): the second is caught like the first,
// never the system's default that ends the program on the spot.
TEST(ConsoleLoop, ASecondStopSignalIsCaughtLikeTheFirst) {
    for (const int signal : kStopSignals) {
        const ConsoleStopSignals signals;
        std::raise(signal);
        std::raise(signal);
        EXPECT_EQ(signals.Received(), signal);
    }
}

TEST(ConsoleLoop, SignalBeforeTheLoopEndsItAtOnce) {
    const ConsoleStopSignals signals;
    std::raise(SIGTERM);
    EXPECT_EQ(signals.Received(), SIGTERM);
    ConsoleTimer timer;
    ConsoleOneShotTimer wait;
    timer.SetInterval(10);
    timer.SetEnabled(true);
    int ticks = 0;
    timer.SetTickHandler([&] { ++ticks; });
    EXPECT_EQ(RunConsoleLoop(timer, wait, signals), SIGTERM);
    EXPECT_EQ(ticks, 0);
}

TEST(ConsoleLoop, TheWaitFiresOnceBetweenTicksAndASignalEndsItUnfired) {
    struct Case {
        const char* Title;
        std::int32_t Wait; // milliseconds, started at the first tick
        bool SignalInWait; // raised from the second tick, while the wait is pending
        int Fired;
    };
    for (const Case c :
         {Case{"the wait fires once", 30, false, 1}, Case{"a zero wait fires too", 0, false, 1},
          Case{"a signal ends a pending wait", 60000, true, 0}}) {
        const ConsoleStopSignals signals;
        ConsoleTimer timer;
        ConsoleOneShotTimer wait;
        timer.SetInterval(10);
        timer.SetEnabled(true);
        int ticks = 0;
        int fired = 0;
        timer.SetTickHandler([&] {
            if (++ticks == 1) {
                wait.Start(c.Wait, [&] { ++fired; });
            } else if (c.SignalInWait || fired > 0 || ticks > 10000) {
                std::raise(SIGTERM);
            }
        });
        EXPECT_EQ(RunConsoleLoop(timer, wait, signals), SIGTERM) << c.Title;
        EXPECT_EQ(fired, c.Fired) << c.Title;
        EXPECT_EQ(wait.Pending(), c.Fired == 0) << c.Title;
    }
}

TEST(ConsoleControls, AnImmediateWaitRunsItsHandlerWithinStart) {
    ImmediateOneShotTimer wait;
    int fired = 0;
    wait.Start(500, [&] { ++fired; });
    EXPECT_EQ(fired, 1);
}

} // namespace
} // namespace velmar
