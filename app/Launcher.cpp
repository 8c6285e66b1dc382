#include "app/Launcher.h"

#include "common/Paths.h"

#include <filesystem>

namespace velmar {

std::vector<std::string> DesktopExecutableCandidates(const std::string& launcherFolder,
                                                     const std::string& installedSubfolder) {
    const std::filesystem::path folder = PathFromUtf8(launcherFolder);
    std::vector<std::string> candidates = {PathToUtf8(folder / kDesktopExecutableName)};
    if (!installedSubfolder.empty()) {
        candidates.push_back(PathToUtf8(
            (folder / PathFromUtf8(installedSubfolder) / kDesktopExecutableName).lexically_normal()));
    }
    return candidates;
}

std::vector<std::string> DesktopArguments(const std::string& argv0, const std::string& launcherFolder,
                                          const std::vector<std::string>& userArguments) {
    std::vector<std::string> arguments = {argv0, std::string(kLauncherFolderOption) + launcherFolder};
    arguments.insert(arguments.end(), userArguments.begin(), userArguments.end());
    return arguments;
}

ProgramCommandLine DesktopStartup(ProgramCommandLine line) {
    std::vector<std::string>& arguments = line.Arguments;
    if (!arguments.empty() && arguments.front().starts_with(kLauncherFolderOption)) {
        line.ExecutableFolder = arguments.front().substr(kLauncherFolderOption.size());
        arguments.erase(arguments.begin());
        // Only the launcher of X11 and Wayland systems starts the desktop
        // executable, where the start-up rules read the arguments as split.
        line.StartupArguments = arguments;
    }
    return line;
}

std::string ConsoleInsteadLine(std::string_view reason) {
    return "velmar-active-profiles: " + std::string(reason) + "; running on the console";
}

std::string QtPlatformList(const GraphicalSession& session, const std::optional<std::string>& userChoice,
                           const std::optional<std::string>& sessionType) {
    std::string platforms;
    if (userChoice && !userChoice->empty()) {
        platforms = *userChoice;
    } else if (!session.QtPlatform.empty()) {
        platforms = session.QtPlatform;
    } else if (sessionType == "wayland") {
        platforms = "wayland;xcb";
    } else {
        platforms = "xcb;wayland";
    }
    return platforms + ";" + kFallbackQtPlatform;
}

} // namespace velmar
