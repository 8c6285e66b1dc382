#include "profiles/LoadProblem.h"

#include "profiles/ProfileFile.h"
#include "profiles/ProfileStore.h"

#include <map>

namespace velmar {

namespace {

const ProblemWords kEnglishProblemWords;

} // namespace

std::string ProblemWords::More(LoadProblemKind kind, std::size_t count) const {
    const std::string more = std::to_string(count) + " more ";
    switch (kind) {
    case LoadProblemKind::FileUnreadable:
        return more + "files that could not be read";
    case LoadProblemKind::FileVanished:
        return more + "files gone before they could be read";
    case LoadProblemKind::NotAFile:
        return more + "entries named like profiles that are no regular files";
    case LoadProblemKind::WrongVersion:
        return more + "files of another format version";
    case LoadProblemKind::TooShort:
        return more + "files too short to hold a format version";
    case LoadProblemKind::BeyondSlots:
        return more + "files beyond the " + std::to_string(kMaxProfiles) + " slots";
    default:
        return more + "problems with the Profiles folder";
    }
}

bool IsFolderProblem(LoadProblemKind kind) {
    return kind == LoadProblemKind::FolderMissing || kind == LoadProblemKind::FolderNotAFolder ||
           kind == LoadProblemKind::FolderUnreadable;
}

std::string ProblemText(const LoadProblem& problem) {
    return kEnglishProblemWords.Problem(problem);
}

std::string ProblemWords::Problem(const LoadProblem& problem) const {
    switch (problem.Kind) {
    case LoadProblemKind::FolderMissing:
        return "Profiles folder not found: " + problem.File;
    case LoadProblemKind::FolderNotAFolder:
        return "Profiles folder is not a folder: " + problem.File;
    case LoadProblemKind::FolderUnreadable:
        return "Profiles folder cannot be listed (" + problem.Reason + "): " + problem.File;
    case LoadProblemKind::FileUnreadable:
    case LoadProblemKind::NotAFile:
        return problem.File + ": " + problem.Reason;
    case LoadProblemKind::FileVanished:
        return problem.File + ": gone before it could be read";
    case LoadProblemKind::WrongVersion:
        return problem.File + ": format version " + problem.Reason + ", not " +
               std::to_string(kProfileFormatVersion);
    case LoadProblemKind::TooShort:
        return problem.File + ": too short to hold a format version";
    case LoadProblemKind::BeyondSlots:
        return problem.File + ": beyond the " + std::to_string(kMaxProfiles) + " slots";
    }
    return problem.File + ": " + problem.Reason;
}

std::vector<std::string> ProblemLines(const std::vector<LoadProblem>& problems) {
    return ProblemLines(problems, kEnglishProblemWords);
}

std::vector<std::string> ProblemLines(const std::vector<LoadProblem>& problems, const ProblemWords& words) {
    constexpr std::size_t kShownPerKind = 5;
    std::map<LoadProblemKind, std::size_t> total;
    for (const auto& problem : problems) {
        ++total[problem.Kind];
    }
    std::vector<std::string> lines;
    std::map<LoadProblemKind, std::size_t> seen;
    for (const auto& problem : problems) {
        const std::size_t number = ++seen[problem.Kind];
        if (number <= kShownPerKind) {
            lines.push_back(words.Problem(problem));
        } else if (number == kShownPerKind + 1) {
            lines.push_back(words.More(problem.Kind, total[problem.Kind] - kShownPerKind));
        }
    }
    return lines;
}

} // namespace velmar
