// The committed example data folder is exactly what velmar-make-examples
// writes, and it loads as a realistic set of profiles.

#include "common/Paths.h"
#include "profiles/ProfileStore.h"
#include "tests/profiles/ProfileFiles.h"
#include "tools/make-examples/ExampleProfiles.h"

#include <algorithm>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#ifndef VELMAR_SOURCE_ROOT
#error "VELMAR_SOURCE_ROOT must name the project's source folder"
#endif

namespace velmar::test {
namespace {

using ::testing::ElementsAre;

const std::filesystem::path kCommitted =
    std::filesystem::path(VELMAR_SOURCE_ROOT) / "examples" / "Project" / "Profiles";

std::vector<std::string> FilesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(ExampleProfiles, CommittedFilesAreExactlyWhatTheGeneratorWrites) {
    TempDir fresh;
    auto written = examples::WriteExampleProfiles(PathToUtf8(fresh.Path() / "Profiles"));
    std::sort(written.begin(), written.end());

    ASSERT_EQ(FilesIn(fresh.Path() / "Profiles"), written);
    ASSERT_EQ(FilesIn(kCommitted), written)
        << "regenerate with: velmar-make-examples examples/Project/Profiles";
    for (const auto& name : written) {
        SCOPED_TRACE(name);
        EXPECT_EQ(ReadFileBytes(fresh.Path() / "Profiles" / name), ReadFileBytes(kCommitted / name))
            << "regenerate with: velmar-make-examples examples/Project/Profiles";
    }
}

TEST(ExampleProfiles, LoadSortedWithActiveAndInactiveProfilesAndPeriods) {
    ProfileStore store{DataFolder(PathToUtf8(kCommitted.parent_path()))};
    const std::int16_t count = store.LoadAllProfiles().NumberOfProfiles;
    const auto& Profiles = store.Profiles();
    const auto& TimeSchedules = store.TimeSchedules();

    ASSERT_EQ(count, 8);
    std::vector<std::string> rows;
    int periods = 0;
    for (int i = 0; i < count; ++i) {
        rows.push_back((Profiles[i].Active != 0 ? "+ " : "- ") + Profiles[i].Name);
        ASSERT_TRUE(TimeSchedules[i]);
        for (std::int16_t dayType = 0; dayType < 23; ++dayType) {
            periods += TimeSchedules[i]->Periods(dayType).Count();
        }
    }
    EXPECT_THAT(rows, ElementsAre("- Kontor dagtid", "+ Nattlarm Lager", "- Reception kv\u00e4ll",
                                  "+ Server room", "+ Weekend patrol", "- \u00c4ldreboende natt",
                                  "+ \u00c5sa hemtj\u00e4nst", "- \u00d6land sommarhus"));
    EXPECT_GT(periods, 30);
}

} // namespace
} // namespace velmar::test
