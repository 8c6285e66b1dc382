// velmar-profiles render-schedule: the schedule editor's grid for the schedule
// of a profile file, drawn by a built-in headless host into a PNG, optionally
// after replaying a script of mouse events and menu commands.

#include "tools/velmar-profiles/Commands.h"

#include <ostream>

#ifdef VELMAR_WITH_QT

#include "common/CommonProcedures.h"
#include "common/Errors.h"
#include "common/HostWindow.h"
#include "common/Numeric.h"
#include "common/SharedTables.h"
#include "platform/BinaryFile.h"
#include "platform/qt/QtImageSurface.h"
#include "profiles/Profiles.h"
#include "schedule/TimeSchedule.h"
#include "schedule_view/TimeScheduleView.h"
#include "tools/velmar-profiles/ScheduleText.h"

#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <fstream>
#include <istream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmar::tool {
namespace {

constexpr std::string_view kHelp =
    R"(Usage: velmar-profiles render-schedule PROFILE_FILE --out FILE.png [--events SCRIPT] [--calendar]

Loads the time schedule of a profile file into a built-in host window (a frame
of 340 x 200 pixels, a scroll bar 16 pixels wide, 16 images of 14 x 14 pixels
for day types 7 to 22, the view-day-type check box off), runs the layout pass
and paints the grid on a white surface of the size the layout asks for. With
--events the script is replayed; the surface is then saved as PNG, and the
resulting schedule is printed as "velmar-profiles show" prints it, followed by
the host's last texts and menu states as "name = value" lines.

  --calendar   use the schedule with a calendar (one row per day type in use)

A script has one command a line; "#" starts a comment, blank lines are skipped:
  down X Y [BUTTON]   mouse press at pixel (X, Y); BUTTON 1 left (default), 2 right
  move X Y            mouse move
  up X Y              mouse release
  times START STOP    type the two times into the host's boxes and apply them
                      (texts with spaces in double quotes, "" for empty)
  delete | fill | group | group-mon-fri | copy | paste | default | paint | layout
                      the popup menu's commands, SetTimeFrom00to24 (fill),
                      SetDefaultPeriod (default), a full repaint, the layout pass

Exit status 0 when the PNG was written; 2 for wrong arguments or a malformed
script line (its line number on standard error); 1 for a profile file that
cannot be read or a PNG that cannot be written.
)";

constexpr int kFrameWidth = 340;
constexpr int kFrameHeight = 200;
constexpr int kScrollBarWidth = 16;
constexpr int kImageSize = 14;
constexpr int kImageCount = 16;

// ---------------------------------------------------------------- the script

struct ScriptCommand {
    int Line = 0;
    std::string Name;
    float X = 0;
    float Y = 0;
    std::int16_t Button = 1;
    std::string Start;
    std::string Stop;
};

struct ScriptError {
    int Line;
    std::string Message;
};

// Splits a line into words; a word in double quotes may hold spaces or be empty.
std::optional<std::vector<std::string>> Words(std::string_view line) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r') {
            ++i;
            continue;
        }
        if (line[i] == '"') {
            const std::size_t end = line.find('"', i + 1);
            if (end == std::string_view::npos) {
                return std::nullopt;
            }
            words.emplace_back(line.substr(i + 1, end - i - 1));
            i = end + 1;
            continue;
        }
        std::size_t end = i;
        while (end < line.size() && line[end] != ' ' && line[end] != '\t' && line[end] != '\r') {
            ++end;
        }
        words.emplace_back(line.substr(i, end - i));
        i = end;
    }
    return words;
}

bool ParseCoordinate(const std::string& text, float& value) {
    double parsed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    // Far beyond any surface is still a position; only finite numbers are.
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(parsed) ||
        std::fabs(parsed) > 1e6) {
        return false;
    }
    value = static_cast<float>(parsed);
    return true;
}

