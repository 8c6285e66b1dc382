#pragma once

// The desktop seen by the main window: a top-level window with caption and
// icon, the events it raises, and the picture type the tray shares with it.
// Implemented by platform/qt for the desktop, by the console front end and by
// the recording fakes of tests.

#include <memory>
#include <string>
#include <vector>

namespace velmar {

// A picture owned by the platform, such as a window's icon. Assigned by
// reference: whoever receives it shares the very same picture.
class IPicture {
public:
    virtual ~IPicture() = default;
};
using PicturePtr = std::shared_ptr<const IPicture>;

// The line under the window's list: what the last reload found.
struct StatusLine {
    std::string Text;
    // Every problem the reload met, one line each. While there are any, Text
    // is the first, shown in the theme's error colour with all of them in the
    // line's tooltip.
    std::vector<std::string> Problems;
    // The data folder the window watches, shown after Text, shortened in the
    // middle when it does not fit, and whole in the line's tooltip.
    std::string Folder;

    bool operator==(const StatusLine&) const = default;
};

// Normal means neither minimised nor maximised.
enum class WindowState { Normal, Minimized, Maximized };

// Why the window is asked to close.
enum class CloseReason {
    UserClose,    // the title-bar close button or the system menu
    ProgramCode,  // the program's own code
    SessionEnd,   // the user logging off, the system shutting down
    ProcessEnd,   // the process being ended (task manager, SIGTERM, SIGINT)
    OwnerClosing, // an owner window closing
};

// The handlers of the window's own events. The platform raises them on the
// user-interface thread, one after another.
class IWindowEvents {
public:
    virtual ~IWindowEvents() = default;
    // Called once, when the window is created; a failure ends the program.
    virtual void Form_Load() = 0;
    // After every change of the inner size or the window state.
    virtual void Form_Resize() = 0;
    // A close request; true refuses it (the window stays as it was).
    virtual bool Form_QueryUnload(CloseReason reason) = 0;
    // The close request was granted; the program ends after this.
    virtual void Form_Unload() = 0;
};

class IWindow {
public:
    virtual ~IWindow() = default;

    virtual void SetCaption(const std::string& caption) = 0;
    virtual std::string Caption() const = 0;
    // Size of the inner (client) area in pixels; the platform keeps the frame
    // around it. While the window is minimised the inner area reads as 0 by 0.
    virtual void SetInnerSize(int width, int height) = 0;
    virtual int InnerWidth() const = 0;
    virtual int InnerHeight() const = 0;

    // The window's own icon, also shown by the tray icon.
    virtual PicturePtr Icon() const = 0;

    // The status line, shown under the inner area: the list keeps all of it.
    virtual void SetStatus(const StatusLine& status) = 0;
    virtual StatusLine Status() const = 0;

    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual bool Visible() const = 0;
    // Whether the window is shown and the one the user works in (it has the
    // keyboard focus).
    virtual bool Active() const = 0;

    virtual void SetState(WindowState state) = 0;
    virtual WindowState State() const = 0;
};

} // namespace velmar
