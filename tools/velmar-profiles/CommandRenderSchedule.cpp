// velmar-profiles render-schedule: the schedule editor's grid for the schedule
// of a profile file, drawn by the schedule host into a PNG, optionally after
// replaying an event script.

#include "tools/velmar-profiles/Commands.h"

#include <ostream>
#include <string_view>

#ifdef VELMAR_WITH_QT
#include "common/Errors.h"
#include "common/Numeric.h"
#include "editor_host/EventScript.h"
#include "editor_host/ScheduleEditor.h"
#include "editor_host/SharedTablesScope.h"
#include "platform/qt/QtImageSurface.h"
#include "profiles/ProfileFile.h"
#include "tools/velmar-profiles/QtPictures.h"
#include "tools/velmar-profiles/Replay.h"
#include "tools/velmar-profiles/ScheduleText.h"

#include <vector>
#endif

namespace velmar::tool {

namespace {

constexpr std::string_view kHelp =
    R"(Usage: velmar-profiles render-schedule PROFILE_FILE --out FILE.png [--events SCRIPT] [--calendar] [--scale FACTOR]

Loads the time schedule of a profile file into the schedule editor's host (a
frame of 340 x 200 pixels, a scroll bar 16 pixels wide, 16 images of 14 x 14
pixels for day types 7 to 22, the view-day-type check box off), runs the
layout pass and paints the grid on a white picture box of the size the layout
asks for. With --events the script is replayed; the picture is then saved as
PNG, and the resulting schedule is printed as "velmar-profiles show" prints
it, followed by the host's time boxes and menu states as "name = value" lines.

  --out FILE.png   where to write the picture (required); written in full or not at all
  --events SCRIPT  replay an event script
  --calendar       use the schedule with a calendar (one row per day type in use)
  --scale FACTOR   draw at FACTOR image pixels per grid pixel (1 to 8, default
                   1), texts at the scaled size, as the editor draws the grid on
                   a screen of that device pixel ratio; the script's pixels stay
                   the grid's own

A script has one command a line; "#" starts a comment, blank lines are skipped,
texts with blanks go in double quotes ("" for an empty one):
  down X Y [BUTTON]   mouse press at pixel (X, Y); BUTTON 1 left (default), 2 right
  move X Y            mouse move
  up X Y              mouse release
  paint               clear the picture box and paint the whole grid
  times START STOP    type the two times into the host's boxes and apply them
  delete | fill | group | group-mon-fri | copy | paste
                      the popup menu's commands (fill: 00:00 to 24:00)
  default             Monday to Friday 07:00-16:00, grouped
  layout              the layout pass

Exit status 0 when the PNG was written; 1 for a profile or script file that
cannot be read, a script command that fails or a PNG that cannot be written;
2 for a usage error or a malformed script line ("SCRIPT:LINE: message").
)";

} // namespace

const CommandSyntax& RenderScheduleSyntax() {
    static const CommandSyntax syntax{
        .Name = "render-schedule",
        .Synopsis =
            "render-schedule PROFILE_FILE --out FILE.png [--events SCRIPT] [--calendar] [--scale FACTOR]",
        .Summary = "Draw the schedule editor's grid for a profile's schedule into a PNG.",
        .Help = kHelp,
        .Options = {{.Name = "--out", .Value = "FILE.png", .Required = true},
                    {.Name = "--events", .Value = "SCRIPT"},
                    {.Name = "--calendar"},
                    {.Name = "--scale", .Value = "FACTOR"}},
        .Operands = "profile file",
        .MinOperands = 1,
        .MaxOperands = 1,
    };
    return syntax;
}

#ifdef VELMAR_WITH_QT

int CommandRenderSchedule(const ParsedArguments& args, std::ostream& out, std::ostream& err) {
    const auto events = args.Value("--events");
    const std::vector<ScriptCommand> script = ReadScriptOption<ScheduleEditor>(events);
    const double scale = PictureScale(args);
    const ProfileFileContents profile = ReadProfileFile(args.Operands().front());
    if (args.Has("--calendar")) {
        profile.Schedule->m_UseCalendar = kTrue;
    }

    EnsureGuiApplication();
    SharedTablesScope tables;
    SharedTablesScope::NameDayTypes("D", "Special day ");
    QtImageSurface picture(1, 1, Rgb(255, 255, 255));
    picture.SetScale(scale);
    QtImageList images(picture, ScheduleImages());
    ScheduleEditor editor(profile.Schedule, picture, images);
    // The picture box takes the size the layout pass gives it.
    editor.Host().OnChanged = [&](ScheduleHostMember member) {
        const ScheduleHostControls& controls = editor.Host().Controls();
        if ((member == ScheduleHostMember::Picture_TimeSchedule_Width ||
             member == ScheduleHostMember::Picture_TimeSchedule_Height) &&
            controls.PictureWidth > 0 && controls.PictureHeight > 0) {
            picture.Resize(controls.PictureWidth, controls.PictureHeight);
        }
    };
    editor.Layout();
    editor.Paint();
    if (!Replay(editor, script, events.value_or(""), err, [](const ScriptCommand&) {})) {
        return 1;
    }

    picture.SavePng(*args.Value("--out"));
    PrintSchedule(out, editor.Schedule());
    out << "host:\n";
    for (const auto& [name, value] : editor.Host().NamedValues()) {
        out << "  " << name << " = " << value << '\n';
    }
    return 0;
}

#else // Built without Qt: there is nothing to draw the PNG with.

int CommandRenderSchedule(const ParsedArguments& /*args*/, std::ostream& /*out*/, std::ostream& err) {
    err << "velmar-profiles: render-schedule: this build has no PNG renderer (built without Qt)\n";
    return 1;
}

#endif

} // namespace velmar::tool
