#include "app/Autostart.h"
#include "common/Errors.h"
#include "common/Paths.h"
#include "platform/FileSystem.h"
#include "profiles/DataFolder.h"

#include <ostream>

namespace velmar::detail {

// Windows starts programs at log-on from the user's Startup folder, where the
// user makes a shortcut (Explorer's own way, which also lets them remove it).
// Tells where that folder is and what the shortcut's target is; the value of
// "/PATH:" is written without its final backslash, which a quotation mark
// after it would escape for most programs' argument rules.
int RunAutostart(const std::string& state, const std::string& executableFolder,
                 const std::vector<std::string>& arguments, std::ostream& /*out*/, std::ostream& err,
                 const EnvironmentLookup& environment) {
    std::vector<std::string> folderArguments = arguments;
    const bool notify = TakeNotifyOption(folderArguments);
    err << kProgramName
        << ": on Windows, programs start at log-on from the Startup folder; nothing was changed.\n";
    const auto appData = environment("APPDATA");
    if (appData && !appData->empty()) {
        const auto folder =
            PathFromUtf8(*appData) / "Microsoft" / "Windows" / "Start Menu" / "Programs" / "Startup";
        err << "Startup folder: " << PathToUtf8(folder) << " (Win+R, shell:startup opens it)\n";
    } else {
        err << "Startup folder: Win+R, shell:startup opens it\n";
    }
    if (state == "off") {
        err << "To stop " << kProgramName << " starting at log-on, delete its shortcut there.\n";
        return 1;
    }
    std::string target = executableFolder;
    if (target.empty() || target.back() != kPathSeparator) {
        target += kPathSeparator;
    }
    target = "\"" + target + std::string(kProgramName) + ".exe\"";
    // Ahead of the folder, whose value runs to the end of the line.
    if (notify) {
        target += " --notify";
    }
    std::string dataFolder;
    if (!folderArguments.empty()) {
        dataFolder =
            detail::AbsoluteFolder(DataFolder::FromCommandLine(executableFolder, folderArguments).DataPath());
        std::string value = dataFolder;
        if (value.size() > 1 && value.back() == kPathSeparator) {
            value.pop_back(); // "/PATH:D:" gives the root "D:\" all the same
        }
        target += " \"/PATH:" + value + "\"";
    }

    err << "To start " << kProgramName << " at log-on, put a shortcut there with the target\n  " << target
        << '\n';
    if (!dataFolder.empty() && !IsExistingFolder(dataFolder)) {
        err << kProgramName << ": note: the folder " << dataFolder << " does not exist (yet).\n";
    }
    return 1;
}

} // namespace velmar::detail
