// Malformed profile files of every kind are loaded or skipped cleanly: the kept
// corpus in malformed/, every truncation of a good file, random and mutated
// bytes, and a folder of 10,000 files.

#include "common/CodePage.h"
#include "profiles/ProfileStore.h"
#include "tests/profiles/ProfileFiles.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <random>

#ifndef VELMAR_PROFILES_TEST_DIR
#error "VELMAR_PROFILES_TEST_DIR must name the folder of this test"
#endif

namespace velmar::test {
namespace {

class MalformedProfileTest : public ProfileFolderTest {
protected:
    // The only thing a malformed file may do: load, or be skipped. Either way
    // the slot's schedule reference agrees with the result.
    std::int16_t LoadSlotZero(int number = 1) {
        const std::int16_t result = LoadProfile(0, static_cast<std::int16_t>(number));
        EXPECT_TRUE(result == 0 || result == -1);
        EXPECT_EQ(static_cast<bool>(TimeSchedules[0]), result == -1);
        return result;
    }
};

// Files in malformed/ are named "load-..." when the loader must take them as a
// profile (version 4, however broken behind the version word) and "skip-..."
// when it must not.
TEST_F(MalformedProfileTest, KeptCorpusLoadsOrSkipsAsItsNameSays) {
    const std::filesystem::path corpus = std::filesystem::path(VELMAR_PROFILES_TEST_DIR) / "malformed";
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".dat") {
            continue;
        }
        SCOPED_TRACE(name);
        ++files;
        const bool load = name.rfind("load-", 0) == 0;
        ASSERT_TRUE(load || name.rfind("skip-", 0) == 0) << "corpus file without load-/skip- prefix";

        // Bytes copied by hand: mingw's copy_file refuses to overwrite on some drives.
        Write("Profile_0001.dat", ReadFileBytes(entry.path()));
        EXPECT_EQ(LoadAllProfiles(), load ? 1 : 0);
        EXPECT_EQ(LoadSlotZero(), load ? -1 : 0);
        if (load) {
            // Whatever the file held, the name is valid UTF-8 text of at most
            // one character per byte of the file.
            EXPECT_LE(Utf8Length(Profiles[0].Name), std::filesystem::file_size(entry.path()));
            EXPECT_EQ(Cp1252ToUtf8(Utf8ToCp1252(Profiles[0].Name)), Profiles[0].Name);
        }
    }
    EXPECT_GE(files, 20);
}

TEST_F(MalformedProfileTest, EveryTruncationOfAGoodFileLoadsWhatWasThere) {
    RawProfile p = MarkedProfile(1, "\xC5sa hemtj\xE4nst");
    p.Int0 = 0x0102;
    p.Fill = 0x5A;
    p.Texts = {"t1", "t2", "l0", "l1", "l2", "l3", "l4", "l5", "t3", "t4", "t5"};
    p.Schedule = ScheduleRecord({{420, 960}, {1000, 1440}, {0, 60}}, -1);
    const Bytes full = ProfileFileBytes(p);

    Write("Profile_0001.dat", full);
    ASSERT_EQ(LoadSlotZero(), -1);
    const ProfileRecord complete = Profiles[0];
    const std::string completeSchedule = TimeSchedules[0]->ComposePeriodArray();

    for (std::size_t length = 0; length <= full.size(); ++length) {
        SCOPED_TRACE(length);
        // A new file for every length: rewriting one file is much slower on some file systems.
        const int number = 1000 + static_cast<int>(length);
        Write("Profile_" + std::to_string(number) + ".dat",
              Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(length)));
        const std::int16_t result = LoadSlotZero(number);
        ASSERT_EQ(result, length >= 2 ? -1 : 0);
        if (result == 0) {
            continue;
        }
        const ProfileRecord& r = Profiles[0];
        // A field is either complete or empty/zero, never garbage.
        EXPECT_TRUE(r.Int0 == complete.Int0 || r.Int0 == 0);
        EXPECT_TRUE(r.Active == complete.Active || r.Active == 0);
        EXPECT_TRUE(r.Name == complete.Name || r.Name.empty());
        EXPECT_TRUE(r.Text5 == complete.Text5 || r.Text5.empty());
        for (std::size_t i = 0; i < r.Bytes4.size(); ++i) {
            ASSERT_TRUE(r.Bytes4[i] == complete.Bytes4[i] || r.Bytes4[i] == 0);
        }
        EXPECT_LE(TimeSchedules[0]->Periods(0).Count(), 3);
        if (length == full.size()) {
            EXPECT_EQ(r, complete);
            EXPECT_EQ(TimeSchedules[0]->ComposePeriodArray(), completeSchedule);
        } else {
            EXPECT_EQ(TimeSchedules[0]->m_UseCalendar, 0);
        }
    }
}

