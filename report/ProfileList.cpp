#include "report/ProfileList.h"

#include "common/CodePage.h"
#include "common/ConsoleText.h"
#include "common/Numeric.h"
#include "common/Paths.h"
#include "platform/LocalTime.h"

#include <ostream>

namespace velmar {

namespace {

// The tooltip's problem line: cut with an ellipsis to its length.
std::string ToolTipProblemLine(const std::string& problem) {
    if (Utf8Length(problem) <= kToolTipProblemLength) {
        return problem;
    }
    return Utf8Left(problem, kToolTipProblemLength - 1) + "\xE2\x80\xA6";
}

} // namespace

std::vector<ListedProfile> ListedProfiles(const ProfileLoad& load) {
    std::vector<ListedProfile> profiles;
    profiles.reserve(static_cast<std::size_t>(load.NumberOfProfiles));
    for (std::int16_t i = 0; i < load.NumberOfProfiles; ++i) {
        profiles.push_back({load.Profiles[i].Name, load.Profiles[i].Active != 0, load.FileNames[i]});
    }
    return profiles;
}

std::string ActiveProfilesToolTip(const ProfileLoad& load, std::string_view lineBreak) {
    std::string tip;
    std::int16_t activeCount = 0;
    for (std::int16_t i = 0; i < load.NumberOfProfiles; ++i) {
        const ProfileRecord& profile = load.Profiles[i];
        if (profile.Active != 0) {
            if (activeCount < kToolTipNames) {
                tip += std::string(lineBreak) + kToolTipBullet + profile.Name;
            }
            activeCount = ToInt16(activeCount + 1, "active profile count");
        }
    }

    tip = kToolTipHeading + tip;
    // The cut falls wherever it falls: inside a name, or between the carriage
    // return and line feed of a line break on Windows.
    if (Utf8Length(tip) > kToolTipCut) {
        tip = Utf8Left(tip, kToolTipCut);
    }
    if (activeCount > kToolTipNames) {
        tip += kToolTipMore;
    }
    // What the load met is never swallowed; without problems the tooltip is
    // exactly the text above.
    const std::vector<std::string> problems = ProblemLines(load.Problems);
    if (!problems.empty()) {
        tip += std::string(lineBreak) + ToolTipProblemLine(problems.front());
    }
    return tip;
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
                              ActiveProfilesToolTip(load, kToolTipLineBreak))
        << std::flush;
    return load.FolderListed() ? 0 : 1;
}

int PrintProfilesJson(const DataFolder& folder, std::ostream& out) {
    ProfileStore store(folder);
    const ProfileLoad& load = store.LoadAllProfiles();
    out << FormatProfilesJson(LocalTimestampText(), folder.DataPath(), ListedProfiles(load),
                              ActiveProfilesToolTip(load, kToolTipLineBreak), load.Problems)
        << std::flush;
    return load.FolderListed() ? 0 : 1;
}

} // namespace velmar