bool ParseButton(const std::string& text, std::int16_t& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

// Reads the whole script before anything runs, so a malformed line leaves no
// half-edited picture behind.
std::vector<ScriptCommand> ParseScript(std::istream& in) {
    static const std::vector<std::string_view> kPlain = {
        "delete", "fill", "group", "group-mon-fri", "copy", "paste", "default", "paint", "layout"};
    std::vector<ScriptCommand> commands;
    std::string text;
    int lineNumber = 0;
    while (std::getline(in, text)) {
        ++lineNumber;
        const std::size_t hash = text.find('#');
        const std::string_view line = std::string_view(text).substr(0, hash);
        const auto words = Words(line);
        if (!words) {
            throw ScriptError{lineNumber, "a text in double quotes is not closed"};
        }
        if (words->empty()) {
            continue;
        }
        ScriptCommand command;
        command.Line = lineNumber;
        command.Name = words->front();
        const std::size_t arguments = words->size() - 1;
        const auto& w = *words;
        if (command.Name == "down" || command.Name == "move" || command.Name == "up") {
            const std::size_t most = command.Name == "down" ? 3 : 2;
            if (arguments < 2 || arguments > most) {
                throw ScriptError{lineNumber,
                                  command.Name + (most == 3 ? " takes X Y [BUTTON]" : " takes X Y")};
            }
            if (!ParseCoordinate(w[1], command.X) || !ParseCoordinate(w[2], command.Y)) {
                throw ScriptError{lineNumber, "X and Y must be numbers of pixels"};
            }
            if (arguments == 3 && !ParseButton(w[3], command.Button)) {
                throw ScriptError{lineNumber, "BUTTON must be a whole number (1 left, 2 right)"};
            }
        } else if (command.Name == "times") {
            if (arguments != 2) {
                throw ScriptError{lineNumber, "times takes START STOP"};
            }
            command.Start = w[1];
            command.Stop = w[2];
        } else if (std::find(kPlain.begin(), kPlain.end(), command.Name) != kPlain.end()) {
            if (arguments != 0) {
                throw ScriptError{lineNumber, command.Name + " takes no arguments"};
            }
        } else {
            throw ScriptError{lineNumber, "unknown command \"" + command.Name + "\""};
        }
        commands.push_back(std::move(command));
    }
    return commands;
}

// ------------------------------------------------------------- the host

// Image k (1..16) of the host's image list: a square in a colour of its own
// with a darker frame, so that every further day type's row is told apart.
QImage DayTypeImage(int index) {
    QImage image(kImageSize, kImageSize, QImage::Format_RGB32);
    const QColor fill = QColor::fromHsv((index - 1) * 360 / kImageCount, 200, 230);
    image.fill(fill);
    QPainter painter(&image);
    painter.setPen(fill.darker(170));
    painter.drawRect(0, 0, kImageSize - 1, kImageSize - 1);
    // The index in binary as four dots along the bottom, for a second cue.
    for (int bit = 0; bit < 4; ++bit) {
        if (((index - 1) >> bit) & 1) {
            painter.drawPoint(3 + 2 * (3 - bit), kImageSize - 4);
        }
    }
    return image;
}

// A window that hosts the schedule editor without a screen. "Set_" names store
// their value under the member's name ("Text_Schedule_Time"); "Get_" names
// return the stored value or the frame's fixed geometry; the drawing surface
// follows the size the layout pass gives it.
class HeadlessScheduleHost : public HostWindow {
public:
    explicit HeadlessScheduleHost(QtImageSurface& surface) : m_Surface(surface) {
        for (int k = 1; k <= kImageCount; ++k) {
            m_Images.push_back(DayTypeImage(k));
        }
        m_Values["Picture_TimeSchedule_Frame_ScaleWidth"] = std::int16_t{kFrameWidth};
        m_Values["Picture_TimeSchedule_Frame_ScaleHeight"] = std::int16_t{kFrameHeight};
        m_Values["VScroll_Schedule_Width"] = std::int16_t{kScrollBarWidth};
        m_Values["VScroll_Schedule_Left"] = std::int16_t{kFrameWidth - kScrollBarWidth};
        m_Values["ImageList_ImageHeight"] = std::int16_t{kImageSize};
        m_Values["ImageList_ImageWidth"] = std::int16_t{kImageSize};
        m_Values["Check_TimeSchedule_ViewDayType"] = std::int16_t{0};
        for (const char* text : kTexts) {
            m_Values[text] = std::string();
        }
        for (const char* menu : kMenuStates) {
            m_Values[menu] = std::int16_t{0};
        }
    }

    // What the user typed into the two time boxes.
    void TypeTimes(const std::string& start, const std::string& stop) {
        m_Values["Text_Schedule_Period_Start"] = start;
        m_Values["Text_Schedule_Period_Stop"] = stop;
    }

    // The texts and menu states as "name = value" lines.
    void PrintState(std::ostream& out) const {
        out << "host:\n";
        for (const char* name : kTexts) {
            out << "  " << name << " = " << HostText(m_Values.at(name)) << '\n';
        }
        for (const char* name : kMenuStates) {
            out << "  " << name << " = " << HostText(m_Values.at(name)) << '\n';
        }
    }

protected:
    bool Fallback(std::string_view name, Arguments arguments, HostValue& result) override {
        if (name.rfind("Set_", 0) == 0 && arguments.size() == 1) {
            const std::string member(name.substr(4));
            // A reference is read at the call; the host keeps the value.
            HostValue value = arguments[0];
            if (const auto* p16 = std::get_if<std::int16_t*>(&value)) {
                value = **p16;
            } else if (const auto* p32 = std::get_if<std::int32_t*>(&value)) {
                value = **p32;
            }
            m_Values[member] = value;
            if (member == "Picture_TimeSchedule_Width" || member == "Picture_TimeSchedule_Height") {
                ResizeSurface();
            }
            result = HostValue();
            return true;
        }
        if (name.rfind("Get_", 0) == 0 && arguments.empty()) {
            const auto found = m_Values.find(std::string(name.substr(4)));
            if (found == m_Values.end()) {
                return false;
            }
            result = found->second;
            return true;
        }
        if (name == "Draw_ImageList_ListImages" && arguments.size() >= 4) {
            const int index = HostInt32(arguments[0]);
            if (index < 1 || index > kImageCount) {
                throw OutOfRangeError("image " + std::to_string(index) + " of the image list");
            }
            if (HostInt32(arguments[1]) == m_Surface.hDC()) {
                m_Surface.DrawImage(m_Images[static_cast<std::size_t>(index - 1)], HostInt32(arguments[2]),
                                    HostInt32(arguments[3]));
            }
            result = HostValue();
            return true;
        }
        return false;
    }

private:
    static constexpr std::array<const char*, 3> kTexts = {"Text_Schedule_Time", "Text_Schedule_Period_Start",
                                                          "Text_Schedule_Period_Stop"};
    static constexpr std::array<const char*, 4> kMenuStates = {
        "Menu_TimeSchedulePopup_Grouped_MonFri_Checked", "Menu_TimeSchedulePopup_Grouped_Checked",
        "Menu_TimeSchedulePopup_Paste_Enabled", "Menu_TimeSchedulePopup_Delete_Enabled"};

    void ResizeSurface() {
        const auto width = m_Values.find("Picture_TimeSchedule_Width");
        const auto height = m_Values.find("Picture_TimeSchedule_Height");
        if (width == m_Values.end() || height == m_Values.end()) {
            return;
        }
        m_Surface.Resize(HostInt32(width->second), HostInt32(height->second));
    }

    QtImageSurface& m_Surface;
    std::vector<QImage> m_Images;
    std::map<std::string, HostValue, std::less<>> m_Values;
};

// Fonts need a GUI application; without a display the offscreen platform serves.
std::unique_ptr<QGuiApplication> EnsureGuiApplication() {
    if (QGuiApplication::instance() != nullptr) {
        return nullptr;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static int argc = 1;
    // Qt keeps argc and argv for the life of the application, hence static.
    static std::string name = "velmar-profiles";
    static std::array<char*, 2> argv = {name.data(), nullptr};
    return std::make_unique<QGuiApplication>(argc, argv.data());
}

// The names the grid prints; the shared tables are the host's to fill.
void FillDayTypeNames() {
    constexpr std::array<const char*, 7> names = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    constexpr std::array<const char*, 7> longNames = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                                      "Friday", "Saturday", "Sunday"};
    for (int d = 0; d < kDayTypeCount; ++d) {
        DayTypeNames[d] = d < 7 ? names[d] : "D" + std::to_string(d);
        DayTypeLongNames[d] = d < 7 ? longNames[d] : "Special day " + std::to_string(d - 6);
    }
}

// Runs one script command the way the host's event handlers would.
void RunCommand(const ScriptCommand& command, cTimeSchedule& schedule, HeadlessScheduleHost& host,
                QtImageSurface& surface, IDrawingSurface*& surfaceVariable, std::int16_t& button) {
    const std::string& c = command.Name;
    if (c == "down") {
        button = command.Button;
        TimeScheduleView(schedule).MouseDown(host, surfaceVariable, button, 0, command.X, command.Y);
    } else if (c == "move") {
        TimeScheduleView(schedule).MouseMove(host, surfaceVariable, button, 0, command.X, command.Y);
    } else if (c == "up") {
        TimeScheduleView(schedule).MouseUp(host, surfaceVariable, button, 0, command.X, command.Y);
    } else if (c == "times") {
        host.TypeTimes(command.Start, command.Stop);
        TimeScheduleView(schedule).ExtractTimeFromTextboxes(host, surfaceVariable);
    } else if (c == "delete") {
        TimeScheduleView(schedule).Delete(host, surfaceVariable);
    } else if (c == "fill") {
        TimeScheduleView(schedule).SetTimeFrom00to24(host, surfaceVariable);
    } else if (c == "group") {
        TimeScheduleView(schedule).Group(host, surfaceVariable);
    } else if (c == "group-mon-fri") {
        TimeScheduleView(schedule).GroupMonFri(host, surfaceVariable);
    } else if (c == "copy") {
        schedule.Copy();
    } else if (c == "paste") {
        TimeScheduleView(schedule).Paste(host, surfaceVariable);
    } else if (c == "default") {
        schedule.SetDefaultPeriod();
    } else if (c == "paint") {
        // The host clears its picture box before a full repaint.
        surface.Clear();
        TimeScheduleView(schedule).Paint(host, surfaceVariable);
    } else if (c == "layout") {
        TimeScheduleView(schedule).RecalculateAndPrepareToPaint(host, surfaceVariable, &surface);
    }
}

struct Options {
    std::string Profile;
    std::string Out;
    std::string Events;
    bool Calendar = false;
};

} // namespace

