#include "report/Check.h"

#include "common/ConsoleText.h"

#include <algorithm>

namespace velmar {

namespace {

constexpr std::string_view kServiceName = "VELMAR";

std::string Quoted(std::string_view name) {
    return "\"" + CheckText(name) + "\"";
}

std::string Plural(std::size_t count, std::string_view one, std::string_view many) {
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

std::string CheckLine(CheckStatus status, std::string_view text, std::string_view performance) {
    std::string line = std::string(kServiceName) + " " + std::string(CheckStatusWord(status)) + " - ";
    line += text;
    if (!performance.empty()) {
        line += " | ";
        line += performance;
    }
    line += "\n";
    return line;
}

// The profiles of that exact name.
std::vector<const ProfileState*> Named(const ReloadSnapshot& snapshot, const std::string& name) {
    std::vector<const ProfileState*> found;
    for (const ProfileState& profile : snapshot.Profiles) {
        if (profile.Name == name) {
            found.push_back(&profile);
        }
    }
    return found;
}

} // namespace

std::string_view CheckStatusWord(CheckStatus status) {
    switch (status) {
    case CheckStatus::Ok:
        return "OK";
    case CheckStatus::Warning:
        return "WARNING";
    case CheckStatus::Critical:
        return "CRITICAL";
    case CheckStatus::Unknown:
        return "UNKNOWN";
    }
    return "UNKNOWN";
}

std::string CheckText(std::string_view text) {
    const std::string escaped = EscapeConsoleText(text);
    std::string result;
    result.reserve(escaped.size());
    for (const char c : escaped) {
        if (c == '|') {
            result += "\xC2\xA6";
        } else {
            result += c;
        }
    }
    return result;
}

std::string UnknownCheckLine(std::string_view text) {
    return CheckLine(CheckStatus::Unknown, CheckText(text), {});
}

CheckResult EvaluateCheck(const ReloadSnapshot& snapshot, const CheckCriteria& criteria) {
    std::vector<std::string> critical;
    std::vector<std::string> warning;

    const std::size_t loaded = snapshot.Profiles.size();
    const auto active = static_cast<std::size_t>(std::count_if(
        snapshot.Profiles.begin(), snapshot.Profiles.end(), [](const ProfileState& p) { return p.Active; }));

    if (!snapshot.FolderReadable()) {
        for (const LoadProblem& problem : snapshot.Problems) {
            if (IsFolderProblem(problem.Kind)) {
                critical.push_back(CheckText(ProblemText(problem)));
            }
        }
    } else {
        for (const std::string& name : criteria.Active) {
            const auto found = Named(snapshot, name);
            if (found.empty()) {
                critical.push_back("no profile " + Quoted(name));
            } else if (std::any_of(found.begin(), found.end(),
                                   [](const ProfileState* p) { return !p->Active; })) {
                critical.push_back(Quoted(name) + " is inactive");
            }
        }
        for (const std::string& name : criteria.Inactive) {
            const auto found = Named(snapshot, name);
            if (found.empty()) {
                warning.push_back("no profile " + Quoted(name));
            } else if (std::any_of(found.begin(), found.end(),
                                   [](const ProfileState* p) { return p->Active; })) {
                warning.push_back(Quoted(name) + " is active");
            }
        }
    }
    if (criteria.MinActive && active < *criteria.MinActive) {
        critical.push_back("fewer than " + std::to_string(*criteria.MinActive) + " active");
    }
    const std::size_t problems = snapshot.Problems.size();
    if (problems > criteria.MaxProblems) {
        const auto first = std::find_if(snapshot.Problems.begin(), snapshot.Problems.end(),
                                        [](const LoadProblem& p) { return !IsFolderProblem(p.Kind); });
        if (first != snapshot.Problems.end()) {
            warning.push_back(Plural(problems, "problem", "problems") + " (" +
                              CheckText(ProblemText(*first)) + (problems > 1 ? ", ..." : "") + ")");
        } else if (critical.empty()) {
            warning.push_back(Plural(problems, "problem", "problems"));
        }
    }

    CheckStatus status = CheckStatus::Ok;
    if (!critical.empty()) {
        status = CheckStatus::Critical;
    } else if (!warning.empty()) {
        status = CheckStatus::Warning;
    }

    std::string text;
    for (const auto* list : {&critical, &warning}) {
        for (const std::string& reason : *list) {
            text += reason + ", ";
        }
    }
    if (!text.empty()) {
        text.replace(text.size() - 2, 2, "; ");
    }
    text += std::to_string(active) + " of " + Plural(loaded, "profile", "profiles") + " active";

    std::string performance = "active=" + std::to_string(active) + ";;";
    if (criteria.MinActive) {
        performance += std::to_string(*criteria.MinActive) + ":";
    }
    performance += ";0;" + std::to_string(loaded);
    performance += " profiles=" + std::to_string(loaded) + ";;;0";
    performance +=
        " problems=" + std::to_string(problems) + ";" + std::to_string(criteria.MaxProblems) + ";;0";

    return {status, CheckLine(status, text, performance)};
}

} // namespace velmar
