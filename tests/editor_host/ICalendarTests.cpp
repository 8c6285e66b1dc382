// iCalendar files through libical: holiday labels read from all-day events
// with their recurrences, and the exports of calendars and schedules.

#include "calendar/Calendar.h"
#include "common/Errors.h"
#include "common/SharedTables.h"
#include "editor_host/EventScript.h"
#include "editor_host/ICalendar.h"
#include "editor_host/ScheduleEditor.h"
#include "editor_host/SharedTablesScope.h"
#include "platform/DateServices.h"
#include "tests/editor_host/FakeImageList.h"
#include "tests/support/RecordingSurface.h"

#include <array>
#include <cstdio>
#include <gtest/gtest.h>
#include <libical/ical.h>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>

namespace velmar::test {
namespace {

using namespace std::string_literals;

std::string DateText(std::int64_t dayOffset) {
    const CivilDate date = DateOfDayOffset(dayOffset);
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "%04d%02d%02d", static_cast<int>(date.Year), date.Month,
                  date.Day);
    return text.data();
}

// "YYYYMMDD label" for every labelled date.
std::vector<std::string> Labelled(const HolidayImport& holidays) {
    std::vector<std::string> lines;
    for (std::int32_t day = 0; day < kCalendarDays; ++day) {
        if (const std::string* label = holidays.LabelOn(day)) {
            lines.push_back(DateText(day) + " " + *label);
        }
    }
    return lines;
}

// The labelled dates, without their labels.
std::vector<std::string> Dates(const HolidayImport& holidays) {
    std::vector<std::string> dates;
    for (std::int32_t day = 0; day < kCalendarDays; ++day) {
        if (holidays.LabelOn(day) != nullptr) {
            dates.push_back(DateText(day));
        }
    }
    return dates;
}

std::string Calendar(const std::string& events) {
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//tests//EN\r\n" + events + "END:VCALENDAR\r\n";
}

std::string Event(const std::string& lines) {
    return "BEGIN:VEVENT\r\n" + lines + "END:VEVENT\r\n";
}

// The event's dates, or the first few and the count when there are many.
std::string Summed(const std::vector<std::string>& dates) {
    std::string text;
    for (std::size_t i = 0; i < dates.size() && i < 4; ++i) {
        text += dates[i] + " ";
    }
    if (dates.size() > 4) {
        text += "... " + dates.back() + " (" + std::to_string(dates.size()) + ")";
    }
    return text;
}

TEST(HolidayImport, LabelsComeFromTheAllDayEventsOfAFile) {
    const std::string text =
        "\xEF\xBB\xBF"
        "BEGIN:VCALENDAR\r\n"
        "BEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20261224\r\nDTEND;VALUE=DATE:20261227\r\n"
        "SUMMARY:Jul\\, helg\r\nEND:VEVENT\r\n"
        "BEGIN:VEVENT\nDTSTART:20261231\nSUMMARY:Nyårs\n afton\nEND:VEVENT\n"
        "BEGIN:VEVENT\r\nDTSTART:20261201T100000\r\nSUMMARY:Meeting\r\nEND:VEVENT\r\n"
        "BEGIN:VEVENT\r\nDTSTART;TZID=Europe/Stockholm:20261202T100000\r\nSUMMARY:Call\r\n"
        "END:VEVENT\r\n"
        "BEGIN:VEVENT\r\nDTSTART;VALUE=DATE:19991231\r\nSUMMARY:Before\r\nEND:VEVENT\r\n"
        "BEGIN:VEVENT\r\nSUMMARY:No date\r\nEND:VEVENT\r\n"
        "END:VCALENDAR\r\n";
    const HolidayImport holidays = ReadHolidays(text);
    EXPECT_EQ(Labelled(holidays), (std::vector<std::string>{"20261224 Jul, helg", "20261225 Jul, helg",
                                                            "20261226 Jul, helg", "20261231 Nyårsafton"}));
    EXPECT_EQ(holidays.Dates, 4);
    EXPECT_EQ(holidays.Events, 3);
    EXPECT_EQ(holidays.TimedEvents, 2);
    EXPECT_EQ(holidays.UndatedEvents, 1);
    EXPECT_EQ(holidays.Labels.size(), 2U) << "each label once, however many dates it has";

    SharedTablesScope scope;
    ShowHolidays(holidays);
    EXPECT_NE(HolidayFlags[static_cast<std::int32_t>(DayOffsetOf(2026, 12, 25))], 0);
    EXPECT_EQ(HolidayFlags[static_cast<std::int32_t>(DayOffsetOf(2026, 12, 27))], 0);
    EXPECT_EQ(HolidayLabels.Count(), 4);
    EXPECT_EQ(HolidayLabels.Item(1)->m_Label, "Jul, helg");
    EXPECT_EQ(HolidayLabels.Item(1)->m_ViewInCalendar, -1);
}

TEST(HolidayImport, RecurrenceRulesDatesExceptionsAndDurationsAreExpandedOver2000To2039) {
    struct Case {
        const char* Name;
        std::string Lines; // of one event labelled "H"
        std::string Dates; // as Summed gives them
    };
    const std::vector<Case> cases = {
        {"every 6 June", "DTSTART;VALUE=DATE:20000606\r\nRRULE:FREQ=YEARLY\r\n",
         "20000606 20010606 20020606 20030606 ... 20390606 (40)"},
        {"every 6 June since 1990: the same dates", "DTSTART;VALUE=DATE:19900606\r\nRRULE:FREQ=YEARLY\r\n",
         "20000606 20010606 20020606 20030606 ... 20390606 (40)"},
        {"COUNT", "DTSTART;VALUE=DATE:20260606\r\nRRULE:FREQ=YEARLY;COUNT=3\r\n",
         "20260606 20270606 20280606 "},
        {"COUNT from before 2000", "DTSTART;VALUE=DATE:19980606\r\nRRULE:FREQ=YEARLY;COUNT=4\r\n",
         "20000606 20010606 "},
        {"UNTIL", "DTSTART;VALUE=DATE:20260606\r\nRRULE:FREQ=YEARLY;UNTIL=20280606\r\n",
         "20260606 20270606 20280606 "},
        {"EXDATE, also of DTSTART",
         "DTSTART;VALUE=DATE:20260606\r\nRRULE:FREQ=YEARLY;COUNT=4\r\nEXDATE;VALUE=DATE:20260606,"
         "20280606\r\n",
         "20270606 20290606 "},
        {"RDATE", "DTSTART;VALUE=DATE:20260101\r\nRDATE;VALUE=DATE:20260405,20270328\r\nRDATE:20280416\r\n",
         "20260101 20260405 20270328 20280416 "},
        {"RDATE as a date-time and a period: their dates",
         "DTSTART;VALUE=DATE:20260101\r\nRDATE:20260301T120000Z\r\nRDATE;VALUE=PERIOD:20260401T000000Z/"
         "P1D\r\n",
         "20260101 20260301 20260401 "},
        {"DTEND", "DTSTART;VALUE=DATE:20261224\r\nDTEND;VALUE=DATE:20261227\r\n",
         "20261224 20261225 20261226 "},
        {"DTEND not after DTSTART: one day", "DTSTART;VALUE=DATE:20261224\r\nDTEND;VALUE=DATE:20261224\r\n",
         "20261224 "},
        {"DURATION in days", "DTSTART;VALUE=DATE:20261224\r\nDURATION:P2D\r\n", "20261224 20261225 "},
        {"DURATION in weeks and hours, a part of a day counts whole",
         "DTSTART;VALUE=DATE:20261201\r\nDURATION:P1WT1H\r\n",
         "20261201 20261202 20261203 20261204 ... 20261208 (8)"},
        {"a yearly DURATION", "DTSTART;VALUE=DATE:20001230\r\nDURATION:P3D\r\nRRULE:FREQ=YEARLY;COUNT=2\r\n",
         "20001230 20001231 20010101 20011230 ... 20020101 (6)"},
        {"an occurrence from 1999 into 2000",
         "DTSTART;VALUE=DATE:19901230\r\nDURATION:P4D\r\nRRULE:FREQ=YEARLY;UNTIL=19991230\r\n",
         "20000101 20000102 "},
        {"weekends of a week",
         "DTSTART;VALUE=DATE:20260101\r\nRRULE:FREQ=WEEKLY;BYDAY=SA,SU;UNTIL=20260111\r\n",
         "20260101 20260103 20260104 20260110 ... 20260111 (5)"},
        {"midsummer eve: the Friday from 19 to 25 June",
         "DTSTART;VALUE=DATE:20000623\r\nRRULE:FREQ=YEARLY;BYMONTH=6;BYMONTHDAY=19,20,21,22,23,24,25;BYDAY="
         "FR\r\n",
         "20000623 20010622 20020621 20030620 ... 20390624 (40)"},
        {"every day of the forty years", "DTSTART;VALUE=DATE:19000101\r\nRRULE:FREQ=DAILY\r\n",
         "20000101 20000102 20000103 20000104 ... 20391231 (14610)"},
        {"a rule that never matches",
         "DTSTART;VALUE=DATE:20000101\r\nRRULE:FREQ=DAILY;BYMONTH=2;BYMONTHDAY=30\r\n", "20000101 "},
        {"lower-case names", "dtstart;value=date:20260606\r\nrrule:FREQ=YEARLY;COUNT=2\r\n",
         "20260606 20270606 "},
    };
    for (const Case& c : cases) {
        try {
            const HolidayImport holidays = ReadHolidays(Calendar(Event(c.Lines + "SUMMARY:H\r\n")));
            EXPECT_EQ(Summed(Dates(holidays)), c.Dates) << c.Name;
            EXPECT_EQ(holidays.Labels, std::vector<std::string>{"H"}) << c.Name;
        } catch (const VelmarError& error) {
            ADD_FAILURE() << c.Name << ": " << error.what();
        }
    }
}

TEST(HolidayImport, TheFirstEventInTheFilesOrderLabelsADateAndTheLaterOnesAreCounted) {
    const HolidayImport holidays = ReadHolidays(Calendar(
        Event("DTSTART;VALUE=DATE:20261224\r\nDTEND;VALUE=DATE:20261226\r\nSUMMARY:Jul\r\n") +
        Event("DTSTART;VALUE=DATE:20261225\r\nDTEND;VALUE=DATE:20261228\r\nSUMMARY:Mellandagar\r\n") +
        Event("DTSTART;VALUE=DATE:20261201\r\nDTEND;VALUE=DATE:20270101\r\nSUMMARY:December\r\n") +
        Event("DTSTART;VALUE=DATE:20261225\r\nSUMMARY:Juldagen\r\n")));
    const std::map<std::string, std::string> expected = {
        {"20261201", "December"},    {"20261224", "Jul"},         {"20261225", "Jul"},
        {"20261226", "Mellandagar"}, {"20261227", "Mellandagar"}, {"20261231", "December"}};
    for (const auto& [date, label] : expected) {
        const auto day = static_cast<std::int32_t>(DayOffsetOf(
            std::stoi(date.substr(0, 4)), std::stoi(date.substr(4, 2)), std::stoi(date.substr(6))));
        ASSERT_NE(holidays.LabelOn(day), nullptr) << date;
        EXPECT_EQ(*holidays.LabelOn(day), label) << date;
    }
    EXPECT_EQ(holidays.Dates, 31);
    EXPECT_EQ(holidays.Events, 4);
    EXPECT_EQ(holidays.LaterEvents, 3);
    EXPECT_EQ(holidays.TakenDates, 1 + 4 + 1); // Mellandagar's 25th, December's 24th to 27th, Juldagen
    EXPECT_EQ(holidays.Labels, (std::vector<std::string>{"Jul", "Mellandagar", "December"}));
}

TEST(HolidayImport, CancelledEventsAndTheTextsOfAlarmsAreLeftOut) {
    const HolidayImport holidays = ReadHolidays(Calendar(
        Event("DTSTART;VALUE=DATE:20261224\r\nSUMMARY:Julafton\r\n"
              "BEGIN:VALARM\r\nACTION:DISPLAY\r\nSUMMARY:Buy presents\r\nDESCRIPTION:Buy presents\r\n"
              "DTSTART;VALUE=DATE:20260101\r\nSTATUS:CANCELLED\r\nEND:VALARM\r\n") +
        Event("BEGIN:VALARM\r\nSUMMARY:First\r\nEND:VALARM\r\nDTSTART;VALUE=DATE:20261225\r\n") +
        Event("DTSTART;VALUE=DATE:20261226\r\nSTATUS:CANCELLED\r\nSUMMARY:Cancelled\r\n") +
        Event("DTSTART;VALUE=DATE:20261227\r\nstatus:cancelled\r\nSUMMARY:Also cancelled\r\n")));
    EXPECT_EQ(Labelled(holidays), (std::vector<std::string>{"20261224 Julafton", "20261225 "}));
    EXPECT_EQ(holidays.CancelledEvents, 2);
    EXPECT_EQ(holidays.Events, 2);
}

TEST(HolidayImport, AnInvalidDateRuleOrNestingIsAnErrorNamingItsPhysicalLine) {
    struct Case {
        const char* Name;
        std::string Text;
        const char* Error; // a part of the message
    };
    const std::string head = "BEGIN:VCALENDAR\r\nPRODID:-//tests//EN\r\n BUT FOLDED\r\nBEGIN:VEVENT\r\n"
                             "SUMMARY:A long\r\n  name\r\n"; // lines 1 to 6
    const std::vector<Case> cases = {
        {"31 February", head + "DTSTART;VALUE=DATE:20260231\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n",
         "line 7: \"DTSTART;VALUE=DATE:20260231\" is not a valid date"},
        {"month 13 in DTEND",
         head + "DTSTART;VALUE=DATE:20260101\r\nDTEND;VALUE=DATE:20261301\r\nEND:VEVENT\r\n",
         "line 8: \"DTEND;VALUE=DATE:20261301\" is not a valid date"},
        {"a folded date", head + "DTSTART;VALUE=DATE:2026\r\n 0230\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n",
         "line 7: \"DTSTART;VALUE=DATE:20260230\" is not a valid date"},
        {"not a date", head + "DTSTART;VALUE=DATE:2026-12\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n", "line 7: "},
        {"an hour 25 in a timed event", head + "DTSTART:20261224T250000\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n",
         "line 7: "},
        {"in an RDATE list",
         head + "DTSTART;VALUE=DATE:20260101\r\nRDATE;VALUE=DATE:20260102,20260230\r\nEND:VEVENT\r\nEND:"
                "VCALENDAR\r\n",
         "line 8: "},
        {"an EXDATE",
         head + "DTSTART;VALUE=DATE:20260101\r\nEXDATE:20260431\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n",
         "line 8: "},
        {"a cancelled event's date too",
         head + "STATUS:CANCELLED\r\nDTSTART;VALUE=DATE:20260229\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n",
         "line 8: "},
        {"an UNTIL",
         head + "DTSTART;VALUE=DATE:20260101\r\nRRULE:FREQ=YEARLY;UNTIL=20270229\r\nEND:VEVENT\r\n",
         "line 8: \"RRULE:FREQ=YEARLY;UNTIL=20270229\" is not a valid recurrence rule"},
        {"a rule", head + "DTSTART;VALUE=DATE:20260101\r\nRRULE:FREQ=FORTNIGHTLY\r\nEND:VEVENT\r\n",
         "line 8: \"RRULE:FREQ=FORTNIGHTLY\" is not a valid recurrence rule"},
        {"an hourly all-day event",
         head + "DTSTART;VALUE=DATE:20260101\r\nRRULE:FREQ=HOURLY\r\nEND:VEVENT\r\n",
         "line 8: an all-day event cannot repeat more often than daily"},
        {"a duration", head + "DTSTART;VALUE=DATE:20260101\r\nDURATION:two days\r\nEND:VEVENT\r\n",
         "line 8: \"DURATION:two days\" is not a valid duration"},
        {"an END of another component", head + "END:VTODO\r\n",
         R"(line 7: "END:VTODO" where "BEGIN:VEVENT" of line 4)"},
        {"a file cut short", head + "DTSTART;VALUE=DATE:20260101\r\n",
         R"(line 4: "BEGIN:VEVENT" does not end before the file does)"},
        {"no calendar", "hello\r\n", "not an iCalendar file"},
        {"nothing", "", "not an iCalendar file"},
    };
    for (const Case& c : cases) {
        try {
            ReadHolidays(c.Text);
            ADD_FAILURE() << c.Name << ": no error";
        } catch (const InvalidArgumentError& error) {
            EXPECT_NE(std::string(error.what()).find(c.Error), std::string::npos)
                << c.Name << ": " << error.what();
        }
    }
}

TEST(HolidayImport, RulesThatRepeatMoreThanAnImportExpandsAreAnErrorNamingTheRule) {
    std::string events;
    for (int rule = 0; rule < 20; ++rule) {
        events += Event("DTSTART;VALUE=DATE:20000101\r\nRRULE:FREQ=DAILY\r\nSUMMARY:Every day\r\n");
    }
    EXPECT_EQ(ReadHolidays(Calendar(events)).Dates, kCalendarDays) << "twenty daily rules are expanded";
    events += Event("DTSTART;VALUE=DATE:20000101\r\nRRULE:FREQ=DAILY\r\nSUMMARY:Every day\r\n");
    const std::string lines = std::to_string(3 + 20 * 5 + 3); // the 21st rule's line
    try {
        ReadHolidays(Calendar(events));
        ADD_FAILURE() << "no error";
    } catch (const InvalidArgumentError& error) {
        EXPECT_NE(std::string(error.what()).find("line " + lines + ": the recurrence rules"),
                  std::string::npos)
            << error.what();
    }
}

TEST(HolidayImport, AThousandFortyYearEventsGiveOneLabelPerDateInBoundedMemory) {
    std::string events;
    for (int event = 0; event < 1000; ++event) {
        events += Event("DTSTART;VALUE=DATE:20000101\r\nDTEND;VALUE=DATE:20400101\r\nSUMMARY:Event " +
                        std::to_string(event) + "\r\n");
    }
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    const HolidayImport holidays = ReadHolidays(Calendar(events));
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    EXPECT_EQ(holidays.Dates, kCalendarDays);
    EXPECT_EQ(holidays.Labels, std::vector<std::string>{"Event 0"});
    EXPECT_EQ(holidays.LaterEvents, 999);
    EXPECT_EQ(holidays.TakenDates, 999 * std::int64_t{kCalendarDays});
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-union-access): glibc's rusage
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 100 * 1024) << "kilobytes more at the peak";

    // A label is cut between characters.
    const HolidayImport longLabel = ReadHolidays(
        Calendar(Event("DTSTART;VALUE=DATE:20000101\r\nSUMMARY:x" + std::string(300, 'a') + "\r\n") +
                 Event("DTSTART;VALUE=DATE:20000102\r\nSUMMARY:" + [] {
                     std::string text;
                     for (int i = 0; i < 200; ++i) {
                         text += "å";
                     }
                     return text;
                 }() + "\r\n")));
    EXPECT_EQ(longLabel.Labels[0].size(), kMaxHolidayLabelBytes);
    EXPECT_EQ(longLabel.Labels[1].size(), kMaxHolidayLabelBytes - 1) << "254 bytes: 127 whole characters";
}

