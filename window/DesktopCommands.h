#pragma once

// The commands of the tray icon's menu (and the window's menu bar), and the
// desktop's services that carry them out. The main window decides what each
// command does and in which state the menus show them; the platform draws the
// menus and performs the services.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmar {

enum class DesktopCommand {
    ShowHide,        // "Show profiles" / "Hide profiles"
    EditSchedule,    // the selected profile in the editor
    OpenDataFolder,  // the data folder in the desktop's file manager
    StartAtLogin,    // checkable: the autostart entry
    NotifyOnChanges, // checkable: a notification after a reload that changed something
    About,           // version, data folder, licence
    Quit,
};

// The state the menus show.
struct CommandMenuState {
    bool WindowShown = false;     // "Hide profiles" instead of "Show profiles"
    bool EditorAvailable = false; // "Edit schedule…" enabled
    bool StartAtLogin = false;    // checked
    bool NotifyOnChanges = false; // checked

    bool operator==(const CommandMenuState&) const = default;
};

// What the commands ask of the desktop. Each operation that fails raises one
// of the errors of common/Errors.h with a one-line reason.
class IDesktopServices {
public:
    virtual ~IDesktopServices() = default;

    // Whether the schedule editor can be started at all.
    virtual bool EditorAvailable() const = 0;
    // Starts the editor on `profileFile`; does not wait for it.
    virtual void StartEditor(const std::string& profileFile) = 0;
    // Asks the user which of `names` to edit; none when the user declines.
    virtual std::optional<std::size_t> AskForProfile(const std::vector<std::string>& names) = 0;
    // Opens `folder` in the desktop's file manager.
    virtual void OpenFolder(const std::string& folder) = 0;
    // Whether the autostart entry exists; writes or removes it, with the data
    // folder and, when `notify`, the switch that asks for notifications.
    virtual bool StartsAtLogin() const = 0;
    virtual void SetStartAtLogin(bool on, const std::string& dataFolder, bool notify) = 0;
    // The About box, naming the data folder.
    virtual void ShowAbout(const std::string& dataFolder) = 0;
    // A desktop notification: a title and plain-text lines.
    virtual void Notify(const std::string& title, const std::string& body) = 0;
    // Tells the user that a command failed.
    virtual void ShowError(const std::string& text) = 0;
    // Ends the program as its own close request does.
    virtual void Quit() = 0;
};

// The menus: they show the state and raise the commands.
class ICommandMenu {
public:
    virtual ~ICommandMenu() = default;
    virtual void SetMenuState(const CommandMenuState& state) = 0;
    virtual void SetCommandHandler(std::function<void(DesktopCommand)> handler) = 0;
};

} // namespace velmar
