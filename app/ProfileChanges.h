#pragma once

// What changed between two loads of the profiles, and the one desktop
// notification that sums it up (shown only when the user asked for it with
// --notify or the tray menu).

#include "report/ReloadSnapshot.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmar {

// What one load showed: the profiles in list order and the first problem the
// user was shown (none when the load met no problem).
struct LoadState {
    std::vector<ProfileState> Profiles;
    std::optional<std::string> FirstProblem;
};

// The differences between an earlier and a later load. Profiles are matched
// by their file: a profile renamed in its file is neither gone nor new.
struct ProfileChanges {
    std::vector<std::string> TurnedActive;   // names, in the later load's order
    std::vector<std::string> TurnedInactive; // names, in the later load's order
    std::vector<std::string> Appeared;       // names, in the later load's order
    std::vector<std::string> Disappeared;    // names, in the earlier load's order
    // The later load's first problem, when the earlier one met none.
    std::optional<std::string> ProblemAppeared;
    // The earlier load met problems and the later one none.
    bool ProblemsMended = false;

    bool Empty() const;
    bool operator==(const ProfileChanges&) const = default;
};

// The changes from `before` to `after`. Without an earlier load (the first
// load after the start) no profile counts as changed: only a problem does,
// which the user should hear of even then.
ProfileChanges CompareLoads(const LoadState* before, const LoadState& after);

// The words of a change notification. These are the English ones; a front end
// that shows the user's language overrides them all.
class ChangeNotificationWords {
public:
    virtual ~ChangeNotificationWords() = default;
    virtual std::string Title() const;
    // Each line gets the names already joined ("Nattlarm Lager, Server room").
    virtual std::string TurnedActive(std::string_view names) const;
    virtual std::string TurnedInactive(std::string_view names) const;
    virtual std::string Appeared(std::string_view names) const;
    virtual std::string Disappeared(std::string_view names) const;
    virtual std::string ProblemAppeared(std::string_view problem) const;
    virtual std::string ProblemsMended() const;
    // The first names of a longer list and how many are left out: "A, B, C, D, E and 3 more".
    virtual std::string NamesAndMore(std::string_view names, std::size_t more) const;
    virtual std::string_view NameSeparator() const { return ", "; }
};

// A desktop notification: a title and a body of plain-text lines joined by
// line feeds.
struct Notification {
    std::string Title;
    std::string Body;

    bool operator==(const Notification&) const = default;
};

// How many names one line of a notification names before "and N more".
constexpr std::size_t kNotificationNames = 5;

// One notification for all the changes of a reload, a line per kind of change
// in the order active, inactive, new, gone, problem; none when nothing changed.
std::optional<Notification> ChangeNotification(const ProfileChanges& changes,
                                               const ChangeNotificationWords& words);

} // namespace velmar