// Runs a command and gives its standard output; fails when it does not end with 0.
std::string Output(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        ADD_FAILURE() << "cannot run " << command;
        return output;
    }
    std::array<char, 65536> buffer{};
    for (std::size_t read = 0; (read = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) {
        output.append(buffer.data(), read);
    }
    const int status = pclose(pipe);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command << " ended with " << status;
    return output;
}

TEST(HolidayImport, SwedishHolidaysFromPythonsPackagesReadTheSameWithDatesAndWithRules) {
    // Debian's python3 has python3-icalendar and python3-holidays.
    const std::string python =
        Output("for p in /usr/bin/python3 python3; do "
               "if $p -c 'import icalendar, holidays' 2>/dev/null; then echo $p; break; fi; done");
    ASSERT_FALSE(python.empty()) << "no python3 with the icalendar and holidays packages";
    const std::string script =
        python.substr(0, python.size() - 1) + " " + VELMAR_SWEDISH_HOLIDAYS_SCRIPT + " ";
    std::vector<std::string> expected;
    std::istringstream lines(Output(script + "labels"));
    for (std::string line; std::getline(lines, line);) {
        expected.push_back(line);
    }
    ASSERT_GT(expected.size(), 600U);
    ASSERT_EQ(expected.front(), "20000101 Nyårsdagen");

    const HolidayImport dated = ReadHolidays(Output(script + "dates"));
    const std::string rulesText = Output(script + "rules");
    const HolidayImport ruled = ReadHolidays(rulesText);
    EXPECT_EQ(Labelled(dated), expected);
    EXPECT_EQ(Labelled(ruled), expected);
    EXPECT_NE(rulesText.find("RRULE:FREQ=YEARLY;COUNT=40;BYDAY=FR;BYMONTHDAY=19,20"), std::string::npos);
    EXPECT_NE(rulesText.find("EXDATE"), std::string::npos);
    EXPECT_NE(rulesText.find("BEGIN:VALARM"), std::string::npos);
    EXPECT_EQ(ruled.LaterEvents, 1) << "Kristi himmelsfärdsdag's RDATE on 1 May 2008";
}