int CommandRenderSchedule(const Arguments& args, std::ostream& out, std::ostream& err) {
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            out << kHelp;
            return 0;
        }
        if ((arg == "--out" || arg == "--events") && i + 1 < args.size()) {
            (arg == "--out" ? options.Out : options.Events) = args[++i];
        } else if (arg == "--calendar") {
            options.Calendar = true;
        } else if (!arg.empty() && arg[0] != '-' && options.Profile.empty()) {
            options.Profile = arg;
        } else {
            err << "velmar-profiles render-schedule: unexpected argument \"" << arg << "\"\n" << kHelp;
            return 2;
        }
    }
    if (options.Profile.empty() || options.Out.empty()) {
        err << "velmar-profiles render-schedule: PROFILE_FILE and --out FILE.png are required\n" << kHelp;
        return 2;
    }

    std::vector<ScriptCommand> script;
    if (!options.Events.empty()) {
        std::ifstream in(options.Events);
        if (!in) {
            err << "velmar-profiles render-schedule: cannot read the script " << options.Events << '\n';
            return 2;
        }
        try {
            script = ParseScript(in);
        } catch (const ScriptError& error) {
            err << options.Events << ":" << error.Line << ": " << error.Message << '\n';
            return 2;
        }
    }

    cTimeSchedule schedule;
    try {
        BinaryFile file(options.Profile, BinaryFile::Mode::Read);
        const std::int16_t version = file.ReadInt16();
        if (file.Ended() || version != kProfileFormatVersion) {
            err << "velmar-profiles render-schedule: " << options.Profile << ": format version " << version
                << ", only " << kProfileFormatVersion << " can be read\n";
            return 1;
        }
        ProfileRecord record;
        ReadProfileRecord(file, record);
        schedule.ReadFromDisk(file);
    } catch (const VelmarError& error) {
        err << "velmar-profiles render-schedule: " << options.Profile << ": " << error.what() << '\n';
        return 1;
    }
    if (options.Calendar) {
        schedule.m_UseCalendar = kTrue;
    }

    const auto application = EnsureGuiApplication();
    FillDayTypeNames();
    QtImageSurface surface(1, 1, Rgb(255, 255, 255));
    HeadlessScheduleHost host(surface);
    IDrawingSurface* surfaceVariable = nullptr;
    TimeScheduleView(schedule).RecalculateAndPrepareToPaint(host, surfaceVariable, &surface);
    TimeScheduleView(schedule).Paint(host, surfaceVariable);

    std::int16_t button = 1;
    for (const ScriptCommand& command : script) {
        try {
            RunCommand(command, schedule, host, surface, surfaceVariable, button);
        } catch (const VelmarError& error) {
            err << options.Events << ":" << command.Line << ": " << error.what() << '\n';
            return 1;
        }
    }

    try {
        surface.SavePng(options.Out);
    } catch (const FileError& error) {
        err << "velmar-profiles render-schedule: " << error.what() << '\n';
        return 1;
    }
    PrintSchedule(out, schedule);
    host.PrintState(out);
    return 0;
}

} // namespace velmar::tool

#else // Built without Qt: there is nothing to draw the PNG with.

namespace velmar::tool {

int CommandRenderSchedule(const Arguments& /*args*/, std::ostream& /*out*/, std::ostream& err) {
    err << "velmar-profiles render-schedule: this build has no PNG renderer (VELMAR_WITH_QT is off)\n";
    return 1;
}

} // namespace velmar::tool

#endif
