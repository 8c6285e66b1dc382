#include "app/ConsoleFrontEnd.h"

#include "platform/Console.h"
#include "platform/LocalTime.h"

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
// to `out`; returns the tooltip it set, and the load in `loaded`.
std::string LoadOnce(const DataFolder& folder, std::ostream& out, ProfileLoad& loaded) {
    ConsoleControls controls(out);
    ImmediateOneShotTimer wait;
    VelmarActiveProfiles_Main main(controls.Of(wait), folder);
    main.ProfileLoader = [&loaded,
                          load = main.ProfileLoader](const ChangeSignature* listing) -> const ProfileLoad& {
        loaded = load(listing);
        return loaded;
    };
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

} // namespace

int RunConsoleFrontEnd(const DataFolder& folder, std::ostream& out) {
    const ConsoleStopSignals signals;
    ConsoleControls controls(out);
    ConsoleOneShotTimer wait;
    VelmarActiveProfiles_Main main(controls.Of(wait), folder);
    main.Form_Load();
    RunConsoleLoop(controls.Timer, wait, signals);
    // The process is being ended: a close request the window grants.
    if (!main.Form_QueryUnload(CloseReason::ProcessEnd)) {
        main.Form_Unload();
    }
    out.flush();
    return 0;
}

int PrintProfilesOnce(const DataFolder& folder, std::ostream& out) {
    ProfileLoad load(folder);
    LoadOnce(folder, out, load);
    return load.FolderListed() ? 0 : 1;
}

int PrintProfilesJson(const DataFolder& folder, std::ostream& out) {
    std::ostringstream block; // the console block is not part of the JSON
    ProfileLoad load(folder);
    const std::string toolTip = LoadOnce(folder, block, load);
    std::vector<ListedProfile> profiles;
    profiles.reserve(static_cast<std::size_t>(load.NumberOfProfiles));
    for (std::int16_t i = 0; i < load.NumberOfProfiles; ++i) {
        profiles.push_back({load.Profiles[i].Name, load.Profiles[i].Active != 0, load.FileNames[i]});
    }
    out << FormatProfilesJson(LocalTimestampText(), folder.DataPath(), profiles, toolTip, load.Problems)
        << std::flush;
    return load.FolderListed() ? 0 : 1;
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