// Every line of an export: CRLF, at most 75 bytes, not beginning inside a
// character, no control character; and the text unfolded.
std::string CheckedAndUnfolded(const std::string& text) {
    EXPECT_TRUE(text.ends_with("\r\n"));
    std::string unfolded;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "a line without CRLF at " << start;
            break;
        }
        const std::string line = text.substr(start, end - start);
        EXPECT_LE(line.size(), 75U) << line;
        EXPECT_FALSE(!line.empty() && (static_cast<unsigned char>(line[0]) & 0xC0) == 0x80) << line;
        EXPECT_FALSE(start > 0 && line.size() > 1 && line[0] == ' ' &&
                     (static_cast<unsigned char>(line[1]) & 0xC0) == 0x80)
            << "a fold inside a character: " << line;
        for (const char c : line) {
            EXPECT_FALSE(static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
                << "a control character in " << line;
        }
        if (line.starts_with(" ")) {
            unfolded += line.substr(1);
        } else {
            unfolded += (unfolded.empty() ? "" : "\n") + line;
        }
        start = end + 2;
    }
    return unfolded;
}

ICalendarExport Options(std::string timeZone = {}) {
    return {1767225600, "0123456789abcdef0123456789abcdef", std::move(timeZone)}; // 2026-01-01 00:00:00 UTC
}

