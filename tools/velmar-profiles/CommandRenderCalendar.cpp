#include "tools/velmar-profiles/Commands.h"

#include <ostream>

#ifdef VELMAR_WITH_QT

#include "calendar/Calendar.h"
#include "common/Errors.h"
#include "common/FileSystem.h"
#include "common/HostWindow.h"
#include "common/Numeric.h"
#include "common/SharedTables.h"
#include "platform/BinaryFile.h"
#include "platform/qt/QtDateServices.h"
#include "platform/qt/QtImageSurface.h"
#include "profiles/Profiles.h"

#include <QGuiApplication>
#include <QImage>
#include <array>
#include <cmath>
#include <cstdio>
#include <exception>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace velmar::tool {
namespace {

constexpr std::string_view kHelp =
    R"(Usage: velmar-profiles render-calendar CALENDAR_FILE --month YYYY-MM --out FILE.png [options]

Draws one month of a calendar file with the calendar's month view into a PNG,
in a built-in host window: its day-type combo box lists "0" to "23" as entries
1 to 24 (entry k is code k - 1), its image list holds 16 distinct images, and
the day-type names of codes 1 to 7 are Mon to Sun. Month names and week
numbers follow the system's locale (LANG, LC_ALL).

Options:
  --month YYYY-MM            the month to draw, 2000-01 to 2039-12 (required)
  --out FILE.png             where to write the picture (required)
  --today YYYY-MM-DD         the date drawn as today (default: the system's date)
  --schedule PROFILE_FILE    show the periods of this profile's time schedule
  --time-axis                draw the time axis in every date box
  --holiday YYYY-MM-DD=LABEL        a holiday with a label shown in calendars
  --hidden-holiday YYYY-MM-DD=LABEL a holiday whose label is not shown in calendars
  --events SCRIPT            replay mouse events, one per line:
                               down X Y [BUTTON] [ENTRY]  press; ENTRY is the combo
                                                          entry selected before it
                                                          (none when omitted), BUTTON 1
                               move X Y                   prints "tooltip: TEXT"
                               up X Y
                               paint                      paint the whole month again
                             blank lines and lines starting with # are skipped
  --save CALENDAR_FILE       write the calendar, with the painted codes, to a file

Prints "caption: TEXT" for every caption the view hands to the host.
Exit status 0 when the picture was written, 1 when a file is missing or
unreadable or cannot be written, or the script fails, 2 for a usage error.
)";

constexpr int kImageWidth = 320;
constexpr int kImageHeight = 180;
constexpr Colour kButtonFace = Rgb(240, 240, 240);
constexpr int kImageListSize = 16;

// A usage error: message for standard error, exit status 2.
struct UsageError {
    std::string Message;
};

struct HolidayOption {
    std::int32_t Day = 0;
    std::string Label;
    bool Shown = true;
};

struct Options {
    std::string CalendarFile;
    int Year = 0;
    int Month = 0;
    std::string Out;
    std::optional<CivilDate> Today;
    std::optional<std::string> Schedule;
    bool TimeAxis = false;
    std::vector<HolidayOption> Holidays;
    std::optional<std::string> Events;
    std::optional<std::string> Save;
};

bool AllDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// "YYYY-MM-DD" of a real date within the calendar's years 2000 to 2039.
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

std::int32_t CalendarDay(const CivilDate& date, const std::string& option) {
    const std::int64_t offset = DayOffsetOf(date);
    if (offset < 0 || offset >= kCalendarDays) {
        throw UsageError{option + " needs a date from 2000-01-01 to 2039-12-31"};
    }
    return static_cast<std::int32_t>(offset);
}

Options ParseOptions(const Arguments& args) {
    Options options;
    bool haveFile = false;
    bool haveMonth = false;
    auto value = [&](std::size_t& i) -> const std::string& {
        if (i + 1 >= args.size()) {
            throw UsageError{args[i] + " needs a value"};
        }
        return args[++i];
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--month") {
            const std::string& text = value(i);
            if (text.size() != 7 || text[4] != '-' || !AllDigits(text.substr(0, 4)) ||
                !AllDigits(text.substr(5, 2))) {
                throw UsageError{"--month needs YYYY-MM"};
            }
            options.Year = std::stoi(text.substr(0, 4));
            options.Month = std::stoi(text.substr(5, 2));
            if (options.Month < 1 || options.Month > 12 || options.Year < 2000 || options.Year > 2039) {
                throw UsageError{"--month needs a month from 2000-01 to 2039-12"};
            }
            haveMonth = true;
        } else if (arg == "--out") {
            options.Out = value(i);
        } else if (arg == "--today") {
            options.Today = ParseDate(value(i));
            if (!options.Today) {
                throw UsageError{"--today needs a date YYYY-MM-DD"};
            }
        } else if (arg == "--schedule") {
            options.Schedule = value(i);
        } else if (arg == "--time-axis") {
            options.TimeAxis = true;
        } else if (arg == "--holiday" || arg == "--hidden-holiday") {
            const std::string& text = value(i);
            const auto date = ParseDate(std::string_view(text).substr(0, 10));
            if (text.size() < 11 || text[10] != '=' || !date) {
                throw UsageError{arg + " needs YYYY-MM-DD=LABEL"};
            }
            options.Holidays.push_back({CalendarDay(*date, arg), text.substr(11), arg == "--holiday"});
        } else if (arg == "--events") {
            options.Events = value(i);
        } else if (arg == "--save") {
            options.Save = value(i);
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            throw UsageError{"unknown option \"" + arg + "\""};
        } else if (!haveFile) {
            options.CalendarFile = arg;
            haveFile = true;
        } else {
            throw UsageError{"more than one calendar file given"};
        }
    }
    if (!haveFile) {
        throw UsageError{"no calendar file given"};
    }
    if (!haveMonth) {
        throw UsageError{"--month is required"};
    }
    if (options.Out.empty()) {
        throw UsageError{"--out is required"};
    }
    return options;
}

