// velmar-profiles render-calendar: one month of a calendar file drawn by the
// calendar host into a PNG, optionally after replaying an event script.

#include "tools/velmar-profiles/Commands.h"

#include <ostream>
#include <string_view>

#ifdef VELMAR_WITH_QT
#include "common/Errors.h"
#include "common/Numeric.h"
#include "common/SharedTables.h"
#include "editor_host/CalendarEditor.h"
#include "editor_host/EventScript.h"
#include "editor_host/SharedTablesScope.h"
#include "platform/BinaryFile.h"
#include "platform/DateServices.h"
#include "platform/FileReplace.h"
#include "platform/qt/QtDateServices.h"
#include "platform/qt/QtImageSurface.h"
#include "profiles/ProfileFile.h"
#include "tools/velmar-profiles/QtPictures.h"
#include "tools/velmar-profiles/Replay.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>
#endif

namespace velmar::tool {

namespace {

constexpr std::string_view kHelp =
    R"(Usage: velmar-profiles render-calendar CALENDAR_FILE --month YYYY-MM --out FILE.png [options]

Draws one month of a calendar file with the calendar's month view into a PNG,
in the calendar editor's host: its day-type combo box lists "0" to "23" as
entries 1 to 24 (entry k is code k - 1), its image list holds 16 distinct
images, and the day-type names of codes 1 to 7 are Mon to Sun. Month names and
week numbers follow the system's locale (LANG, LC_ALL).

Options:
  --month YYYY-MM            the month to draw, 2000-01 to 2039-12 (required)
  --out FILE.png             where to write the picture (required); written in
                             full or not at all
  --today YYYY-MM-DD         the date drawn as today (default: the system's date)
  --schedule PROFILE_FILE    show the periods of this profile's time schedule
  --time-axis                draw the time axis in every date box
  --holiday YYYY-MM-DD=LABEL        a holiday with a label shown in calendars
  --hidden-holiday YYYY-MM-DD=LABEL a holiday whose label is not shown in calendars
                             (labels keep the order given; a date's first
                             label is the one the pointer tip names)
  --events SCRIPT            replay an event script (below)
  --scale FACTOR             draw at FACTOR image pixels per picture pixel (1 to
                             8, default 1), texts at the scaled size, as the
                             editor draws the month on a screen of that device
                             pixel ratio; the script's pixels stay the month's own
  --save CALENDAR_FILE       write the calendar, with the painted codes, to a
                             file: whole or not at all, keeping a longer file's
                             tail and the previous file as CALENDAR_FILE~

A script has one command a line; "#" starts a comment, blank lines are skipped:
  select ENTRY        select combo entry ENTRY (code ENTRY - 1); 0 selects nothing
  down X Y [BUTTON]   mouse press at pixel (X, Y): paints the selected code
  move X Y            mouse move; prints "tooltip: TEXT"
  up X Y              mouse release
  paint               paint the whole month again

Prints "caption: TEXT" for every caption the view hands to the host.
Exit status 0 when the picture was written; 1 when a file is missing or
unreadable or cannot be written, or a script command fails; 2 for a usage
error or a malformed script line ("SCRIPT:LINE: message").
)";

} // namespace

const CommandSyntax& RenderCalendarSyntax() {
    static const CommandSyntax syntax{
        .Name = "render-calendar",
        .Synopsis = "render-calendar CALENDAR_FILE --month YYYY-MM --out FILE.png [options]",
        .Summary = "Draw one month of a calendar file into a PNG.",
        .Help = kHelp,
        .Options = {{.Name = "--month", .Value = "YYYY-MM", .Required = true},
                    {.Name = "--out", .Value = "FILE.png", .Required = true},
                    {.Name = "--today", .Value = "YYYY-MM-DD"},
                    {.Name = "--schedule", .Value = "PROFILE_FILE"},
                    {.Name = "--time-axis"},
                    {.Name = "--holiday", .Value = "YYYY-MM-DD=LABEL", .Repeatable = true},
                    {.Name = "--hidden-holiday", .Value = "YYYY-MM-DD=LABEL", .Repeatable = true},
                    {.Name = "--events", .Value = "SCRIPT"},
                    {.Name = "--scale", .Value = "FACTOR"},
                    {.Name = "--save", .Value = "CALENDAR_FILE"}},
        .Operands = "calendar file",
        .MinOperands = 1,
        .MaxOperands = 1,
    };
    return syntax;
}

#ifdef VELMAR_WITH_QT

namespace {

constexpr int kPictureWidth = month::kViewWidth;
constexpr int kPictureHeight = month::kViewHeight;
constexpr Colour kButtonFace = Rgb(240, 240, 240);

bool AllDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// "YYYY-MM-DD" of a real date.
std::optional<CivilDate> ParseDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-' || !AllDigits(text.substr(0, 4)) ||
        !AllDigits(text.substr(5, 2)) || !AllDigits(text.substr(8, 2))) {
        return std::nullopt;
    }
    const CivilDate date{std::stoi(std::string(text.substr(0, 4))), std::stoi(std::string(text.substr(5, 2))),
                         std::stoi(std::string(text.substr(8, 2)))};
    if (date.Month < 1 || date.Month > 12 || date.Day < 1 || DateOfDayOffset(DayOffsetOf(date)) != date) {
        return std::nullopt;
    }
    return date;
}

