// The byte layout of a profile file: where each field of the record lies, where
// the schedule begins, and how texts pass through code page 1252.

#include "common/CodePage.h"
#include "platform/BinaryFile.h"
#include "profiles/ProfileStore.h"
#include "tests/profiles/ProfileFiles.h"

#include <gtest/gtest.h>

namespace velmar::test {
namespace {

// The example record of the file format: version 4, Int0 0, the given active
// flag, a five-letter name, and every other field empty or zero.
Bytes ExampleFile(std::uint8_t activeLow, std::uint8_t activeHigh) {
    Bytes b = {0x04, 0x00, 0x00, 0x00, activeLow, activeHigh, 0x05, 0x00, 'G', 'r', 0xE4, 'n', 's'};
    auto zeros = [&](std::size_t n) { b.insert(b.end(), n, 0); };
    zeros(12);  // Bytes1
    zeros(4);   // Text1, Text2: two lengths of 2 bytes
    zeros(12);  // TextList: six lengths of 2 bytes
    zeros(6);   // Bytes2
    zeros(2);   // Text3
    zeros(4);   // Bytes3
    zeros(4);   // Text4, Text5: two lengths of 2 bytes
    zeros(130); // Bytes4
    return b;
}

class ProfileRecordTest : public ProfileFolderTest {};

TEST_F(ProfileRecordTest, ExampleRecordIs185BytesAndTheScheduleFollowsAtOffset187) {
    Bytes file = ExampleFile(0xFF, 0xFF);
    ASSERT_EQ(file.size(), 187u);
    const Bytes schedule = ScheduleRecord({{420, 960}, {1000, 1100}}, -1);
    file.insert(file.end(), schedule.begin(), schedule.end());
    Write("Profile_0001.dat", file);

    BinaryFile in(PathToUtf8(ProfilePath("Profile_0001.dat")), BinaryFile::Mode::Read);
    ASSERT_EQ(in.ReadInt16(), 4);
    ProfileRecord record;
    ReadProfileRecord(in, record);
    EXPECT_EQ(in.Position(), 187u);
    EXPECT_FALSE(in.Ended());

    ProfileRecord expected;
    expected.Active = -1;
    expected.Name = "Gr\u00e4ns";
    EXPECT_EQ(record, expected);

    // The loader reads the schedule from exactly that offset.
    ASSERT_EQ(LoadAllProfiles(), 1);
    EXPECT_EQ(Profiles[0], expected);
    ASSERT_TRUE(TimeSchedules[0]);
    const auto& mondays = TimeSchedules[0]->Periods(0);
    ASSERT_EQ(mondays.Count(), 2);
    EXPECT_EQ(mondays.Item(1)->m_StartMinute, 420);
    EXPECT_EQ(mondays.Item(1)->m_StopMinute, 960);
    EXPECT_EQ(mondays.Item(2)->m_StartMinute, 1000);
    EXPECT_EQ(TimeSchedules[0]->m_UseCalendar, -1);
}

TEST_F(ProfileRecordTest, ActiveFlagIsKeptAsStored) {
    struct Case {
        std::uint8_t low, high;
        std::int16_t expected;
    };
    for (const Case c :
         {Case{0xFF, 0xFF, -1}, Case{0x01, 0x00, 1}, Case{0x00, 0x00, 0}, Case{0x00, 0x80, -32768}}) {
        SCOPED_TRACE(c.expected);
        Write("Profile_0001.dat", ExampleFile(c.low, c.high));
        ASSERT_EQ(LoadAllProfiles(), 1);
        EXPECT_EQ(Profiles[0].Active, c.expected);
        EXPECT_EQ(Profiles[0].Name, "Gr\u00e4ns");
    }
}

TEST_F(ProfileRecordTest, EmptyProfileWithNewScheduleIs368Bytes) {
    const auto path = PathToUtf8(ProfilePath("Profile_0001.dat"));
    {
        BinaryFile out(path, BinaryFile::Mode::Truncate);
        out.WriteInt16(kProfileFormatVersion);
        WriteProfileRecord(out, ProfileRecord{});
        cTimeSchedule().SaveToDisk(out);
        out.Close();
    }
    const Bytes written = ReadFileBytes(ProfilePath("Profile_0001.dat"));
    EXPECT_EQ(written.size(), 368u);
    EXPECT_EQ(written, ProfileFileBytes(RawProfile{}));

    ASSERT_EQ(LoadAllProfiles(), 1);
    EXPECT_EQ(Profiles[0], ProfileRecord{});
    ASSERT_TRUE(TimeSchedules[0]);
    for (std::int16_t dayType = 0; dayType < 23; ++dayType) {
        EXPECT_EQ(TimeSchedules[0]->GetActive(dayType), dayType < 7 ? -1 : 0);
        EXPECT_EQ(TimeSchedules[0]->Periods(dayType).Count(), 0);
    }
}

// A record with a different value in every field, and the exact bytes it must
// give: a field written in the wrong order or the wrong width shows up here.
ProfileRecord EveryFieldRecord() {
    ProfileRecord r;
    r.Int0 = 0x1234;
    r.Active = 1;
    r.Name = "\u00c5sa hemtj\u00e4nst";
    for (std::size_t i = 0; i < r.Bytes1.size(); ++i) {
        r.Bytes1[i] = static_cast<std::uint8_t>(i + 1);
    }
    r.Text1 = "Larmcentral";
    r.Text2 = "";
    r.TextList = {"a", "bb", "", "\u00f6", "\u00e9", "\u20ac 5"};
    for (std::size_t i = 0; i < r.Bytes2.size(); ++i) {
        r.Bytes2[i] = static_cast<std::uint8_t>(0xA0 + i);
    }
    r.Text3 = "x";
    r.Bytes3 = {0xFF, 0xFE, 0xFD, 0xFC};
    r.Text4 = "\u00d6land";
    r.Text5 = "z";
    for (std::size_t i = 0; i < r.Bytes4.size(); ++i) {
        r.Bytes4[i] = static_cast<std::uint8_t>(i * 3);
    }
    return r;
}

Bytes EveryFieldBytes() {
    ByteWriter w;
    w.Int16(0x1234).Int16(1).Text("\xC5sa hemtj\xE4nst");
    for (std::uint8_t i = 1; i <= 12; ++i) {
        w.Raw({i});
    }
    w.Text("Larmcentral").Text("");
    w.Text("a").Text("bb").Text("").Text("\xF6").Text("\xE9").Text("\x80 5");
    w.Raw({0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5});
    w.Text("x");
    w.Raw({0xFF, 0xFE, 0xFD, 0xFC});
    w.Text("\xD6land").Text("z");
    for (std::size_t i = 0; i < 130; ++i) {
        w.Raw({static_cast<std::uint8_t>(i * 3)});
    }
    return w.Data();
}

TEST_F(ProfileRecordTest, EveryFieldIsWrittenAndReadInFileOrderThroughCodePage1252) {
    const auto path = PathToUtf8(ProfilePath("record.bin"));
    {
        BinaryFile out(path, BinaryFile::Mode::Truncate);
        WriteProfileRecord(out, EveryFieldRecord());
        out.Close();
    }
    const Bytes expected = EveryFieldBytes();
    EXPECT_EQ(ReadFileBytes(ProfilePath("record.bin")), expected);

    BinaryFile in(path, BinaryFile::Mode::Read);
    ProfileRecord read;
    read.Text5 = "stale";
    ReadProfileRecord(in, read);
    EXPECT_EQ(read, EveryFieldRecord());
    EXPECT_EQ(in.Position(), expected.size());
    EXPECT_FALSE(in.Ended());
}

TEST_F(ProfileRecordTest, SwedishNamesRoundTripThroughTheFile) {
    const std::vector<std::string> names = {
        "Nattlarm Lager", "\u00c5sa hemtj\u00e4nst", "\u00d6land sommarhus",
        "\u00e4\u00e5\u00f6\u00c4\u00c5\u00d6 \u00e9\u00fc", "Caf\u00e9 \u20ac"};
    const auto path = PathToUtf8(ProfilePath("names.bin"));
    for (const auto& name : names) {
        SCOPED_TRACE(name);
        ProfileRecord record;
        record.Name = name;
        {
            BinaryFile out(path, BinaryFile::Mode::Truncate);
            WriteProfileRecord(out, record);
            out.Close();
        }
        // One byte per character in the file.
        const Bytes bytes = ReadFileBytes(ProfilePath("names.bin"));
        EXPECT_EQ(bytes[4] | (bytes[5] << 8), static_cast<int>(Utf8Length(name)));
        BinaryFile in(path, BinaryFile::Mode::Read);
        ProfileRecord read;
        ReadProfileRecord(in, read);
        EXPECT_EQ(read.Name, name);
    }
}

TEST_F(ProfileRecordTest, FieldsBeyondTheEndOfTheFileAreZeroAndEmpty) {
    struct Case {
        const char* what;
        Bytes bytes;
        ProfileRecord expected;
    };
    ProfileRecord intsOnly;
    intsOnly.Int0 = 7;
    intsOnly.Active = -1;
    ProfileRecord withName = intsOnly;
    withName.Name = "Kontor";

    const Bytes ints = ByteWriter().Int16s({7, -1}).Data();
    const Bytes name = ByteWriter().Int16s({7, -1}).Text("Kontor").Data();
    const std::vector<Case> cases = {
        {"empty file", {}, ProfileRecord{}},
        {"one byte of Int0", {0x07}, ProfileRecord{}},
        {"the two integers", ints, intsOnly},
        {"name cut short", ByteWriter().Int16s({7, -1}).Int16(6).Raw({'K', 'o'}).Data(), intsOnly},
        {"name length 0xFFFF", ByteWriter().Int16s({7, -1, -1}).Raw(Bytes(300, 'A')).Data(), intsOnly},
        {"name complete", name, withName},
        {"half of Bytes1", ByteWriter().Raw(name).Raw({1, 2, 3, 4, 5}).Data(), withName},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Write("cut.bin", c.bytes);
        BinaryFile in(PathToUtf8(ProfilePath("cut.bin")), BinaryFile::Mode::Read);
        ProfileRecord read = EveryFieldRecord(); // every field must be replaced
        ReadProfileRecord(in, read);
        EXPECT_EQ(read, c.expected);
    }
}

} // namespace
} // namespace velmar::test