// Text drawing on a QImage needs the application object of Qt's GUI module.
// A tool run has none, so one is made, headless unless a platform was chosen,
// and kept for the rest of the process.
QtMessageHandler PreviousMessageHandler = nullptr;

// The headless platform warns on standard error when XDG_RUNTIME_DIR is not
// set, as in most command-line and CI runs; that is no concern for drawing a
// PNG and would spoil the tool's one-line errors. Other messages pass on.
void DropRuntimeFolderNotice(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"))) {
        return;
    }
    if (PreviousMessageHandler != nullptr) {
        PreviousMessageHandler(type, context, message);
    } else {
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    }
}

void EnsureGuiApplication() {
    if (QGuiApplication::instance() != nullptr) {
        return;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    PreviousMessageHandler = qInstallMessageHandler(DropRuntimeFolderNotice);
    static int argc = 1;
    static std::array<char, 16> name{"velmar-profiles"};
    static std::array<char*, 2> argv{name.data(), nullptr};
    static auto* application = new QGuiApplication(argc, argv.data());
    (void)application;
}

// The image list: 16 images of 8 by 8 pixels, each a square of its own colour
// in a dark frame, with a light mark whose position tells the number.
std::array<QImage, kImageListSize> MakeImageList() {
    static constexpr std::array<Colour, kImageListSize> kColours{
        Rgb(230, 25, 75),  Rgb(60, 180, 75),   Rgb(255, 190, 0),  Rgb(0, 130, 200),
        Rgb(245, 130, 48), Rgb(145, 30, 180),  Rgb(70, 200, 220), Rgb(240, 50, 230),
        Rgb(160, 200, 40), Rgb(250, 150, 170), Rgb(0, 128, 128),  Rgb(170, 110, 40),
        Rgb(128, 0, 0),    Rgb(100, 100, 255), Rgb(128, 128, 0),  Rgb(0, 0, 128),
    };
    std::array<QImage, kImageListSize> images;
    for (int n = 0; n < kImageListSize; ++n) {
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(ToQColor(kColours[static_cast<std::size_t>(n)]));
        const QRgb frame = qRgb(40, 40, 40);
        for (int i = 0; i < 8; ++i) {
            image.setPixel(i, 0, frame);
            image.setPixel(i, 7, frame);
            image.setPixel(0, i, frame);
            image.setPixel(7, i, frame);
        }
        image.setPixel(1 + n % 6, 1 + n / 6 * 2, qRgb(255, 255, 255));
        images[static_cast<std::size_t>(n)] = image;
    }
    return images;
}

// The built-in host window of the month view.
class CalendarToolHost : public HostWindow {
public:
    CalendarToolHost(QtImageSurface& surface, std::ostream& out) : m_Images(MakeImageList()) {
        Answer("Set_Text_Calendar_Month", [&out](Arguments args) {
            out << "caption: " << HostText(args.empty() ? HostValue{} : args[0]) << '\n';
            return HostValue{};
        });
        Answer("Draw_ImageList_ListImages", [this, &surface](Arguments args) {
            if (args.size() < 4) {
                throw InvalidArgumentError(
                    "Draw_ImageList_ListImages needs an image, a device context, x and y");
            }
            const std::int32_t index = HostInt32(args[0]);
            if (index < 1 || index > kImageListSize) {
                throw OutOfRangeError("image " + std::to_string(index) + " outside 1..16");
            }
            if (HostInt32(args[1]) != surface.hDC()) {
                throw InvalidArgumentError("unknown device context");
            }
            surface.DrawImage(m_Images[static_cast<std::size_t>(index - 1)], HostInt32(args[2]),
                              HostInt32(args[3]));
            return HostValue{};
        });
        Answer("Get_Combo_Calendar_DayType_SelectedItem", [this](Arguments) {
            return m_SelectedEntry > 0 ? HostValue{EntryText(m_SelectedEntry)} : HostValue{};
        });
        Answer("Get_Combo_Calendar_DayType_SelectedItem_Index",
               [this](Arguments) { return HostValue{m_SelectedEntry}; });
        Answer("Get_Combo_Calendar_DayType_ComboItems", [](Arguments args) {
            return HostValue{EntryText(HostInt16(args.empty() ? HostValue{} : args[0]))};
        });
    }

    // Selects combo entry 1..24, or nothing with 0.
    void Select(std::int16_t entry) { m_SelectedEntry = entry; }

private:
    // Entry k (1..24) reads "k - 1".
    static std::string EntryText(std::int16_t entry) {
        if (entry < 1 || entry > 24) {
            throw OutOfRangeError("combo entry " + std::to_string(entry) + " outside 1..24");
        }
        return std::to_string(entry - 1);
    }

    std::array<QImage, kImageListSize> m_Images;
    std::int16_t m_SelectedEntry = 0;
};

SchedulePtr ReadProfileSchedule(const std::string& path) {
    if (!FileExists(path)) {
        throw FileError("no profile file " + path);
    }
    BinaryFile file(path, BinaryFile::Mode::Read);
    if (file.Size() < 2) {
        throw FileError(path + " is not a profile file: shorter than 2 bytes");
    }
    const std::int16_t version = file.ReadInt16();
    if (version != kProfileFormatVersion) {
        throw FileError(path + " is not a profile file of format version 4 (version " +
                        std::to_string(version) + ")");
    }
    ProfileRecord record;
    ReadProfileRecord(file, record);
    auto schedule = std::make_shared<cTimeSchedule>();
    schedule->ReadFromDisk(file);
    file.Close();
    return schedule;
}

float ParseCoordinate(const std::string& text, const std::string& where) {
    std::size_t used = 0;
    float value = 0;
    try {
        value = std::stof(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text.size() || !std::isfinite(value)) {
        throw InvalidArgumentError(where + ": \"" + text + "\" is not a number");
    }
    return value;
}

std::int16_t ParseInt16(const std::string& text, const std::string& where) {
    std::size_t used = 0;
    long value = 0;
    try {
        value = std::stol(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text.size() || value < -32768 || value > 32767) {
        throw InvalidArgumentError(where + ": \"" + text + "\" is not a 16-bit number");
    }
    return static_cast<std::int16_t>(value);
}

void ReplayEvents(const std::string& path, cCalendar& calendar, CalendarToolHost& host,
                  QtImageSurface& surface, std::ostream& out) {
    std::ifstream in(path, std::ios::binary);
    if (!FileExists(path) || !in) {
        throw FileError("cannot read the event script " + path);
    }
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        std::istringstream words(line);
        std::vector<std::string> parts;
        for (std::string word; words >> word;) {
            parts.push_back(word);
        }
        if (parts.empty() || parts[0][0] == '#') {
            continue;
        }
        const std::string where = path + " line " + std::to_string(number);
        const std::string& verb = parts[0];
        if (verb == "paint" && parts.size() == 1) {
            calendar.Paint(host, &surface);
        } else if ((verb == "move" || verb == "up") && parts.size() == 3) {
            const float x = ParseCoordinate(parts[1], where);
            const float y = ParseCoordinate(parts[2], where);
            if (verb == "move") {
                calendar.MouseMove(host, &surface, 0, 0, x, y);
                out << "tooltip: " << surface.ToolTipText() << '\n';
            } else {
                calendar.MouseUp(1, 0, x, y);
            }
        } else if (verb == "down" && parts.size() >= 3 && parts.size() <= 5) {
            const float x = ParseCoordinate(parts[1], where);
            const float y = ParseCoordinate(parts[2], where);
            const std::int16_t button = parts.size() >= 4 ? ParseInt16(parts[3], where) : std::int16_t{1};
            host.Select(parts.size() == 5 ? ParseInt16(parts[4], where) : std::int16_t{0});
            calendar.MouseDown(host, &surface, button, 0, x, y);
        } else {
            throw InvalidArgumentError(where + ": expected \"down X Y [BUTTON] [ENTRY]\", \"move X Y\", "
                                               "\"up X Y\" or \"paint\"");
        }
    }
}

} // namespace

int CommandRenderCalendar(const Arguments& args, std::ostream& out, std::ostream& err) {
    for (const auto& arg : args) {
        if (arg == "--help" || arg == "-h") {
            out << kHelp;
            return 0;
        }
    }
    Options options;
    try {
        options = ParseOptions(args);
    } catch (const UsageError& error) {
        err << "velmar-profiles: render-calendar: " << error.Message << " (see --help)\n";
        return 2;
    }

    // The shared tables belong to the host: this one shows weekday names and
    // the holidays of the command line, and puts everything back afterwards.
    struct SharedTablesGuard {
        SharedTablesGuard() { Reset(); }
        ~SharedTablesGuard() { Reset(); }
        static void Reset() {
            HolidayFlags.fill(0);
            HolidayLabels.Clear();
            DayTypeNames.fill("");
        }
    } guard;

    try {
        cCalendar calendar;
        if (calendar.ReadFromDisk(options.CalendarFile) == 0) {
            throw FileError("no calendar file " + options.CalendarFile);
        }

        constexpr std::array<const char*, 7> kNames{"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
        for (std::size_t i = 0; i < kNames.size(); ++i) {
            DayTypeNames[static_cast<long long>(i)] = kNames[i];
        }
        for (const HolidayOption& holiday : options.Holidays) {
            HolidayFlags[holiday.Day] = -1;
            auto label = std::make_shared<cHolidayLabel>();
            label->m_Day = static_cast<std::int16_t>(holiday.Day);
            label->m_ViewInCalendar = holiday.Shown ? -1 : 0;
            label->m_Label = holiday.Label;
            HolidayLabels.Add(label);
        }
        if (options.Schedule) {
            calendar.m_AssociatedTimeSchedule = ReadProfileSchedule(*options.Schedule);
        }
        calendar.m_ShowTimeAxis = options.TimeAxis ? -1 : 0;

        EnsureGuiApplication();
        std::optional<QDate> today;
        if (options.Today) {
            today = QDate(static_cast<int>(options.Today->Year), options.Today->Month, options.Today->Day);
        }
        calendar.SetDateServices(std::make_shared<QtDateServices>(QLocale(), today));

        QtImageSurface surface(kImageWidth, kImageHeight, kButtonFace);
        CalendarToolHost host(surface, out);
        calendar.m_SelectedYear = options.Year;
        calendar.m_SelectedMonth = options.Month;
        calendar.RecalculateAndPrepareToPaint(host, &surface);
        calendar.Paint(host, &surface);
        if (options.Events) {
            ReplayEvents(*options.Events, calendar, host, surface, out);
        }
        surface.SavePng(options.Out);
        if (options.Save) {
            calendar.SaveToDisk(*options.Save);
        }
    } catch (const std::exception& error) {
        err << "velmar-profiles: render-calendar: " << error.what() << '\n';
        return 1;
    }
    return 0;
}

} // namespace velmar::tool

#else // without Qt there is no image surface to draw on

namespace velmar::tool {

int CommandRenderCalendar(const Arguments& /*args*/, std::ostream& /*out*/, std::ostream& err) {
    err << "velmar-profiles: render-calendar: this build has no Qt, which draws the PNG\n";
    return 1;
}

} // namespace velmar::tool

#endif
