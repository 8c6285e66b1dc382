// The event stream: the full state first, then one line for each reload that
// changed something, over a scripted sequence of loads; nothing for a reload
// that changed nothing.

#include "report/WatchEvents.h"

#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace velmar {
namespace {

TEST(WatchEvents, AScriptedSequenceOfChanges) {
    const LoadProblem unreadable{LoadProblemKind::FileUnreadable, "Profile_0003.dat", "permission denied"};
    ReloadSnapshot load;
    load.Folder = "/srv/alarm/Project/";
    load.Profiles = {{"Profile_0002.dat", "Kontor", false}, {"Profile_0001.dat", "Natt \"1\"", true}};

    struct Step {
        const char* What;
        std::function<void(ReloadSnapshot&)> Change;
        std::optional<std::string> Line;
    };
    const std::vector<Step> steps = {
        {"the same files again", [](ReloadSnapshot&) {}, std::nullopt},
        {"an active flag changes", [](ReloadSnapshot& s) { s.Profiles[1].Active = false; },
         R"({"time":"T","event":"change","appeared":[],"disappeared":[],)"
         R"("changed":[{"file":"Profile_0001.dat","name":"Natt \"1\"","active":false}],)"
         R"("problemsAppeared":[],"problemsGone":[]})"
         "\n"},
        {"a profile appears and a file cannot be read",
         [&](ReloadSnapshot& s) {
             s.Profiles.insert(s.Profiles.begin(), {"Profile_0004.dat", "Alfa", true});
             s.Problems = {unreadable};
         },
         R"({"time":"T","event":"change","appeared":[{"file":"Profile_0004.dat","name":"Alfa","active":true}],)"
         R"("disappeared":[],"changed":[],"problemsAppeared":[{"kind":"fileUnreadable","file":"Profile_0003.dat",)"
         R"("text":"Profile_0003.dat: permission denied"}],"problemsGone":[]})"
         "\n"},
        {"the time of the load alone changes",
         [](ReloadSnapshot& s) {
             s.ReloadTime += 5;
             ++s.Reloads;
         },
         std::nullopt},
        {"a profile disappears, another is renamed, the problem goes",
         [](ReloadSnapshot& s) {
             s.Profiles.erase(s.Profiles.begin() + 1);
             s.Profiles[1].Name = "Natt";
             s.Problems.clear();
         },
         R"({"time":"T","event":"change","appeared":[],)"
         R"("disappeared":[{"file":"Profile_0002.dat","name":"Kontor","active":false}],)"
         R"("changed":[{"file":"Profile_0001.dat","name":"Natt","active":false}],"problemsAppeared":[],)"
         R"("problemsGone":[{"kind":"fileUnreadable","file":"Profile_0003.dat",)"
         R"("text":"Profile_0003.dat: permission denied"}]})"
         "\n"},
    };

    EXPECT_EQ(WatchEventLine(nullptr, load, "2026-12-07T14:05:09+01:00"),
              R"({"time":"2026-12-07T14:05:09+01:00","event":"state","folder":"/srv/alarm/Project/",)"
              R"("profiles":[{"file":"Profile_0002.dat","name":"Kontor","active":false},)"
              R"({"file":"Profile_0001.dat","name":"Natt \"1\"","active":true}],"problems":[]})"
              "\n");
    for (const Step& step : steps) {
        ReloadSnapshot next = load;
        step.Change(next);
        EXPECT_EQ(WatchEventLine(&load, next, "T"), step.Line) << step.What;
        load = next;
    }
}

TEST(WatchEvents, EqualProblemsAreCountedNotMerged) {
    const LoadProblem beyond{LoadProblemKind::BeyondSlots, "Profile_0201.dat", ""};
    ReloadSnapshot before;
    before.Problems = {beyond};
    ReloadSnapshot after;
    after.Problems = {beyond, beyond};
    const auto line = WatchEventLine(&before, after, "T");
    ASSERT_TRUE(line);
    EXPECT_NE(line->find(R"("problemsAppeared":[{"kind":"beyondSlots")"), std::string::npos) << *line;
    EXPECT_NE(line->find(R"("problemsGone":[])"), std::string::npos) << *line;
}

} // namespace
} // namespace velmar
