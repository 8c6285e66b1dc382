#include "common/Errors.h"
#include "platform/Console.h"

#include <array>
#include <csignal>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>

namespace velmar {
namespace {

TEST(ConsoleBlock, EscapesEverythingThatCouldDriveATerminal) {
    struct Case {
        std::string_view Text;
        const char* Expected;
    };
    const auto cases = std::to_array<Case>({
        {"plain", "plain"},
        {"a\\b", "a\\\\b"},
        {"a\r\nb", "a\\r\\nb"},
        {"\n\n", "\\n\\n"},
        {"\\n", "\\\\n"}, // a written backslash-n stays distinguishable from a line feed
        {"tab\tand \xC3\x85", "tab\\x09and \xC3\x85"},
        {"\x1B[31mred\x1B[0m", "\\x1B[31mred\\x1B[0m"}, // an escape sequence stays inert
        {"bell\a del\x7F", "bell\\x07 del\\x7F"},
        {std::string_view("nul\0end", 7), "nul\\x00end"},
        {"\x1F \x20", "\\x1F  "},
        // C1 controls (undefined code page 1252 bytes map to them) and bytes
        // that are no UTF-8 are written byte by byte; the rest of UTF-8 stays.
        {"osc\xC2\x9D end", "osc\\xC2\\x9D end"},
        {"\xC2\xA0nbsp \xE2\x80\xA6", "\xC2\xA0nbsp \xE2\x80\xA6"},
        {"bad\xFF \xC3", "bad\\xFF \\xC3"},
        {"", ""},
    });
    for (const auto& c : cases) {
        EXPECT_EQ(EscapeConsoleText(c.Text), c.Expected) << c.Text;
    }
}

TEST(JsonText, EveryByteANameMayHoldIsAValidJsonString) {
    struct Case {
        std::string_view Text;
        const char* Expected;
    };
    const auto cases = std::to_array<Case>({
        {"plain", R"("plain")"},
        {"say \"hi\"", R"("say \"hi\"")"},
        {"C:\\Data\\", R"("C:\\Data\\")"},
        {"a\r\nb\tc\bd\fe", R"("a\r\nb\tc\bd\fe")"},
        {std::string_view("nul\0\x01\x1F\x7F", 7), R"("nul\u0000\u0001\u001f\u007f")"},
        {"\x1B[31m", R"("\u001b[31m")"},
        {"osc\xC2\x9D", R"("osc\u009d")"},
        {"\xC3\x85sa \xC2\xB7 \xE2\x80\xA6 \xF0\x9F\x94\x94",
         "\"\xC3\x85sa \xC2\xB7 \xE2\x80\xA6 \xF0\x9F\x94\x94\""},
        {"bad\xFF\xC3",
         R"("bad\ufffd\ufffd")"}, // bytes that are no UTF-8 (a data folder given in another encoding)
        {"</script>", R"("</script>")"},
        {"", R"("")"},
    });
    for (const auto& c : cases) {
        EXPECT_EQ(JsonString(c.Text), c.Expected) << c.Text;
    }
}

TEST(ConsoleBlock, OneLinePerRowThenTheTooltip) {
    const std::vector<ListRow> rows = {
        {"Kontor", kImageInactive}, {"Natt\nlarm", kImageActive}, {"C:\\x", 1}};
    EXPECT_EQ(FormatConsoleBlock("07:05:09", rows, {}, "Aktiva profiler:\n\xC2\xB7 Natt\nlarm"),
              "== 07:05:09 3 profiles\n"
              "- Kontor\n"
              "+ Natt\\nlarm\n"
              "- C:\\\\x\n"
              "tooltip: Aktiva profiler:\\n\xC2\xB7 Natt\\nlarm\n");
    EXPECT_EQ(FormatConsoleBlock("00:00:00", {}, {}, "Aktiva profiler:"),
              "== 00:00:00 0 profiles\ntooltip: Aktiva profiler:\n");
}

TEST(ConsoleBlock, ProblemsComeAfterTheRowsAndBeforeTheTooltip) {
    EXPECT_EQ(
        FormatConsoleBlock("07:05:09", {{"Kontor", kImageActive}},
                           {"Profile_0002.dat: permission denied", "Profile_\x1B[2J.dat: is a directory"},
                           "Aktiva profiler:\n\xC2\xB7 Kontor\nProfile_0002.dat: permission denied"),
        "== 07:05:09 1 profiles\n"
        "+ Kontor\n"
        "! Profile_0002.dat: permission denied\n"
        "! Profile_\\x1B[2J.dat: is a directory\n"
        "tooltip: Aktiva profiler:\\n\xC2\xB7 Kontor\\nProfile_0002.dat: permission denied\n");
}

TEST(ConsoleBlock, ClockTextIsHoursMinutesSeconds) {
    EXPECT_TRUE(std::regex_match(LocalClockText(), std::regex("[0-2][0-9]:[0-5][0-9]:[0-6][0-9]")));
    EXPECT_TRUE(std::regex_match(
        LocalTimestampText(), std::regex(R"(20[0-9]{2}-[01][0-9]-[0-3][0-9]T[0-2][0-9]:[0-5][0-9]:[0-6][0-9])"
                                         R"([+-][01][0-9]:[0-5][0-9])")))
        << LocalTimestampText();
}

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
    window.SetStatus({"Profile_0001.dat: input/output error", {"Profile_0001.dat: input/output error"}});
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

TEST(ConsoleLoop, TicksUntilAStopSignal) {
#ifdef SIGHUP
    // A closed terminal or a hang-up ends the program like SIGTERM.
    const auto stopSignals = std::to_array({SIGTERM, SIGINT, SIGHUP});
#else
    const auto stopSignals = std::to_array({SIGTERM, SIGINT});
#endif
    for (const int signal : stopSignals) {
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
