#include "app/Launcher.h"

#include "common/FileSystem.h"

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

StartupInfo DesktopStartup(const std::string& ownFolder, std::vector<std::string> arguments) {
    if (!arguments.empty() && arguments.front().starts_with(kLauncherFolderOption)) {
        std::string folder = arguments.front().substr(kLauncherFolderOption.size());
        arguments.erase(arguments.begin());
        return {std::move(folder), std::move(arguments)};
    }
    return {ownFolder, std::move(arguments)};
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
