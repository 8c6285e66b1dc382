#include "app/ProfileChanges.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace velmar {
namespace {

ProfileState Active(const std::string& file, const std::string& name) {
    return {file, name, true};
}
ProfileState Inactive(const std::string& file, const std::string& name) {
    return {file, name, false};
}

const std::string kDenied = "Profile_0009.dat: permission denied";

TEST(CompareLoads, ChangesBetweenTwoLoads) {
    const LoadState base{{Active("Profile_0001.dat", "Nattlarm"), Inactive("Profile_0002.dat", "Kontor")},
                         {}};
    struct Case {
        const char* Title;
        LoadState Before;
        LoadState After;
        ProfileChanges Expected;
    };
    const std::vector<Case> cases = {
        {"nothing changed", base, base, {}},
        {"one turned active",
         base,
         {{Active("Profile_0001.dat", "Nattlarm"), Active("Profile_0002.dat", "Kontor")}, {}},
         {{"Kontor"}, {}, {}, {}, {}, false}},
        {"one turned inactive",
         base,
         {{Inactive("Profile_0001.dat", "Nattlarm"), Inactive("Profile_0002.dat", "Kontor")}, {}},
         {{}, {"Nattlarm"}, {}, {}, {}, false}},
        {"one new, one gone",
         base,
         {{Active("Profile_0001.dat", "Nattlarm"), Inactive("Profile_0003.dat", "Reception")}, {}},
         {{}, {}, {"Reception"}, {"Kontor"}, {}, false}},
        {"renamed in its file: not new, not gone",
         base,
         {{Active("Profile_0001.dat", "Nattlarm Lager"), Inactive("Profile_0002.dat", "Kontor")}, {}},
         {}},
        {"renamed and turned active: under its new name",
         base,
         {{Active("Profile_0001.dat", "Nattlarm"), Active("Profile_0002.dat", "Kontor dagtid")}, {}},
         {{"Kontor dagtid"}, {}, {}, {}, {}, false}},
        {"the same name in another file is another profile",
         base,
         {{Active("Profile_0001.dat", "Nattlarm"), Inactive("Profile_0004.dat", "Kontor")}, {}},
         {{}, {}, {"Kontor"}, {"Kontor"}, {}, false}},
        {"the first problem appears", base, {base.Profiles, kDenied}, {{}, {}, {}, {}, kDenied, false}},
        {"another problem while there was one: nothing new",
         {base.Profiles, "Profile_0008.dat: permission denied"},
         {base.Profiles, kDenied},
         {}},
        {"all problems mended", {base.Profiles, kDenied}, base, {{}, {}, {}, {}, {}, true}},
        {"the folder is gone: every profile with it, and the problem",
         base,
         {{}, "Profiles folder not found: /srv/alarm/Project/Profiles/"},
         {{},
          {},
          {},
          {"Nattlarm", "Kontor"},
          "Profiles folder not found: /srv/alarm/Project/Profiles/",
          false}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CompareLoads(&c.Before, c.After), c.Expected) << c.Title;
    }
}

TEST(CompareLoads, TheFirstLoadTellsOnlyOfAProblem) {
    const LoadState quiet{{Active("Profile_0001.dat", "Nattlarm")}, {}};
    EXPECT_TRUE(CompareLoads(nullptr, quiet).Empty());
    const LoadState troubled{{Active("Profile_0001.dat", "Nattlarm")}, kDenied};
    EXPECT_EQ(CompareLoads(nullptr, troubled), (ProfileChanges{{}, {}, {}, {}, kDenied, false}));
}

TEST(ChangeNotification, OneNotificationSumsUpAReload) {
    const ChangeNotificationWords english;
    const std::vector<std::string> seven = {"A", "B", "C", "D", "E", "F", "G"};
    struct Case {
        const char* Title;
        ProfileChanges Changes;
        std::optional<std::string> Body;
    };
    const std::vector<Case> cases = {
        {"nothing changed: no notification", {}, std::nullopt},
        {"one turned active", {{"Server room"}, {}, {}, {}, {}, false}, "Active now: Server room"},
        {"five names in full",
         {{}, {"A", "B", "C", "D", "E"}, {}, {}, {}, false},
         "Inactive now: A, B, C, D, E"},
        {"seven: five named and the rest counted",
         {seven, {}, {}, {}, {}, false},
         "Active now: A, B, C, D, E and 2 more"},
        {"one line per kind, in a fixed order",
         {{"A"}, {"B"}, {"C"}, {"D"}, kDenied, false},
         "Active now: A\nInactive now: B\nNew: C\nGone: D\nProblem: " + kDenied},
        {"mended", {{}, {}, {}, {}, {}, true}, "All problems mended"},
    };
    for (const auto& c : cases) {
        const auto notification = ChangeNotification(c.Changes, english);
        ASSERT_EQ(notification.has_value(), c.Body.has_value()) << c.Title;
        if (notification) {
            EXPECT_EQ(notification->Title, "Profiles changed") << c.Title;
            EXPECT_EQ(notification->Body, *c.Body) << c.Title;
        }
    }
}

} // namespace
} // namespace velmar
