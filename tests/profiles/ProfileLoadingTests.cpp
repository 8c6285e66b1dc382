// Finding, loading and sorting the profile files of a data folder.

#include "common/CodePage.h"
#include "common/Paths.h"
#include "platform/FileSystem.h"
#include "profiles/ProfileStore.h"
#include "tests/profiles/ProfileFiles.h"
#include "tests/support/FileFaults.h"
#include "tests/support/TestPlatform.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <map>
#include <random>

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
        for (const auto& entry : ListFiles(ProfilesFolder(), "Profile_????.dat")) {
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

TEST_F(ProfileLoadingTest, SortEqualsABubbleSortOfTheUpperCasedNamesInFoundOrder) {
    // Short names from a few letters in both cases (Swedish ones among them),
    // so that many are equal once upper-cased and many are exchanged.
    const std::vector<std::string> letters = {"a", "A", "b", "B", "\u00e4", "\u00c4", " "};
    std::mt19937 random(20240611);
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        std::filesystem::remove_all(ProfilePath(""));
        std::filesystem::create_directory(ProfilePath(""));
        std::map<std::string, std::string> nameOfFile;
        for (int number = 1; number <= 60; ++number) {
            std::string name;
            for (auto length = random() % 4; length > 0; --length) {
                name += letters[random() % letters.size()];
            }
            std::array<char, 32> file{};
            std::snprintf(file.data(), file.size(), "Profile_%04d.dat", number);
            Write(file.data(), MarkedProfile(static_cast<std::int16_t>(number), Utf8ToCp1252(name)));
            nameOfFile[file.data()] = name;
        }
        std::vector<std::string> expected;
        for (const auto& file : FoundOrder()) {
            expected.push_back(nameOfFile.at(file));
        }
        for (bool exchanged = true; exchanged;) {
            exchanged = false;
            for (std::size_t j = 0; j + 1 < expected.size(); ++j) {
                if (Utf8ToUpper(expected[j]) > Utf8ToUpper(expected[j + 1])) {
                    std::swap(expected[j], expected[j + 1]);
                    exchanged = true;
                }
            }
        }
        ASSERT_EQ(LoadAllProfiles(), 60);
        // Names alone would not tell two equal names apart: the files do.
        std::vector<std::string> files;
        files.reserve(static_cast<std::size_t>(NumberOfProfiles));
        for (int slot = 0; slot < NumberOfProfiles; ++slot) {
            files.push_back(ProfileFileNames[slot]);
        }
        EXPECT_THAT(LoadedNames(), ElementsAreArray(expected));
        std::vector<std::string> found = FoundOrder();
        std::stable_sort(found.begin(), found.end(), [&](const std::string& a, const std::string& b) {
            return Utf8ToUpper(nameOfFile.at(a)) < Utf8ToUpper(nameOfFile.at(b));
        });
        EXPECT_THAT(files, ElementsAreArray(found)) << "equal names keep their found order";
        ExpectRecordsAndSchedulesPaired();
    }
}

