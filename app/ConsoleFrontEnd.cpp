#include "app/ConsoleFrontEnd.h"

#include "platform/Console.h"
#include "platform/LocalTime.h"
#include "profiles/Profiles.h"

#include <algorithm>
#include <ostream>
#include <sstream>
#include <vector>

namespace velmar {

namespace {

struct ConsoleControls {
    explicit ConsoleControls(std::ostream& out) : Tray(List, Window, out) {}

    MainWindowControls Of(IOneShotTimer& wait) { return {Window, List, ImageList, Timer, Tray, wait, Busy}; }

    ConsoleWindow Window;
    ConsoleImageList ImageList;
    ConsoleReportList List{ImageList};
    ConsoleTimer Timer;
    ConsoleTray Tray;
    ConsoleBusyPointer Busy;
};

// The load step without its wait, on console controls that print the block
// to `out`; returns the tooltip it set.
std::string LoadOnce(const StartupInfo& startup, std::ostream& out) {
    ConsoleControls controls(out);
    ImmediateOneShotTimer wait;
    VelmarActiveProfiles_Main main(controls.Of(wait), startup);
    main.Form_Load();
    main.Form_Unload();
    return controls.Tray.ToolTipText();
}

const char* ProblemKindName(LoadProblemKind kind) {
    switch (kind) {
    case LoadProblemKind::FolderMissing:
        return "folderMissing";
    case LoadProblemKind::FolderNotAFolder:
        return "folderNotAFolder";
    case LoadProblemKind::FolderUnreadable:
        return "folderUnreadable";
    case LoadProblemKind::FileUnreadable:
        return "fileUnreadable";
    case LoadProblemKind::FileVanished:
        return "fileVanished";
    case LoadProblemKind::NotAFile:
        return "notAFile";
    case LoadProblemKind::WrongVersion:
        return "wrongVersion";
    case LoadProblemKind::TooShort:
        return "tooShort";
    case LoadProblemKind::BeyondSlots:
        return "beyondSlots";
    }
    return "unknown";
}

bool FolderListed(const std::vector<LoadProblem>& problems) {
    return std::none_of(problems.begin(), problems.end(), [](const LoadProblem& problem) {
        return problem.Kind == LoadProblemKind::FolderMissing ||
               problem.Kind == LoadProblemKind::FolderNotAFolder ||
               problem.Kind == LoadProblemKind::FolderUnreadable;
    });
}

} // namespace

int RunConsoleFrontEnd(const StartupInfo& startup, std::ostream& out) {
    const ConsoleStopSignals signals;
    ConsoleControls controls(out);
    ConsoleOneShotTimer wait;
    VelmarActiveProfiles_Main main(controls.Of(wait), startup);
    main.Form_Load();
    RunConsoleLoop(controls.Timer, wait, signals);
    // The process is being ended: a close request the window grants.
    if (!main.Form_QueryUnload(CloseReason::ProcessEnd)) {
        main.Form_Unload();
    }
    out.flush();
    return 0;
}

int PrintProfilesOnce(const StartupInfo& startup, std::ostream& out) {
    LoadOnce(startup, out);
    return FolderListed(LoadProblems) ? 0 : 1;
}

int PrintProfilesJson(const StartupInfo& startup, std::ostream& out) {
    std::ostringstream block; // the console block is not part of the JSON
    const std::string toolTip = LoadOnce(startup, block);
    std::vector<ListedProfile> profiles;
    profiles.reserve(static_cast<std::size_t>(NumberOfProfiles));
    for (std::int16_t i = 0; i < NumberOfProfiles; ++i) {
        profiles.push_back({Profiles[i].Name, Profiles[i].Active != 0, ProfileFileNames[i]});
    }
    out << FormatProfilesJson(LocalTimestampText(), DataPath, profiles, toolTip, LoadProblems) << std::flush;
    return FolderListed(LoadProblems) ? 0 : 1;
}

std::string FormatProfilesJson(std::string_view time, std::string_view dataFolder,
                               const std::vector<ListedProfile>& profiles, std::string_view toolTip,
                               const std::vector<LoadProblem>& problems) {
    std::string json = "{\n  \"time\": " + JsonString(time) +
                       ",\n  \"dataFolder\": " + JsonString(dataFolder) + ",\n  \"profiles\": [";
    const char* separator = "\n";
    for (const auto& profile : profiles) {
        json += separator;
        json += "    {\"name\": " + JsonString(profile.Name) +
                ", \"active\": " + (profile.Active ? "true" : "false") +
                ", \"file\": " + JsonString(profile.File) + "}";
        separator = ",\n";
    }
    json += profiles.empty() ? "]" : "\n  ]";
    json += ",\n  \"tooltip\": " + JsonString(toolTip) + ",\n  \"problems\": [";
    separator = "\n";
    for (const auto& problem : problems) {
        json += separator;
        json += "    {\"kind\": " + JsonString(ProblemKindName(problem.Kind)) +
                ", \"file\": " + JsonString(problem.File) +
                ", \"text\": " + JsonString(ProblemText(problem)) + "}";
        separator = ",\n";
    }
    json += problems.empty() ? "]" : "\n  ]";
    json += "\n}\n";
    return json;
}

} // namespace velmar