TEST(ICalendarExport, ACalendarsCodedDatesBecomeAllDayEventsThatReadBackAsHolidays) {
    cCalendar calendar;
    calendar.SetDayType(static_cast<std::int32_t>(DayOffsetOf(2026, 12, 24)), 7);
    calendar.SetDayType(static_cast<std::int32_t>(DayOffsetOf(2039, 12, 31)), 9);
    calendar.SetDayType(0, 40);
    const std::string text = CalendarToICalendar(
        calendar, {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun; Christmas, Eve", "S1", "Special 2"},
        Options());
    EXPECT_NE(text.find("DTSTART;VALUE=DATE:20261224\r\nDTEND;VALUE=DATE:20261225\r\nSUMMARY:Sun\\; "
                        "Christmas\\, Eve\r\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("DTSTART;VALUE=DATE:20391231\r\nDTEND;VALUE=DATE:20400101\r\nSUMMARY:Special 2\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("SUMMARY:Day-type code 40\r\n"), std::string::npos);
    EXPECT_TRUE(text.starts_with("BEGIN:VCALENDAR\r\n"));
    EXPECT_TRUE(text.ends_with("END:VCALENDAR\r\n"));
    CheckedAndUnfolded(text);

    EXPECT_EQ(Labelled(ReadHolidays(text)),
              (std::vector<std::string>{"20000101 Day-type code 40", "20261224 Sun; Christmas, Eve",
                                        "20391231 Special 2"}));
}

TEST(ICalendarExport, EveryEventHasADtstampAndAUidUniqueToTheExport) {
    cCalendar calendar;
    calendar.SetDayType(0, 1);
    calendar.SetDayType(1, 2);
    ICalendarExport second = Options();
    second.ExportId = NewExportId();
    EXPECT_TRUE(std::regex_match(second.ExportId, std::regex("[0-9a-f]{32}"))) << second.ExportId;
    EXPECT_NE(NewExportId(), second.ExportId);
    std::set<std::string> uids;
    std::size_t events = 0;
    for (const ICalendarExport& options : {Options(), second}) {
        const std::string text = CalendarToICalendar(calendar, {"Mon", "Tue"}, options);
        const std::regex uid("\r\nUID:([^\r]*)\r\n");
        for (auto match = std::sregex_iterator(text.begin(), text.end(), uid);
             match != std::sregex_iterator(); ++match) {
            uids.insert((*match)[1]);
            ++events;
        }
        EXPECT_NE(text.find("UID:date-20000101-" + options.ExportId + "@velmar-editor\r\n"),
                  std::string::npos);
        std::size_t stamps = 0;
        for (std::size_t at = text.find("DTSTAMP:20260101T000000Z\r\n"); at != std::string::npos;
             at = text.find("DTSTAMP:20260101T000000Z\r\n", at + 1)) {
            ++stamps;
        }
        EXPECT_EQ(stamps, 2U);
    }
    EXPECT_EQ(events, 4U);
    EXPECT_EQ(uids.size(), 4U) << "the same dates of another export have other UIDs";
}

// A schedule editor on a recording picture box, laid out, after a script.
struct ScheduleFixture {
    SchedulePtr Schedule = std::make_shared<cTimeSchedule>();
    RecordingSurface Picture{324, 179};
    FakeImageList Images;
    ScheduleEditor Editor{Schedule, Picture, Images};

    explicit ScheduleFixture(const std::string& script) {
        Editor.Layout();
        std::istringstream in(script);
        for (const auto& command : ParseEventScript(in, "script", ScheduleEditor::ScriptVerbs())) {
            Editor.Run(command);
        }
    }
};

TEST(ICalendarExport, AWeeklyScheduleBecomesWeeklyEventsInItsTimeZone) {
    ScheduleFixture f("default\ndown 150 160 2\nfill\n"); // Sunday 00:00 to 24:00
    f.Schedule->SetActive(4, 0);                          // Friday not in use
    const std::string name(80, 'x');
    const std::string floating = ScheduleToICalendar(*f.Schedule, "Åsa " + name, Options());
    const std::string unfolded = CheckedAndUnfolded(floating);
    std::size_t events = 0;
    for (std::size_t at = floating.find("BEGIN:VEVENT"); at != std::string::npos;
         at = floating.find("BEGIN:VEVENT", at + 1)) {
        ++events;
    }
    EXPECT_EQ(events, 5U);
    EXPECT_NE(
        unfolded.find("DTSTART:20240101T070000\nDTEND:20240101T160000\nRRULE:FREQ=WEEKLY\nSUMMARY:Åsa " +
                      name + "\n"),
        std::string::npos)
        << unfolded;
    EXPECT_NE(unfolded.find("DTSTART:20240104T070000\n"), std::string::npos) << "Thursday";
    EXPECT_NE(unfolded.find("DTSTART:20240107T000000\nDTEND:20240108T000000\n"), std::string::npos)
        << "24:00 is midnight of the next day";
    EXPECT_EQ(unfolded.find("VTIMEZONE"), std::string::npos);

    const std::string zoned =
        CheckedAndUnfolded(ScheduleToICalendar(*f.Schedule, "p", Options("Europe/Stockholm")));
    EXPECT_NE(zoned.find("DTSTART;TZID=Europe/Stockholm:20240101T070000\nDTEND;TZID=Europe/Stockholm:"
                         "20240101T160000\n"),
              std::string::npos)
        << zoned;
    EXPECT_NE(zoned.find("BEGIN:VTIMEZONE\nTZID:Europe/Stockholm\n"), std::string::npos);
    EXPECT_NE(zoned.find("TZOFFSETTO:+0200"), std::string::npos);

    const std::string utc = CheckedAndUnfolded(ScheduleToICalendar(*f.Schedule, "p", Options("UTC")));
    EXPECT_NE(utc.find("DTSTART:20240101T070000Z\nDTEND:20240101T160000Z\n"), std::string::npos) << utc;
    EXPECT_EQ(ScheduleToICalendar(*f.Schedule, "p", Options("Nowhere/Atlantis")),
              ScheduleToICalendar(*f.Schedule, "p", Options()))
        << "an unknown zone gives floating times";
}

TEST(ICalendarExport, TextsLoseControlCharactersAndAreFoldedBetweenCharactersInBoundedTime) {
    struct Case {
        const char* Name;
        std::string Summary;
        std::string Written; // what libical reads back
    };
    std::string euros;
    for (int i = 0; i < 60; ++i) {
        euros += "€";
    }
    std::string replaced;
    for (int i = 0; i < 100; ++i) {
        replaced += "\xEF\xBF\xBD";
    }
    const std::vector<Case> cases = {
        {"74 continuation bytes", "a" + std::string(74, '\x80'),
         "a" + replaced.substr(0, std::size_t{74} * 3)},
        {"100 continuation bytes", std::string(100, '\xBF'), replaced},
        {"three-byte characters", euros, euros},
        {"control characters", "Jul\x01\x1B[31m\x7F\tafton\r\nrad två\x00!"s, "Jul[31mafton\nrad två!"},
        {"a cut character and an overlong form", "x\xC3 \xC0\xAF", "x\xEF\xBF\xBD \xEF\xBF\xBD\xEF\xBF\xBD"},
    };
    for (const Case& c : cases) {
        cCalendar calendar;
        calendar.SetDayType(5, 1);
        const std::string text = CalendarToICalendar(calendar, {c.Summary}, Options());
        CheckedAndUnfolded(text);
        icalcomponent* parsed = icalparser_parse_string(text.c_str());
        ASSERT_NE(parsed, nullptr) << c.Name;
        icalcomponent* event = icalcomponent_get_first_component(parsed, ICAL_VEVENT_COMPONENT);
        ASSERT_NE(event, nullptr) << c.Name;
        EXPECT_EQ(icalcomponent_get_summary(event), c.Written) << c.Name;
        icalcomponent_free(parsed);
    }
}

} // namespace
} // namespace velmar::test
