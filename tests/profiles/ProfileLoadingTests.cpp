// Finding, loading and sorting the profile files of a data folder.

#include "common/CodePage.h"
#include "common/FileSystem.h"
#include "profiles/Profiles.h"
#include "tests/profiles/ProfileFiles.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <map>

namespace velmar::test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

class ProfileLoadingTest : public ProfileFolderTest {
protected:
    // File names of the Profiles folder in the order the directory search
    // delivers them, which is the order "found" refers to.
    std::vector<std::string> FoundOrder() const {
        std::vector<std::string> names;
        for (const auto& entry : ListFiles(DataPath + "Profiles" + kPathSeparator, "Profile_????.dat")) {
            names.push_back(entry.Name);
        }
        return names;
    }
};

TEST_F(ProfileLoadingTest, SortsByUpperCasedNameInCodePointOrder) {
    struct Case {
        const char* what;
        std::vector<std::string> names; // written as Profile_0001.dat, Profile_0002.dat, ...
        std::vector<std::string> sorted;
    };
    const std::vector<Case> cases = {
        {"case is ignored", {"beta", "Alpha"}, {"Alpha", "beta"}},
        {"already sorted", {"Alpha", "beta"}, {"Alpha", "beta"}},
        {"\u00c4 before \u00c5 before \u00d6, not Swedish order",
         {"\u00d6land", "\u00c5sa", "\u00c4pple"},
         {"\u00c4pple", "\u00c5sa", "\u00d6land"}},
        {"lower-case Swedish letters upper-case too",
         {"\u00f6land", "\u00e5sa", "\u00e4pple"},
         {"\u00e4pple", "\u00e5sa", "\u00f6land"}},
        {"letters beyond Z come after it", {"\u00c5sa", "Zebra", "zz"}, {"Zebra", "zz", "\u00c5sa"}},
        {"digits and spaces by code", {"b", "B 2", "10", "9", " x", ""}, {"", " x", "10", "9", "b", "B 2"}},
        {"a prefix comes first", {"Server room", "Server", "SERVERS"}, {"Server", "Server room", "SERVERS"}},
        {"reverse order, many passes", {"f", "e", "D", "c", "B", "a"}, {"a", "B", "c", "D", "e", "f"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(ProfilePath(""));
        std::filesystem::create_directory(ProfilePath(""));
        for (std::size_t i = 0; i < c.names.size(); ++i) {
            const auto number = static_cast<std::int16_t>(i + 1);
            std::array<char, 32> file{};
            std::snprintf(file.data(), file.size(), "Profile_%04d.dat", number);
            RawProfile p = MarkedProfile(number, Utf8ToCp1252(c.names[i]));
            Write(file.data(), p);
        }
        EXPECT_EQ(LoadAllProfiles(), static_cast<std::int16_t>(c.names.size()));
        EXPECT_THAT(LoadedNames(), ElementsAreArray(c.sorted));
        ExpectRecordsAndSchedulesPaired();
    }
}

TEST_F(ProfileLoadingTest, EqualNamesKeepTheOrderTheirFilesWereFound) {
    // Many files whose names differ only in letter case: a sort that is not
    // stable, or compares without upper-casing, mixes them up.
    const std::vector<std::string> names = {"abc", "ABC", "Abc", "aBc", "b", "abC", "ABc", "a"};
    for (std::size_t i = 0; i < names.size(); ++i) {
        const auto number = static_cast<std::int16_t>(i + 1);
        std::array<char, 32> file{};
        std::snprintf(file.data(), file.size(), "Profile_%04d.dat", number);
        Write(file.data(), MarkedProfile(number, names[i]));
    }
    // Expected: "a", then every spelling of abc in found order, then "b".
    std::vector<std::string> expected = {"a"};
    for (const auto& file : FoundOrder()) {
        const auto& name = names[static_cast<std::size_t>(std::stoi(file.substr(8, 4)) - 1)];
        if (name.size() == 3) {
            expected.push_back(name);
        }
    }
    expected.emplace_back("b");

    ASSERT_EQ(LoadAllProfiles(), 8);
    EXPECT_THAT(LoadedNames(), ElementsAreArray(expected));
    ExpectRecordsAndSchedulesPaired();
}

TEST_F(ProfileLoadingTest, SkipsFilesThatAreNotProfilesOfThisFormat) {
    Write("Profile_0001.dat", MarkedProfile(1, "Good one"));
    Write("Profile_0009.dat", MarkedProfile(9, "Good two"));

    RawProfile v3 = MarkedProfile(3, "Version three");
    v3.Version = 3;
    RawProfile v5 = MarkedProfile(5, "Version five");
    v5.Version = 5;
    RawProfile v1024 = MarkedProfile(6, "Version 0x0400");
    v1024.Version = 0x0400; // the version word read big-endian would be 4
    Write("Profile_0003.dat", v3);
    Write("Profile_0005.dat", v5);
    Write("Profile_0006.dat", v1024);
    Write("Profile_0007.dat", Bytes{0x04});
    Write("Profile_0008.dat", Bytes{});
    // Names whose four characters are not four ASCII digits, even where a lenient
    // numeric test would accept them.
    for (const char* name : {"Profile_12ab.dat", "Profile_ 1.5.dat", "Profile_+001.dat", "Profile_-001.dat",
                             "Profile_1e01.dat", "Profile_&H1F.dat", "Profile_ 12 .dat", "Profile_0x1F.dat",
                             "Profile_\xd9\xa1\xd9\xa2\xd9\xa3\xd9\xa4.dat" /* Arabic-Indic digits */}) {
        Write(name, MarkedProfile(2, std::string("Wrong name ") + name));
    }
    // Names the pattern does not match at all.
    Write("Profile_00010.dat", MarkedProfile(10, "Five digits"));
    Write("Profile_001.dat", MarkedProfile(11, "Three digits"));
    Write("Profile_0012.dat.bak", MarkedProfile(12, "Backup"));
    Write("Profile_0013.txt", MarkedProfile(13, "Text"));
    Write("XProfile_0014.dat", MarkedProfile(14, "Prefix"));
    // A folder named like a profile.
    std::filesystem::create_directory(ProfilePath("Profile_0004.dat"));

    EXPECT_EQ(LoadAllProfiles(), 2);
    EXPECT_THAT(LoadedNames(), ElementsAre("Good one", "Good two"));
    ExpectRecordsAndSchedulesPaired();
    for (int i = 2; i < kMaxProfiles; ++i) {
        EXPECT_FALSE(TimeSchedules[i]) << "slot " << i;
    }
}

TEST_F(ProfileLoadingTest, FileNamesMatchInAnyLetterCase) {
    Write("PROFILE_0001.DAT", MarkedProfile(1, "Upper"));
    Write("profile_0002.Dat", MarkedProfile(2, "Lower"));
    Write("Profile_0003.dat", MarkedProfile(3, "Usual"));
    ASSERT_EQ(LoadAllProfiles(), 3);
    EXPECT_THAT(LoadedNames(), ElementsAre("Lower", "Upper", "Usual"));
    ExpectRecordsAndSchedulesPaired();

    // Loading by number finds the file whatever its letter case.
    EXPECT_EQ(LoadProfile(0, 1), -1);
    EXPECT_EQ(Profiles[0].Name, "Upper");
    EXPECT_EQ(LoadProfile(0, 2), -1);
    EXPECT_EQ(Profiles[0].Name, "Lower");
}

TEST_F(ProfileLoadingTest, LoadProfileReportsEachOutcome) {
    Write("Profile_0007.dat", MarkedProfile(7, "Seven"));
    RawProfile v3 = MarkedProfile(3, "Three");
    v3.Version = 3;
    Write("Profile_0003.dat", v3);
    Write("Profile_0001.dat", Bytes{0x04});
    Write("Profile_0002.dat", Bytes{0x04, 0x00});

    struct Case {
        std::int16_t slot, number, result;
        bool scheduleAfter;
    };
    for (const Case c :
         {Case{5, 7, -1, true}, Case{5, 3, 0, false}, Case{5, 1, 0, false}, Case{5, 2, -1, true},
          Case{5, 8, 0, false} /* vanished */, Case{5, -7, 0, false}, Case{0, 7, -1, true}}) {
        SCOPED_TRACE(testing::Message() << "slot " << c.slot << " number " << c.number);
        TimeSchedules[c.slot] = std::make_shared<cTimeSchedule>(); // from an earlier load
        EXPECT_EQ(LoadProfile(c.slot, c.number), c.result);
        EXPECT_EQ(static_cast<bool>(TimeSchedules[c.slot]), c.scheduleAfter);
    }
    EXPECT_EQ(Profiles[0].Name, "Seven");
}

TEST_F(ProfileLoadingTest, LoadProfileOutsideTheTableLoadsNothing) {
    Write("Profile_0007.dat", MarkedProfile(7, "Seven"));
    for (const std::int16_t slot :
         {std::int16_t{-1}, std::int16_t{200}, std::int16_t{32767}, std::int16_t{-32768}}) {
        EXPECT_EQ(LoadProfile(slot, 7), 0) << slot;
    }
}

TEST_F(ProfileLoadingTest, VersionFourFileThatEndsEarlyStillLoads) {
    const std::string name = "Kontor dagtid";
    const Bytes full = ProfileFileBytes(MarkedProfile(1, name));
    const std::size_t nameEnd = 8 + name.size();
    const std::size_t scheduleStart = 2 + 180 + name.size();
    const std::size_t countEnd = scheduleStart + 6;   // Monday's period count read
    const std::size_t periodEnd = scheduleStart + 10; // Monday's period complete
    for (const std::size_t length :
         {std::size_t{2}, std::size_t{3}, std::size_t{6}, nameEnd - 1, nameEnd, scheduleStart - 1,
          scheduleStart, countEnd - 1, periodEnd, full.size() - 1}) {
        SCOPED_TRACE(length);
        Write("Profile_0001.dat", Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(length)));
        ASSERT_EQ(LoadAllProfiles(), 1);
        EXPECT_EQ(Profiles[0].Name, length >= nameEnd ? name : "");
        ASSERT_TRUE(TimeSchedules[0]);
        EXPECT_EQ(TimeSchedules[0]->m_UseCalendar, 0); // the last field was never in the file
        EXPECT_EQ(TimeSchedules[0]->Periods(0).Count(), length >= periodEnd ? 1 : 0);
    }
}

TEST_F(ProfileLoadingTest, BytesBehindTheScheduleAreIgnored) {
    RawProfile plain = MarkedProfile(4, "Server room");
    Write("Profile_0004.dat", plain);
    ASSERT_EQ(LoadAllProfiles(), 1);
    const ProfileRecord record = Profiles[0];
    const std::string schedule = TimeSchedules[0]->ComposePeriodArray();

    for (const Bytes& trailing : {Bytes{0x00}, Bytes(1000, 0xFF), ScheduleRecord({{1, 2}, {3, 4}}, 9)}) {
        RawProfile padded = plain;
        padded.Trailing = trailing;
        Write("Profile_0004.dat", padded);
        ASSERT_EQ(LoadAllProfiles(), 1);
        EXPECT_EQ(Profiles[0], record);
        EXPECT_EQ(TimeSchedules[0]->ComposePeriodArray(), schedule);
    }
}

// 3 GiB lies beyond a 32-bit file offset. The file is sparse: it takes no
// room on disk.
TEST_F(ProfileLoadingTest, AFileOfThreeGiBLoadsAsAnyOther) {
    Write("Profile_0004.dat", MarkedProfile(4, "Server room"));
    ASSERT_EQ(LoadAllProfiles(), 1);
    const ProfileRecord record = Profiles[0];

    std::filesystem::resize_file(ProfilePath("Profile_0004.dat"), 3ULL << 30);
    ASSERT_EQ(LoadAllProfiles(), 1);
    EXPECT_EQ(Profiles[0], record);
}

TEST_F(ProfileLoadingTest, MissingOrEmptyFolderReleasesEverySchedule) {
    Write("Profile_0001.dat", MarkedProfile(1, "One"));
    Write("Profile_0002.dat", MarkedProfile(2, "Two"));
    Write("Profile_0003.dat", MarkedProfile(3, "Three"));
    ASSERT_EQ(LoadAllProfiles(), 3);
    const std::weak_ptr<cTimeSchedule> released = TimeSchedules[1];

    // Fewer profiles: the slots behind the count hold no schedule.
    std::filesystem::remove(ProfilePath("Profile_0002.dat"));
    std::filesystem::remove(ProfilePath("Profile_0003.dat"));
    ASSERT_EQ(LoadAllProfiles(), 1);
    EXPECT_TRUE(released.expired());
    EXPECT_EQ(Profiles[0].Name, "One");
    EXPECT_FALSE(TimeSchedules[1]);
    EXPECT_FALSE(TimeSchedules[2]);

    std::filesystem::remove(ProfilePath("Profile_0001.dat"));
    EXPECT_EQ(LoadAllProfiles(), 0);
    EXPECT_FALSE(TimeSchedules[0]);

    Write("Profile_0001.dat", MarkedProfile(1, "One"));
    ASSERT_EQ(LoadAllProfiles(), 1);
    std::filesystem::remove_all(ProfilePath(""));
    EXPECT_EQ(LoadAllProfiles(), 0);
    EXPECT_EQ(NumberOfProfiles, 0);
    for (const auto& schedule : TimeSchedules) {
        EXPECT_FALSE(schedule);
    }
}

TEST_F(ProfileLoadingTest, ShowsTheBusyPointerAroundTheLoad) {
    Write("Profile_0001.dat", MarkedProfile(1, "One"));
    std::vector<bool> calls;
    BusyPointerHandler = [&](bool busy) { calls.push_back(busy); };
    LoadAllProfiles();
    BusyPointerHandler = nullptr;
    EXPECT_THAT(calls, ElementsAre(true, false));
}

TEST_F(ProfileLoadingTest, MoreThan200LoadableFilesFillTheTableWithTheFirstFound) {
    // 230 good files and 20 version-3 files among them.
    for (int number = 1; number <= 250; ++number) {
        std::array<char, 32> file{};
        std::snprintf(file.data(), file.size(), "Profile_%04d.dat", number);
        RawProfile p = MarkedProfile(static_cast<std::int16_t>(number), "P" + std::to_string(1000 + number));
        if (number % 12 == 0 && number <= 240) {
            p.Version = 3;
        }
        Write(file.data(), p);
    }
    std::vector<std::string> expected;
    for (const auto& file : FoundOrder()) {
        const int number = std::stoi(file.substr(8, 4));
        if (!(number % 12 == 0 && number <= 240) && expected.size() < 200) {
            expected.push_back("P" + std::to_string(1000 + number));
        }
    }
    std::sort(expected.begin(), expected.end());

    ASSERT_EQ(LoadAllProfiles(), 200);
    EXPECT_THAT(LoadedNames(), ElementsAreArray(expected));
    ExpectRecordsAndSchedulesPaired();
}

} // namespace
} // namespace velmar::test
