#include "report/ProfileList.h"

#include "common/CodePage.h"
#include "common/ConsoleText.h"
#include "common/Numeric.h"
#include "common/Paths.h"
#include "platform/LocalTime.h"

#include <ostream>

namespace velmar {

std::vector<ListedProfile> ListedProfiles(const ProfileLoad& load) {
    std::vector<ListedProfile> profiles;
    profiles.reserve(static_cast<std::size_t>(load.NumberOfProfiles));
    for (std::int16_t i = 0; i < load.NumberOfProfiles; ++i) {
        profiles.push_back({load.Profiles[i].Name, load.Profiles[i].Active != 0, load.FileNames[i]});
    }
    return profiles;
}

std::vector<std::string> ActiveProfileNames(const ProfileLoad& load) {
    std::vector<std::string> names;
    for (std::int16_t i = 0; i < load.NumberOfProfiles; ++i) {
        if (load.Profiles[i].Active != 0) {
            names.push_back(load.Profiles[i].Name);
        }
    }
    return names;
}

std::string ActiveProfilesToolTip(const ProfileLoad& load, const ToolTipRules& rules) {
    return ActiveProfilesToolTip(load, rules, ProblemWords());
}

std::string ActiveProfilesToolTip(const ProfileLoad& load, const ToolTipRules& rules,
                                  const ProblemWords& words) {
    // What the load met is never swallowed; without problems the tooltip is
    // exactly the names.
    const std::vector<std::string> problems = ProblemLines(load.Problems, words);
    return TrayToolTipText(
        ActiveProfileNames(load),
        problems.empty() ? std::nullopt : std::optional<std::string_view>(problems.front()), rules);
}

std::string FormatConsoleBlock(std::string_view clockText, const std::vector<ListedProfile>& profiles,
                               const std::vector<std::string>& problems, std::string_view toolTip) {
    std::string block = "== ";
    block += clockText;
    block += ' ' + std::to_string(profiles.size()) + " profiles\n";
    for (const auto& profile : profiles) {
        block += profile.Active ? "+ " : "- ";
        block += EscapeConsoleText(profile.Name);
        block += '\n';
    }
    // A problem names a file or the Profiles folder by its path: where "\\"
    // separates folders, the path is left as a user can copy it.
    for (const auto& problem : problems) {
        block += "! ";
        block += EscapeConsoleText(problem, kPathSeparator == '\\');
        block += '\n';
    }
    block += "tooltip: ";
    block += EscapeConsoleText(toolTip);
    block += '\n';
    return block;
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

int PrintProfilesOnce(const DataFolder& folder, std::ostream& out) {
    ProfileStore store(folder);
    const ProfileLoad& load = store.LoadAllProfiles();
    // One write and a flush, so that a reader of a pipe sees the whole block.
    out << FormatConsoleBlock(LocalClockText(), ListedProfiles(load), ProblemLines(load.Problems),
                              ActiveProfilesToolTip(load))
        << std::flush;
    return load.FolderListed() ? 0 : 1;
}

int PrintProfilesJson(const DataFolder& folder, std::ostream& out) {
    ProfileStore store(folder);
    const ProfileLoad& load = store.LoadAllProfiles();
    out << FormatProfilesJson(LocalTimestampText(), folder.DataPath(), ListedProfiles(load),
                              ActiveProfilesToolTip(load), load.Problems)
        << std::flush;
    return load.FolderListed() ? 0 : 1;
}

} // namespace velmar