TEST_F(ProfileLoadingTest, LoadsTheFilesOfAListingAlreadyMade) {
    Write("Profile_0001.dat", MarkedProfile(1, "One"));
    Write("Profile_0002.dat", MarkedProfile(2, "Two"));
    Write("Profile_0003.dat", MarkedProfile(3, "Three"));
    const std::string folder = ProfilesFolder();
    const FolderListing listing = ListFolder(folder, kProfileFilePattern);
    // Since the listing: one file gone, one new.
    std::filesystem::remove(ProfilePath("Profile_0002.dat"));
    Write("Profile_0004.dat", MarkedProfile(4, "Four"));

    FileFaults faults; // counts the opens
    EXPECT_EQ(LoadAllProfiles(listing), 2);
    EXPECT_THAT(LoadedNames(), ElementsAre("One", "Three")) << "the new file waits for the next listing";
    ExpectRecordsAndSchedulesPaired();
    EXPECT_EQ(faults.Count(FileCall::Open), 3) << "each listed file opened once";
    ASSERT_EQ(LoadProblems.size(), 1U);
    EXPECT_EQ(LoadProblems[0].Kind, LoadProblemKind::FileVanished);
    EXPECT_EQ(ProblemText(LoadProblems[0]), "Profile_0002.dat: gone before it could be read");

    // The folder as the listing found it counts, not as it is now.
    FolderListing missing;
    missing.State = FolderState::Missing;
    EXPECT_EQ(LoadAllProfiles(missing), 0);
    ASSERT_EQ(LoadProblems.size(), 1U);
    EXPECT_EQ(ProblemText(LoadProblems[0]), "Profiles folder not found: " + folder);

    EXPECT_EQ(LoadAllProfiles(), 3) << "without a listing it lists the folder itself";
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
    std::filesystem::create_directory(ProfilePath("Profile_0004.dat"));
    if (kPosixSystem) {
        ASSERT_TRUE(MakeFifo(ProfilePath("Profile_0005.dat"))); // refused, never waited for
    }

    struct Case {
        std::int16_t slot, number, result;
        bool scheduleAfter;
    };
    for (const Case c :
         {Case{5, 7, -1, true}, Case{5, 3, 0, false}, Case{5, 1, 0, false}, Case{5, 2, -1, true},
          Case{5, 8, 0, false} /* vanished */, Case{5, -7, 0, false}, Case{5, 4, 0, false} /* a folder */,
          Case{5, 5, 0, false} /* a FIFO */, Case{0, 7, -1, true}}) {
        SCOPED_TRACE(testing::Message() << "slot " << c.slot << " number " << c.number);
        ASSERT_EQ(LoadProfile(c.slot, 7), -1); // a schedule from an earlier load
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
    std::size_t beyond = 0;
    for (const auto& file : FoundOrder()) {
        const int number = std::stoi(file.substr(8, 4));
        if (expected.size() == 200) {
            ++beyond;
        } else if (!(number % 12 == 0 && number <= 240)) {
            expected.push_back("P" + std::to_string(1000 + number));
        }
    }
    std::sort(expected.begin(), expected.end());

    ASSERT_EQ(LoadAllProfiles(), 200);
    EXPECT_THAT(LoadedNames(), ElementsAreArray(expected));
    ExpectRecordsAndSchedulesPaired();
    EXPECT_EQ(LoadProblems.size(), 50U) << "every profile file is loaded or has its problem";
    ASSERT_GT(beyond, 5U);
    // Listed in slot order, the files beyond the slots may come before other
    // files' problems: the summing-up line is among the lines, not last.
    EXPECT_THAT(ProblemLines(LoadProblems),
                ::testing::Contains(std::to_string(beyond - 5) + " more files beyond the 200 slots"));
}

TEST_F(ProfileLoadingTest, EveryProfileThatDoesNotLoadHasItsProblem) {
    struct Case {
        const char* Title;
        std::function<void(FileFaults&)> Arrange; // beside the good Profile_0001.dat and Profile_0009.dat
        std::vector<std::string> Problems;
        int Loaded;
    };
    const std::string folder = ProfilesFolder();
    std::vector<Case> cases = {
        {"all well", [](FileFaults&) {}, {}, 2},
        {"a version-3 file",
         [&](FileFaults&) {
             RawProfile v3 = MarkedProfile(3, "Three");
             v3.Version = 3;
             Write("Profile_0003.dat", v3);
         },
         {"Profile_0003.dat: format version 3, not 4"},
         2},
        {"files too short to hold a version",
         [&](FileFaults&) {
             Write("Profile_0004.dat", Bytes{0x04});
             Write("Profile_0005.dat", Bytes{});
         },
         {"Profile_0004.dat: too short to hold a format version",
          "Profile_0005.dat: too short to hold a format version"},
         2},
        {"a read error",
         [](FileFaults& f) { f.Fail(FileCall::Read, "Profile_0009.dat", std::errc::io_error); },
         {"Profile_0009.dat: input/output error"},
         1},
        {"a file the user may not read",
         [](FileFaults& f) { f.Fail(FileCall::Open, "Profile_0009.dat", std::errc::permission_denied); },
         {"Profile_0009.dat: permission denied"},
         1},
        {"a file gone since the folder was listed",
         [](FileFaults& f) {
             f.Fail(FileCall::Open, "Profile_0009.dat", std::errc::no_such_file_or_directory);
         },
         {"Profile_0009.dat: gone before it could be read"},
         1},
        {"a folder named like a profile",
         [&](FileFaults&) { std::filesystem::create_directory(ProfilePath("Profile_0007.dat")); },
         {"Profile_0007.dat: is a directory"},
         2},
        {"the Profiles folder missing",
         [&](FileFaults&) { std::filesystem::remove_all(ProfilePath("")); },
         {"Profiles folder not found: " + folder},
         0},
        {"the Profiles folder a file",
         [&](FileFaults&) {
             std::filesystem::remove_all(ProfilePath(""));
             WriteFileBytes(m_Data.Path() / "Profiles", {1});
         },
         {"Profiles folder is not a folder: " + folder},
         0},
    };
    if (kPosixSystem) {
        // Where the system has FIFOs, before the cases that take the folder away.
        const auto folderCase = std::find_if(cases.begin(), cases.end(), [](const Case& c) {
            return std::string_view(c.Title) == "a folder named like a profile";
        });
        cases.insert(folderCase,
                     {"a FIFO named like a profile",
                      [&](FileFaults&) { ASSERT_TRUE(MakeFifo(ProfilePath("Profile_0006.dat"))); },
                      {"Profile_0006.dat: not a regular file"},
                      2});
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Title);
        std::filesystem::remove_all(ProfilePath(""));
        std::filesystem::create_directory(ProfilePath(""));
        Write("Profile_0001.dat", MarkedProfile(1, "One"));
        Write("Profile_0009.dat", MarkedProfile(9, "Nine"));
        FileFaults faults;
        c.Arrange(faults);
        EXPECT_EQ(LoadAllProfiles(), c.Loaded);
        std::vector<std::string> problems;
        problems.reserve(LoadProblems.size());
        for (const auto& problem : LoadProblems) {
            problems.push_back(ProblemText(problem));
        }
        std::sort(problems.begin(), problems.end());
        EXPECT_EQ(problems, c.Problems);
        for (int slot = 0; slot < NumberOfProfiles; ++slot) {
            EXPECT_NE(Profiles[slot].Name, "") << "no profile loads as zeros";
        }
    }
}

