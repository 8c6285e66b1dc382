#pragma once

// Builders of profile files byte by byte, independent of the reader under test,
// and a fixture with a profile store of a fresh data folder.

#include "common/Paths.h"
#include "profiles/ProfileStore.h"
#include "tests/support/TestFiles.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace velmar::test {

// One period as written in a schedule record.
struct RawPeriod {
    std::int16_t Start = 0;
    std::int16_t Stop = 0;
};

// The schedule record of a new schedule, except that day type 0 gets the given
// periods and UseCalendar the given value (both serve as markers that show
// which file a schedule came from).
inline Bytes ScheduleRecord(const std::vector<RawPeriod>& mondayPeriods = {}, std::int16_t useCalendar = 0) {
    ByteWriter w;
    for (int dayType = 0; dayType < 23; ++dayType) {
        w.Int16(dayType < 7 ? -1 : 0).Int16(0);
        if (dayType == 0) {
            w.Int16(static_cast<std::int16_t>(mondayPeriods.size()));
            for (const auto& p : mondayPeriods) {
                w.Int16(p.Start).Int16(p.Stop);
            }
        } else {
            w.Int16(0);
        }
        w.Int16(0);
    }
    w.Int16(useCalendar);
    return w.Data();
}

// The fields of a profile file; texts are given as the bytes stored in the file.
struct RawProfile {
    std::int16_t Version = 4;
    std::int16_t Int0 = 0;
    std::int16_t Active = 0;
    std::string Name;
    std::vector<std::string> Texts = std::vector<std::string>(11); // Text1, Text2, TextList 0..5, Text3..5
    std::uint8_t Fill = 0;                                         // value of every raw byte
    Bytes Schedule = ScheduleRecord();
    Bytes Trailing;
};

inline Bytes ProfileFileBytes(const RawProfile& p) {
    ByteWriter w;
    w.Int16(p.Version).Int16(p.Int0).Int16(p.Active).Text(p.Name);
    auto fill = [&](std::size_t n) { w.Raw(Bytes(n, p.Fill)); };
    fill(12);
    for (int i = 0; i < 8; ++i) {
        w.Text(p.Texts[static_cast<std::size_t>(i)]); // Text1, Text2, TextList
    }
    fill(6);
    w.Text(p.Texts[8]); // Text3
    fill(4);
    w.Text(p.Texts[9]).Text(p.Texts[10]); // Text4, Text5
    fill(130);
    w.Raw(p.Schedule).Raw(p.Trailing);
    return w.Data();
}

// A profile whose Int0, UseCalendar and the start of its one Monday period all
// hold `number`, so that a test can check which file a slot's record and
// schedule came from.
inline RawProfile MarkedProfile(std::int16_t number, std::string name, std::int16_t active = -1) {
    RawProfile p;
    p.Int0 = number;
    p.Active = active;
    p.Name = std::move(name);
    p.Schedule = ScheduleRecord({{number, 1440}}, number);
    return p;
}

// Every test gets its own data folder with an empty Profiles folder in it, and
// a store of that folder as the program starts with it. The store's tables
// and operations go by their own names.
class ProfileFolderTest : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directory(m_Data.Path() / "Profiles"); }

    std::int16_t LoadAllProfiles() { return Store.LoadAllProfiles().NumberOfProfiles; }
    std::int16_t LoadAllProfiles(const FolderListing& listing) {
        return Store.LoadAllProfiles(listing).NumberOfProfiles;
    }
    std::int16_t LoadProfile(std::int16_t ProfileIndex, std::int16_t ProfileNumber) {
        return Store.LoadProfile(ProfileIndex, ProfileNumber);
    }
    // The Profiles folder as the store names it.
    std::string ProfilesFolder() const { return Store.Folder().ProfilesFolder(); }

    std::filesystem::path ProfilePath(const std::string& fileName) const {
        return m_Data.Path() / "Profiles" / fileName;
    }
    void Write(const std::string& fileName, const Bytes& bytes) const {
        WriteFileBytes(ProfilePath(fileName), bytes);
    }
    void Write(const std::string& fileName, const RawProfile& profile) const {
        Write(fileName, ProfileFileBytes(profile));
    }

    // Names of the valid slots in slot order.
    std::vector<std::string> LoadedNames() const {
        std::vector<std::string> names;
        names.reserve(static_cast<std::size_t>(NumberOfProfiles));
        for (int i = 0; i < NumberOfProfiles; ++i) {
            names.push_back(Profiles[i].Name);
        }
        return names;
    }

    // Every valid slot's schedule was read from the same file as its record.
    void ExpectRecordsAndSchedulesPaired() const {
        for (int i = 0; i < NumberOfProfiles; ++i) {
            ASSERT_TRUE(TimeSchedules[i]) << "slot " << i;
            EXPECT_EQ(TimeSchedules[i]->m_UseCalendar, Profiles[i].Int0) << "slot " << i;
        }
    }

    TempDir m_Data;
    ProfileStore Store{DataFolder(PathToUtf8(m_Data.Path()))};
    const FixedTable<ProfileRecord, kMaxProfiles>& Profiles = Store.Profiles();
    const FixedTable<SchedulePtr, kMaxProfiles>& TimeSchedules = Store.TimeSchedules();
    const std::int16_t& NumberOfProfiles = Store.Loaded().NumberOfProfiles;
    const std::vector<LoadProblem>& LoadProblems = Store.Loaded().Problems;
    const FixedTable<std::string, kMaxProfiles>& ProfileFileNames = Store.Loaded().FileNames;
};

} // namespace velmar::test