TEST_F(MalformedProfileTest, RandomAndMutatedBytesLoadOrSkipCleanly) {
    std::mt19937 random(20260507); // fixed seed: every run sees the same bytes
    auto byte = [&] { return static_cast<std::uint8_t>(random() & 0xFF); };

    const Bytes good = ProfileFileBytes(MarkedProfile(1, "Weekend patrol"));
    for (int round = 0; round < 400; ++round) {
        Bytes bytes;
        if (round % 2 == 0) {
            // Random length and content, half of them behind a valid version word.
            bytes.resize(random() % 700);
            for (auto& b : bytes) {
                b = byte();
            }
            if (round % 4 == 0 && bytes.size() >= 2) {
                bytes[0] = 0x04;
                bytes[1] = 0x00;
            }
        } else {
            // A good file with a few bytes changed.
            bytes = good;
            for (int k = 0; k < 1 + round % 5; ++k) {
                bytes[random() % bytes.size()] = byte();
            }
        }
        SCOPED_TRACE(round);
        const int number = 1000 + round;
        Write("Profile_" + std::to_string(number) + ".dat", bytes);
        const bool version4 = bytes.size() >= 2 && bytes[0] == 0x04 && bytes[1] == 0x00;
        ASSERT_EQ(LoadSlotZero(number), version4 ? -1 : 0);
    }
}

// Puts `count` files named Profile_0000.dat upwards into `folder`; `good`
// decides which hold a loadable profile (the others are version 3). The files
// are hard links to two files in `spare`, which is twenty times faster than
// writing 10,000 files; written files serve where links are not available.
void WriteManyFiles(const std::filesystem::path& spare, const std::filesystem::path& folder, int count,
                    bool (*good)(int)) {
    RawProfile old = MarkedProfile(0, "Old");
    old.Version = 3;
    const Bytes loadable = ProfileFileBytes(MarkedProfile(0, "Many"));
    const Bytes unloadable = ProfileFileBytes(old);
    WriteFileBytes(spare / "loadable", loadable);
    WriteFileBytes(spare / "unloadable", unloadable);
    for (int number = 0; number < count; ++number) {
        std::array<char, 32> buffer{};
        std::snprintf(buffer.data(), buffer.size(), "Profile_%04d.dat", number);
        const std::string name = buffer.data();
        const auto source = spare / (good(number) ? "loadable" : "unloadable");
        std::error_code error;
        std::filesystem::create_hard_link(source, folder / name, error);
        if (error) {
            WriteFileBytes(folder / name, good(number) ? loadable : unloadable);
        }
    }
}

// How long these loads take is measured by the benchmarks, not here.
TEST_F(MalformedProfileTest, TenThousandFilesFillTheTableAndStop) {
    // One loadable file in 40: the table fills after about 8,000 files have
    // been opened, and the rest are never read.
    WriteManyFiles(m_Data.Path(), ProfilePath(""), 10000, [](int number) { return number % 40 == 7; });

    EXPECT_EQ(LoadAllProfiles(), 200);
    EXPECT_EQ(Profiles[199].Name, "Many");
}

TEST_F(MalformedProfileTest, TwoHundredProfilesLoadAgainAndAgain) {
    WriteManyFiles(m_Data.Path(), ProfilePath(""), 200, [](int) { return true; });
    EXPECT_EQ(LoadAllProfiles(), 200);
    EXPECT_EQ(LoadAllProfiles(), 200);
}

} // namespace
} // namespace velmar::test