// The day offset of a date within the calendar's years.
std::int32_t CalendarDay(const CivilDate& date, const std::string& option) {
    const std::int64_t offset = DayOffsetOf(date);
    if (offset < 0 || offset >= kCalendarDays) {
        throw UsageError(option + " needs a date from 2000-01-01 to 2039-12-31");
    }
    return static_cast<std::int32_t>(offset);
}

CivilDate ParseMonth(const std::string& text) {
    if (text.size() != 7 || text[4] != '-' || !AllDigits(text.substr(0, 4)) ||
        !AllDigits(text.substr(5, 2))) {
        throw UsageError("--month needs YYYY-MM");
    }
    const CivilDate month{std::stoi(text.substr(0, 4)), std::stoi(text.substr(5, 2)), 1};
    if (month.Month < 1 || month.Month > 12 || month.Year < 2000 || month.Year > 2039) {
        throw UsageError("--month needs a month from 2000-01 to 2039-12");
    }
    return month;
}

struct Holiday {
    std::int32_t Day = 0;
    std::string Label;
    bool Shown = true;
};

// The holidays in the order of the command line, shown and hidden ones
// together: the labels are an ordered collection, and the first label of a
// date is the one the pointer tip names.
std::vector<Holiday> ParseHolidays(const ParsedArguments& args) {
    std::vector<Holiday> holidays;
    for (const auto& [option, text] : args.ValuesInOrder({"--holiday", "--hidden-holiday"})) {
        const auto date = ParseDate(std::string_view(text).substr(0, 10));
        if (text.size() < 11 || text[10] != '=' || !date) {
            throw UsageError(option + " needs YYYY-MM-DD=LABEL");
        }
        holidays.push_back({CalendarDay(*date, option), text.substr(11), option == "--holiday"});
    }
    return holidays;
}

} // namespace

int CommandRenderCalendar(const ParsedArguments& args, std::ostream& out, std::ostream& err) {
    const CivilDate month = ParseMonth(*args.Value("--month"));
    std::optional<QDate> today;
    if (const auto text = args.Value("--today")) {
        const auto date = ParseDate(*text);
        if (!date) {
            throw UsageError("--today needs a date YYYY-MM-DD");
        }
        today = QDate(static_cast<int>(date->Year), date->Month, date->Day);
    }
    const std::vector<Holiday> holidays = ParseHolidays(args);
    const double scale = PictureScale(args);
    // A read-only file to save to is refused before anything is drawn or
    // written.
    if (const auto save = args.Value("--save"); save && IsReadOnlyFile(*save)) {
        throw ReadOnlyFileError(*save);
    }
    const auto events = args.Value("--events");
    const std::vector<ScriptCommand> script = ReadScriptOption<CalendarEditor>(events);

    EnsureGuiApplication();
    SharedTablesScope tables;
    SharedTablesScope::NameDayTypes();
    for (const Holiday& holiday : holidays) {
        SharedTablesScope::AddHoliday(holiday.Day, holiday.Label, holiday.Shown);
    }

    QtImageSurface picture(kPictureWidth, kPictureHeight, kButtonFace);
    picture.SetScale(scale);
    QtImageList images(picture, CalendarImages());
    CalendarEditor editor(picture, images);
    const std::string& calendarFile = args.Operands().front();
    // A file that is there but no regular file is named with the reason.
    BinaryFile(calendarFile, BinaryFile::Mode::Read).Close();
    if (!editor.Open(calendarFile)) {
        throw FileError("no calendar file " + calendarFile);
    }
    cCalendar& calendar = editor.Calendar();
    if (const auto profile = args.Value("--schedule")) {
        calendar.m_AssociatedTimeSchedule = ReadProfileFile(*profile).Schedule;
    }
    calendar.m_ShowTimeAxis = ToTruth(args.Has("--time-axis"));
    calendar.SetDateServices(std::make_shared<QtDateServices>(QLocale(), today));
    editor.Host().OnChanged = [&](CalendarHostMember member) {
        if (member == CalendarHostMember::Text_Calendar_Month) {
            out << "caption: " << editor.Host().Controls().MonthText << '\n';
        }
    };

    editor.ShowMonth(static_cast<std::int32_t>(month.Year), month.Month);
    const bool replayed = Replay(editor, script, events.value_or(""), err, [&](const ScriptCommand& command) {
        if (command.Verb == "move") {
            out << "tooltip: " << picture.ToolTipText() << '\n';
        }
    });
    if (!replayed) {
        return 1;
    }
    picture.SavePng(*args.Value("--out"));
    if (const auto save = args.Value("--save")) {
        editor.Save(*save);
    }
    return 0;
}

#else // without Qt there is no image surface to draw on

int CommandRenderCalendar(const ParsedArguments& /*args*/, std::ostream& /*out*/, std::ostream& err) {
    err << "velmar-profiles: render-calendar: this build has no PNG renderer (built without Qt)\n";
    return 1;
}

#endif

} // namespace velmar::tool
