// The Prometheus text of a load: the whole text for a small load, and label
// values that keep to the format whatever a name holds.

#include "report/Metrics.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace velmar {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

TEST(Metrics, EveryFamilyWithHelpTypeAndTheFolderOnEverySample) {
    ReloadSnapshot snapshot;
    snapshot.Folder = "/srv/alarm/Project/";
    snapshot.Profiles = {{"Profile_0002.dat", "Kontor", false}, {"Profile_0001.dat", "Natt", true}};
    snapshot.Problems = {{LoadProblemKind::FileUnreadable, "Profile_0003.dat", "permission denied"},
                         {LoadProblemKind::WrongVersion, "Profile_0004.dat", "3"},
                         {LoadProblemKind::WrongVersion, "Profile_0005.dat", "5"}};
    snapshot.ReloadTime = 1765116309.25;
    snapshot.ReloadDuration = 0.0023;
    snapshot.Reloads = 12;
    const std::string f = R"(folder="/srv/alarm/Project/")";
    EXPECT_EQ(
        FormatMetrics(snapshot),
        "# HELP velmar_profile_active Whether the profile is active now (1) or inactive (0), as its file "
        "says.\n"
        "# TYPE velmar_profile_active gauge\n"
        "velmar_profile_active{" +
            f +
            R"(,file="Profile_0002.dat",profile="Kontor"} 0)"
            "\n"
            "velmar_profile_active{" +
            f +
            R"(,file="Profile_0001.dat",profile="Natt"} 1)"
            "\n"
            "# HELP velmar_profiles Profiles the last reload loaded.\n"
            "# TYPE velmar_profiles gauge\n"
            "velmar_profiles{" +
            f +
            "} 2\n"
            "# HELP velmar_problems Problems the last reload met (a profile file it could not read or "
            "skipped, a Profiles folder it could not list), by kind.\n"
            "# TYPE velmar_problems gauge\n"
            "velmar_problems{" +
            f +
            R"(,kind="folderMissing"} 0)"
            "\n"
            "velmar_problems{" +
            f +
            R"(,kind="folderNotAFolder"} 0)"
            "\n"
            "velmar_problems{" +
            f +
            R"(,kind="folderUnreadable"} 0)"
            "\n"
            "velmar_problems{" +
            f +
            R"(,kind="fileUnreadable"} 1)"
            "\n"
            "velmar_problems{" +
            f +
            R"(,kind="fileVanished"} 0)"
            "\n"
            "velmar_problems{" +
            f +
            R"(,kind="notAFile"} 0)"
            "\n"
            "velmar_problems{" +
            f +
            R"(,kind="wrongVersion"} 2)"
            "\n"
            "velmar_problems{" +
            f +
            R"(,kind="tooShort"} 0)"
            "\n"
            "velmar_problems{" +
            f +
            R"(,kind="beyondSlots"} 0)"
            "\n"
            "# HELP velmar_folder_readable Whether the last reload could list the Profiles folder (1) or not "
            "(0).\n"
            "# TYPE velmar_folder_readable gauge\n"
            "velmar_folder_readable{" +
            f +
            "} 1\n"
            "# HELP velmar_last_reload_timestamp_seconds When the last reload ended, in seconds since "
            "1970-01-01 00:00 UTC.\n"
            "# TYPE velmar_last_reload_timestamp_seconds gauge\n"
            "velmar_last_reload_timestamp_seconds{" +
            f +
            "} 1765116309.25\n"
            "# HELP velmar_reloads_total Reloads of the profiles since the program started.\n"
            "# TYPE velmar_reloads_total counter\n"
            "velmar_reloads_total{" +
            f +
            "} 12\n"
            "# HELP velmar_reload_duration_seconds How long the last reload took to load the profiles.\n"
            "# TYPE velmar_reload_duration_seconds gauge\n"
            "velmar_reload_duration_seconds{" +
            f + "} 0.0023\n");
}

TEST(Metrics, AFolderThatCannotBeListedIsNotReadableAndItsProblemIsCounted) {
    ReloadSnapshot snapshot;
    snapshot.Folder = "/srv/missing/";
    snapshot.Problems = {{LoadProblemKind::FolderMissing, "/srv/missing/Profiles/", ""}};
    const std::string text = FormatMetrics(snapshot);
    EXPECT_THAT(text, HasSubstr("velmar_folder_readable{folder=\"/srv/missing/\"} 0\n"));
    EXPECT_THAT(text, HasSubstr("velmar_problems{folder=\"/srv/missing/\",kind=\"folderMissing\"} 1\n"));
    EXPECT_THAT(text, HasSubstr("velmar_profiles{folder=\"/srv/missing/\"} 0\n"));
    EXPECT_THAT(text, Not(HasSubstr("velmar_profile_active{")));
}

TEST(Metrics, LabelValuesEscapeWhatTheFormatRequiresAndStayUtf8) {
    struct Case {
        std::string Text;
        std::string Expected;
    };
    const std::vector<Case> cases = {
        {"Natt", "Natt"},
        {R"(Larm "Norr")", R"(Larm \"Norr\")"},
        {R"(C:\Larm\)", R"(C:\\Larm\\)"},
        {"Rad 1\nRad 2", R"(Rad 1\nRad 2)"},
        {"cr\rtab\t", "cr\rtab\t"},                               // the format escapes nothing else
        {"V\xC3\xA4st \xE2\x82\xAC", "V\xC3\xA4st \xE2\x82\xAC"}, // Väst € as code page 1252 gives it
        {"\xC2\x81", "\xC2\x81"},                                 // an undefined code-page byte, as U+0081
        {"bad \xFF\xC3", "bad \xEF\xBF\xBD\xEF\xBF\xBD"},         // bytes of no UTF-8 sequence
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MetricLabelValue(c.Text), c.Expected) << c.Text;
    }
}

TEST(Metrics, NumbersAreTheShortestTextThatReadsBack) {
    EXPECT_EQ(MetricNumber(0), "0");
    EXPECT_EQ(MetricNumber(200), "200");
    EXPECT_EQ(MetricNumber(1765116309.125), "1765116309.125");
    EXPECT_EQ(MetricNumber(0.1), "0.1");
}

} // namespace
} // namespace velmar
