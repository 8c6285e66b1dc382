// The check for Nagios-compatible systems: each state for the load that
// gives it, the text naming every failed condition, and a line that keeps to
// the plugin output grammar whatever a name holds.

#include "report/Check.h"

#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <regex>
#include <utility>
#include <vector>

namespace velmar {
namespace {

// "SERVICE STATUS - text" and optional performance data, each item
// 'label'=value[UOM];[warn];[crit];[min];[max] with thresholds in range form.
bool FollowsPluginGrammar(const std::string& line) {
    static const std::regex grammar(
        R"(VELMAR (OK|WARNING|CRITICAL|UNKNOWN) - [^|\n]+)"
        R"(( \| ('[^'=]+'|[^ '=]+)=-?[0-9.]+(us|ms|s|%|B|KB|MB|TB|c)?(;@?(~|-?[0-9.]+)?(:(-?[0-9.]+)?)?){0,4})"
        R"(( ('[^'=]+'|[^ '=]+)=-?[0-9.]+(us|ms|s|%|B|KB|MB|TB|c)?(;@?(~|-?[0-9.]+)?(:(-?[0-9.]+)?)?){0,4})*)?\n)");
    return std::regex_match(line, grammar);
}

ReloadSnapshot EightProfiles() {
    ReloadSnapshot snapshot;
    snapshot.Folder = "/srv/alarm/Project/";
    const std::vector<std::pair<std::string, bool>> profiles = {
        {"Kontor", false}, {"Lager", true},   {"Natt", false},       {"Reception", true},
        {"Server", false}, {"Weekend", true}, {"\xC3\x85sa", false}, {"\xC3\x96land", false}};
    int number = 1;
    for (const auto& [name, active] : profiles) {
        snapshot.Profiles.push_back({"Profile_000" + std::to_string(number++) + ".dat", name, active});
    }
    return snapshot;
}

TEST(Check, EachStateForTheLoadThatGivesIt) {
    struct Case {
        const char* Name;
        std::function<void(ReloadSnapshot&, CheckCriteria&)> Setup;
        CheckStatus Status;
        std::string Line;
    };
    const std::vector<Case> cases = {
        {"nothing demanded", [](auto&, auto&) {}, CheckStatus::Ok,
         "VELMAR OK - 3 of 8 profiles active | active=3;;;0;8 profiles=8;;;0 problems=0;0;;0\n"},
        {"every demand met",
         [](auto&, CheckCriteria& c) {
             c.Active = {"Lager", "Weekend"};
             c.Inactive = {"Natt"};
             c.MinActive = 3;
         },
         CheckStatus::Ok,
         "VELMAR OK - 3 of 8 profiles active | active=3;;3:;0;8 profiles=8;;;0 problems=0;0;;0\n"},
        {"a profile that should be active is not",
         [](auto&, CheckCriteria& c) {
             c.Active = {"Natt", "Lager"};
         },
         CheckStatus::Critical,
         "VELMAR CRITICAL - \"Natt\" is inactive; 3 of 8 profiles active | active=3;;;0;8 profiles=8;;;0 "
         "problems=0;0;;0\n"},
        {"a profile that should be active is missing", [](auto&, CheckCriteria& c) { c.Active = {"natt"}; },
         CheckStatus::Critical,
         "VELMAR CRITICAL - no profile \"natt\"; 3 of 8 profiles active | active=3;;;0;8 profiles=8;;;0 "
         "problems=0;0;;0\n"},
        {"too few active", [](auto&, CheckCriteria& c) { c.MinActive = 4; }, CheckStatus::Critical,
         "VELMAR CRITICAL - fewer than 4 active; 3 of 8 profiles active | active=3;;4:;0;8 profiles=8;;;0 "
         "problems=0;0;;0\n"},
        {"a profile that should be inactive is active",
         [](auto&, CheckCriteria& c) { c.Inactive = {"Lager"}; }, CheckStatus::Warning,
         "VELMAR WARNING - \"Lager\" is active; 3 of 8 profiles active | active=3;;;0;8 profiles=8;;;0 "
         "problems=0;0;;0\n"},
        {"more problems than allowed",
         [](ReloadSnapshot& s, auto&) {
             s.Problems = {{LoadProblemKind::FileUnreadable, "Profile_0009.dat", "permission denied"},
                           {LoadProblemKind::TooShort, "Profile_0010.dat", ""}};
         },
         CheckStatus::Warning,
         "VELMAR WARNING - 2 problems (Profile_0009.dat: permission denied, ...); 3 of 8 profiles active | "
         "active=3;;;0;8 profiles=8;;;0 problems=2;0;;0\n"},
        {"problems within what is allowed",
         [](ReloadSnapshot& s, CheckCriteria& c) {
             s.Problems = {{LoadProblemKind::TooShort, "Profile_0010.dat", ""}};
             c.MaxProblems = 1;
         },
         CheckStatus::Ok,
         "VELMAR OK - 3 of 8 profiles active | active=3;;;0;8 profiles=8;;;0 problems=1;1;;0\n"},
        {"critical and warning together: the critical first",
         [](auto&, CheckCriteria& c) {
             c.Active = {"Natt"};
             c.Inactive = {"Lager"};
         },
         CheckStatus::Critical,
         "VELMAR CRITICAL - \"Natt\" is inactive, \"Lager\" is active; 3 of 8 profiles active | "
         "active=3;;;0;8 "
         "profiles=8;;;0 problems=0;0;;0\n"},
        {"a folder that cannot be read",
         [](ReloadSnapshot& s, CheckCriteria& c) {
             s.Profiles.clear();
             s.Problems = {
                 {LoadProblemKind::FolderUnreadable, "/srv/alarm/Project/Profiles/", "permission denied"}};
             c.Active = {"Natt"};
         },
         CheckStatus::Critical,
         "VELMAR CRITICAL - Profiles folder cannot be listed (permission denied): "
         "/srv/alarm/Project/Profiles/; "
         "0 of 0 profiles active | active=0;;;0;0 profiles=0;;;0 problems=1;0;;0\n"},
    };
    for (const Case& c : cases) {
        ReloadSnapshot snapshot = EightProfiles();
        CheckCriteria criteria;
        c.Setup(snapshot, criteria);
        const CheckResult result = EvaluateCheck(snapshot, criteria);
        EXPECT_EQ(result.Status, c.Status) << c.Name;
        EXPECT_EQ(result.Line, c.Line) << c.Name;
        EXPECT_TRUE(FollowsPluginGrammar(result.Line)) << c.Name << ": " << result.Line;
    }
    EXPECT_EQ(UnknownCheckLine("--min-active needs N"), "VELMAR UNKNOWN - --min-active needs N\n");
}

TEST(Check, ANameCannotBreakTheLineOrStartThePerformanceData) {
    ReloadSnapshot snapshot;
    snapshot.Profiles = {{"Profile_0001.dat", "A|B\nC\x1B", false}};
    CheckCriteria criteria;
    criteria.Active = {"A|B\nC\x1B"};
    const CheckResult result = EvaluateCheck(snapshot, criteria);
    EXPECT_EQ(result.Line, "VELMAR CRITICAL - \"A\xC2\xA6"
                           "B\\nC\\x1B\" is inactive; 0 of 1 profile active | "
                           "active=0;;;0;1 profiles=1;;;0 problems=0;0;;0\n");
    EXPECT_TRUE(FollowsPluginGrammar(result.Line));
    EXPECT_TRUE(FollowsPluginGrammar(UnknownCheckLine("a|b\nc")));
}

} // namespace
} // namespace velmar
