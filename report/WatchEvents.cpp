#include "report/WatchEvents.h"

#include "common/ConsoleText.h"
#include "report/ProfileList.h"

#include <algorithm>
#include <map>
#include <tuple>
#include <vector>

namespace velmar {

namespace {

std::string ProfileJson(const ProfileState& profile) {
    return "{\"file\":" + JsonString(profile.File) + ",\"name\":" + JsonString(profile.Name) +
           ",\"active\":" + (profile.Active ? "true" : "false") + "}";
}

std::string ProblemJson(const LoadProblem& problem) {
    return "{\"kind\":" + JsonString(ProblemKindName(problem.Kind)) +
           ",\"file\":" + JsonString(problem.File) + ",\"text\":" + JsonString(ProblemText(problem)) + "}";
}

template <typename Item, typename ToJson>
std::string JsonList(const std::vector<const Item*>& items, ToJson toJson) {
    std::string json = "[";
    for (const Item* item : items) {
        if (json.size() > 1) {
            json += ",";
        }
        json += toJson(*item);
    }
    return json + "]";
}

using ProblemKey = std::tuple<LoadProblemKind, std::string, std::string>;

ProblemKey KeyOf(const LoadProblem& problem) {
    return {problem.Kind, problem.File, problem.Reason};
}

// The problems of `from` that `other` lacks, counting equal problems, in
// the order of `from`.
std::vector<const LoadProblem*> ProblemsMissingFrom(const std::vector<LoadProblem>& from,
                                                    const std::vector<LoadProblem>& other) {
    std::map<ProblemKey, std::size_t> available;
    for (const LoadProblem& problem : other) {
        ++available[KeyOf(problem)];
    }
    std::vector<const LoadProblem*> missing;
    for (const LoadProblem& problem : from) {
        auto& count = available[KeyOf(problem)];
        if (count > 0) {
            --count;
        } else {
            missing.push_back(&problem);
        }
    }
    return missing;
}

std::string StateLine(const ReloadSnapshot& current, std::string_view time) {
    std::vector<const ProfileState*> profiles;
    for (const ProfileState& profile : current.Profiles) {
        profiles.push_back(&profile);
    }
    std::vector<const LoadProblem*> problems;
    for (const LoadProblem& problem : current.Problems) {
        problems.push_back(&problem);
    }
    return R"({"time":)" + JsonString(time) + R"(,"event":"state","folder":)" + JsonString(current.Folder) +
           ",\"profiles\":" + JsonList(profiles, ProfileJson) +
           ",\"problems\":" + JsonList(problems, ProblemJson) + "}\n";
}

} // namespace

std::optional<std::string> WatchEventLine(const ReloadSnapshot* previous, const ReloadSnapshot& current,
                                          std::string_view time) {
    if (previous == nullptr) {
        return StateLine(current, time);
    }

    std::map<std::string_view, const ProfileState*> before;
    for (const ProfileState& profile : previous->Profiles) {
        before.emplace(profile.File, &profile);
    }
    std::map<std::string_view, const ProfileState*> now;
    for (const ProfileState& profile : current.Profiles) {
        now.emplace(profile.File, &profile);
    }

    std::vector<const ProfileState*> appeared;
    std::vector<const ProfileState*> changed;
    for (const ProfileState& profile : current.Profiles) {
        const auto was = before.find(profile.File);
        if (was == before.end()) {
            appeared.push_back(&profile);
        } else if (!(*was->second == profile)) {
            changed.push_back(&profile);
        }
    }
    std::vector<const ProfileState*> disappeared;
    for (const ProfileState& profile : previous->Profiles) {
        if (!now.contains(profile.File)) {
            disappeared.push_back(&profile);
        }
    }
    const auto problemsAppeared = ProblemsMissingFrom(current.Problems, previous->Problems);
    const auto problemsGone = ProblemsMissingFrom(previous->Problems, current.Problems);

    if (appeared.empty() && disappeared.empty() && changed.empty() && problemsAppeared.empty() &&
        problemsGone.empty()) {
        return std::nullopt;
    }
    return R"({"time":)" + JsonString(time) + R"(,"event":"change","appeared":)" +
           JsonList(appeared, ProfileJson) + ",\"disappeared\":" + JsonList(disappeared, ProfileJson) +
           ",\"changed\":" + JsonList(changed, ProfileJson) +
           ",\"problemsAppeared\":" + JsonList(problemsAppeared, ProblemJson) +
           ",\"problemsGone\":" + JsonList(problemsGone, ProblemJson) + "}\n";
}

} // namespace velmar