TEST_F(ProfileLoadingTest, ProblemsAreListedInSlotOrderWhateverTheListingsOrder) {
    // The file system's order is not the files' order: the first problem,
    // which the tooltip shows, must not depend on it.
    RawProfile v3 = MarkedProfile(2, "Two");
    v3.Version = 3;
    Write("PROFILE_0002.DAT", v3);
    Write("Profile_0004.dat", Bytes{0x04});
    Write("Profile_0001.dat", MarkedProfile(1, "One"));
    FolderListing listing;
    for (const char* name :
         {"Profile_0005.dat", "Profile_0004.dat", "Profile_0001.dat", "PROFILE_0002.DAT"}) {
        listing.Files.push_back({name, true, 1, 1, {}}); // 0005 is gone by the time it is read
    }
    listing.Others.push_back({"Profile_0003.dat", false, 0, 0, "is a directory"});
    ASSERT_EQ(LoadAllProfiles(listing), 1);
    std::vector<std::string> problems;
    for (const auto& problem : LoadProblems) {
        problems.push_back(ProblemText(problem));
    }
    EXPECT_THAT(problems,
                ElementsAre("PROFILE_0002.DAT: format version 3, not 4", "Profile_0003.dat: is a directory",
                            "Profile_0004.dat: too short to hold a format version",
                            "Profile_0005.dat: gone before it could be read"));
}

TEST_F(ProfileLoadingTest, AProfileThatFailedLoadsOnceMended) {
    Write("Profile_0002.dat", MarkedProfile(2, "Two"));
    {
        FileFaults faults;
        faults.Fail(FileCall::Read, "Profile_0002.dat", std::errc::io_error);
        EXPECT_EQ(LoadAllProfiles(), 0);
        EXPECT_EQ(LoadProblems.size(), 1U);
        EXPECT_FALSE(TimeSchedules[0]) << "no schedule read from a failing disk";
    }
    EXPECT_EQ(LoadAllProfiles(), 1);
    EXPECT_TRUE(LoadProblems.empty());
    EXPECT_EQ(Profiles[0].Name, "Two");
}

TEST_F(ProfileLoadingTest, EachSlotKnowsItsFileAfterTheSort) {
    Write("Profile_0001.dat", MarkedProfile(1, "beta"));
    Write("PROFILE_0002.DAT", MarkedProfile(2, "Alpha"));
    Write("Profile_0003.dat", MarkedProfile(3, "gamma"));
    ASSERT_EQ(LoadAllProfiles(), 3);
    EXPECT_THAT(LoadedNames(), ElementsAre("Alpha", "beta", "gamma"));
    EXPECT_EQ(ProfileFileNames[0], "PROFILE_0002.DAT");
    EXPECT_EQ(ProfileFileNames[1], "Profile_0001.dat");
    EXPECT_EQ(ProfileFileNames[2], "Profile_0003.dat");
}

TEST(LoadProblemLines, MoreThanFiveOfOneKindAreSummedUpAfterTheFifth) {
    const auto file = [](LoadProblemKind kind, int number) {
        std::array<char, 32> name{};
        std::snprintf(name.data(), name.size(), "Profile_%04d.dat", number);
        return LoadProblem{kind, name.data(),
                           kind == LoadProblemKind::WrongVersion ? "3" : "input/output error"};
    };
    std::vector<LoadProblem> problems;
    for (int i = 1; i <= 3; ++i) {
        problems.push_back(file(LoadProblemKind::WrongVersion, i));
    }
    for (int i = 10; i <= 16; ++i) {
        problems.push_back(file(LoadProblemKind::FileUnreadable, i));
    }
    for (int i = 201; i <= 10000; ++i) {
        problems.push_back(file(LoadProblemKind::BeyondSlots, i));
    }
    const std::vector<std::string> expected = {
        "Profile_0001.dat: format version 3, not 4", "Profile_0002.dat: format version 3, not 4",
        "Profile_0003.dat: format version 3, not 4", "Profile_0010.dat: input/output error",
        "Profile_0011.dat: input/output error",      "Profile_0012.dat: input/output error",
        "Profile_0013.dat: input/output error",      "Profile_0014.dat: input/output error",
        "2 more files that could not be read",       "Profile_0201.dat: beyond the 200 slots",
        "Profile_0202.dat: beyond the 200 slots",    "Profile_0203.dat: beyond the 200 slots",
        "Profile_0204.dat: beyond the 200 slots",    "Profile_0205.dat: beyond the 200 slots",
        "9795 more files beyond the 200 slots",
    };
    EXPECT_EQ(ProblemLines(problems), expected);
    EXPECT_TRUE(ProblemLines({}).empty());
    problems.resize(8); // exactly five of a kind: no summary
    EXPECT_EQ(ProblemLines(problems).back(), "Profile_0014.dat: input/output error");
}

} // namespace
} // namespace velmar::test
