#include "app/ProfileChanges.h"

#include <map>
#include <set>

namespace velmar {

bool ProfileChanges::Empty() const {
    return TurnedActive.empty() && TurnedInactive.empty() && Appeared.empty() && Disappeared.empty() &&
           !ProblemAppeared && !ProblemsMended;
}

ProfileChanges CompareLoads(const LoadState* before, const LoadState& after) {
    ProfileChanges changes;
    if (before == nullptr) {
        changes.ProblemAppeared = after.FirstProblem;
        return changes;
    }
    std::map<std::string_view, const ProfileState*> earlier;
    for (const auto& profile : before->Profiles) {
        earlier.emplace(profile.File, &profile);
    }
    std::set<std::string_view> later;
    for (const auto& profile : after.Profiles) {
        later.insert(profile.File);
        const auto found = earlier.find(profile.File);
        if (found == earlier.end()) {
            changes.Appeared.push_back(profile.Name);
        } else if (profile.Active && !found->second->Active) {
            changes.TurnedActive.push_back(profile.Name);
        } else if (!profile.Active && found->second->Active) {
            changes.TurnedInactive.push_back(profile.Name);
        }
    }
    for (const auto& profile : before->Profiles) {
        if (later.count(profile.File) == 0) {
            changes.Disappeared.push_back(profile.Name);
        }
    }
    if (!before->FirstProblem && after.FirstProblem) {
        changes.ProblemAppeared = after.FirstProblem;
    }
    changes.ProblemsMended = before->FirstProblem && !after.FirstProblem;
    return changes;
}

std::string ChangeNotificationWords::Title() const {
    return "Profiles changed";
}
std::string ChangeNotificationWords::TurnedActive(std::string_view names) const {
    return "Active now: " + std::string(names);
}
std::string ChangeNotificationWords::TurnedInactive(std::string_view names) const {
    return "Inactive now: " + std::string(names);
}
std::string ChangeNotificationWords::Appeared(std::string_view names) const {
    return "New: " + std::string(names);
}
std::string ChangeNotificationWords::Disappeared(std::string_view names) const {
    return "Gone: " + std::string(names);
}
std::string ChangeNotificationWords::ProblemAppeared(std::string_view problem) const {
    return "Problem: " + std::string(problem);
}
std::string ChangeNotificationWords::ProblemsMended() const {
    return "All problems mended";
}
std::string ChangeNotificationWords::NamesAndMore(std::string_view names, std::size_t more) const {
    return std::string(names) + " and " + std::to_string(more) + " more";
}

namespace {

// At most kNotificationNames names, then how many more there are.
std::string NameList(const std::vector<std::string>& names, const ChangeNotificationWords& words) {
    std::string list;
    for (std::size_t i = 0; i < names.size() && i < kNotificationNames; ++i) {
        if (i > 0) {
            list.append(words.NameSeparator());
        }
        list.append(names[i]);
    }
    if (names.size() > kNotificationNames) {
        return words.NamesAndMore(list, names.size() - kNotificationNames);
    }
    return list;
}

} // namespace

std::optional<Notification> ChangeNotification(const ProfileChanges& changes,
                                               const ChangeNotificationWords& words) {
    if (changes.Empty()) {
        return std::nullopt;
    }
    std::vector<std::string> lines;
    if (!changes.TurnedActive.empty()) {
        lines.push_back(words.TurnedActive(NameList(changes.TurnedActive, words)));
    }
    if (!changes.TurnedInactive.empty()) {
        lines.push_back(words.TurnedInactive(NameList(changes.TurnedInactive, words)));
    }
    if (!changes.Appeared.empty()) {
        lines.push_back(words.Appeared(NameList(changes.Appeared, words)));
    }
    if (!changes.Disappeared.empty()) {
        lines.push_back(words.Disappeared(NameList(changes.Disappeared, words)));
    }
    if (changes.ProblemAppeared) {
        lines.push_back(words.ProblemAppeared(*changes.ProblemAppeared));
    }
    if (changes.ProblemsMended) {
        lines.push_back(words.ProblemsMended());
    }
    Notification notification{words.Title(), {}};
    for (const auto& line : lines) {
        if (!notification.Body.empty()) {
            notification.Body += '\n';
        }
        notification.Body += line;
    }
    return notification;
}

} // namespace velmar
