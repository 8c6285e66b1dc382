#include "common/Errors.h"
#include "platform/BinaryFile.h"
#include "schedule/PeriodArray.h"
#include "schedule/TimeSchedule.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

namespace velmar {
namespace {

using test::Bytes;
using test::ByteWriter;
using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

// The record of a new schedule, built by hand.
Bytes NewScheduleRecord() {
    ByteWriter w;
    for (int d = 0; d < kDayTypeCount; ++d) {
        w.Int16s({static_cast<std::int16_t>(d < 7 ? -1 : 0), 0, 0, 0});
    }
    return w.Int16(0).Data();
}

// The record after SetDefaultPeriod on a new schedule, built by hand.
Bytes DefaultScheduleRecord() {
    ByteWriter w;
    for (int d = 0; d < kDayTypeCount; ++d) {
        if (d < 5) {
            w.Int16s({-1, -1, 1, 420, 960, 0});
        } else {
            w.Int16s({static_cast<std::int16_t>(d < 7 ? -1 : 0), 0, 0, 0});
        }
    }
    return w.Int16(0).Data();
}

Bytes Saved(const cTimeSchedule& schedule) {
    TempDir dir;
    {
        BinaryFile file(dir.File("s.bin"), BinaryFile::Mode::Truncate);
        schedule.SaveToDisk(file);
        file.Close();
    }
    return ReadFileBytes(dir.Path() / "s.bin");
}

cTimeSchedule Read(const Bytes& bytes, bool* ended = nullptr) {
    TempDir dir;
    WriteFileBytes(dir.Path() / "s.bin", bytes);
    BinaryFile file(dir.File("s.bin"), BinaryFile::Mode::Read);
    cTimeSchedule schedule;
    schedule.ReadFromDisk(file);
    if (ended != nullptr) {
        *ended = file.Ended();
    }
    return schedule;
}

std::string Chars(std::initializer_list<int> codes) {
    std::string text;
    for (const int c : codes) {
        text += static_cast<char>(c);
    }
    return text;
}

TEST(ScheduleFileRecord, NewAndDefaultSchedulesAreByteExact) {
    EXPECT_EQ(Saved(cTimeSchedule()), NewScheduleRecord());
    EXPECT_EQ(NewScheduleRecord().size(), 186U);

    cTimeSchedule schedule;
    schedule.SetDefaultPeriod();
    EXPECT_EQ(Saved(schedule), DefaultScheduleRecord());
    EXPECT_EQ(DefaultScheduleRecord().size(), 206U);
}

TEST(ScheduleFileRecord, RoundTripKeepsFlagsPeriodsOrderRowsAndCalendar) {
    ByteWriter w;
    for (int d = 0; d < kDayTypeCount; ++d) {
        if (d == 2) {
            w.Int16s({5, -1, 3, 900, 1000, 100, 50, -20, 2000, 7}); // odd values are taken as they are
        } else {
            w.Int16s({static_cast<std::int16_t>(d % 2 ? -1 : 0), 0, 0, static_cast<std::int16_t>(d)});
        }
    }
    const Bytes record = w.Int16(-1).Data();
    const cTimeSchedule schedule = Read(record);
    EXPECT_EQ(schedule.GetActive(2), 5);
    EXPECT_EQ(schedule.GetGrouped(2), -1);
    ASSERT_EQ(schedule.Periods(2).Count(), 3);
    EXPECT_EQ(schedule.Periods(2).Item(2)->m_StartMinute, 100);
    EXPECT_EQ(schedule.Periods(2).Item(3)->m_StartMinute, -20);
    EXPECT_EQ(schedule.GetAxisIndex(2), 7);
    EXPECT_EQ(schedule.GetAxisIndex(9), 9);
    EXPECT_EQ(schedule.m_UseCalendar, -1);
    EXPECT_EQ(Saved(schedule), record);
}

TEST(ScheduleFileRecord, NegativePeriodCountReadsNoPeriods) {
    ByteWriter w;
    w.Int16s({-1, 0, -3, 12}); // day type 0: count -3, then its AxisIndex
    for (int d = 1; d < kDayTypeCount; ++d) {
        w.Int16s({0, 0, 0, 0});
    }
    const cTimeSchedule schedule = Read(w.Int16(0).Data());
    EXPECT_EQ(schedule.Periods(0).Count(), 0);
    EXPECT_EQ(schedule.GetAxisIndex(0), 12);
}

TEST(ScheduleFileRecord, ReadingReplacesEarlierPeriods) {
    TempDir dir;
    WriteFileBytes(dir.Path() / "s.bin", NewScheduleRecord());
    cTimeSchedule schedule;
    schedule.SetDefaultPeriod();
    BinaryFile file(dir.File("s.bin"), BinaryFile::Mode::Read);
    schedule.ReadFromDisk(file);
    for (std::int16_t d = 0; d < kDayTypeCount; ++d) {
        EXPECT_EQ(schedule.Periods(d).Count(), 0);
    }
    EXPECT_EQ(schedule.GetGrouped(0), 0);
}

TEST(ScheduleFileRecord, ARecordThatEndsEarlyLeavesZerosAndNoPeriods) {
    cTimeSchedule full;
    full.SetDefaultPeriod();
    full.m_UseCalendar = -1;
    Bytes record = Saved(full);
    // Cut inside day type 1's period (offset 12 + 6 + 2).
    record.resize(20);
    bool ended = false;
    const cTimeSchedule schedule = Read(record, &ended);
    EXPECT_TRUE(ended);
    EXPECT_EQ(schedule.Periods(0).Count(), 1);
    EXPECT_EQ(schedule.GetActive(1), -1);
    EXPECT_EQ(schedule.Periods(1).Count(), 0); // the cut period is dropped
    for (std::int16_t d = 2; d < kDayTypeCount; ++d) {
        EXPECT_EQ(schedule.GetActive(d), 0) << d;
        EXPECT_EQ(schedule.Periods(d).Count(), 0) << d;
    }
    EXPECT_EQ(schedule.m_UseCalendar, 0);

    // A huge count with nothing behind it reads no phantom periods.
    const cTimeSchedule huge = Read(ByteWriter().Int16s({-1, 0, 32767}).Data());
    EXPECT_EQ(huge.Periods(0).Count(), 0);
}

TEST(ScheduleFileRecord, MoreThan32767PeriodsOverflowOnSave) {
    cTimeSchedule schedule;
    for (int i = 0; i < 32768; ++i) {
        schedule.SetDefaultPeriod();
    }
    TempDir dir;
    BinaryFile file(dir.File("s.bin"), BinaryFile::Mode::Truncate);
    EXPECT_THROW(schedule.SaveToDisk(file), OverflowError);
    EXPECT_THROW(schedule.ComposePeriodArray(), OverflowError);
}

TEST(PeriodArrayText, ValuesAreTwoCharactersHighByteFirst) {
    EXPECT_EQ(IntegerToChars(420), Chars({1, 164}));
    EXPECT_EQ(IntegerToChars(1440), Chars({5, 160}));
    EXPECT_EQ(IntegerToChars(-1), Chars({255, 255}));
    EXPECT_EQ(IntegerToChars(-32768), Chars({128, 0}));
    for (int v = -32768; v <= 32767; ++v) {
        const std::string chars = IntegerToChars(static_cast<std::int16_t>(v));
        ASSERT_EQ(CharsToInteger(chars[0], chars[1]), v);
    }
}

TEST(PeriodArrayText, NewAndDefaultSchedulesComposeExactly) {
    const std::string fresh = cTimeSchedule().ComposePeriodArray();
    ASSERT_EQ(fresh.size(), 186U);
    EXPECT_EQ(fresh.substr(0, 8), Chars({255, 255, 0, 0, 0, 0, 0, 0}));

    cTimeSchedule schedule;
    schedule.SetDefaultPeriod();
    const std::string text = schedule.ComposePeriodArray();
    ASSERT_EQ(text.size(), 206U);
    EXPECT_EQ(text.substr(0, 12), Chars({255, 255, 255, 255, 0, 1, 1, 164, 3, 192, 0, 0}));
}

TEST(PeriodArrayText, RoundTripMatchesTheFileRecord) {
    cTimeSchedule source = Read([] {
        ByteWriter w;
        for (int d = 0; d < kDayTypeCount; ++d) {
            w.Int16s({-1, static_cast<std::int16_t>(d == 4 ? -1 : 0), 2, static_cast<std::int16_t>(d * 10),
                      1440, -300, 255, static_cast<std::int16_t>(d)});
        }
        return w.Int16(1).Data();
    }());
    cTimeSchedule copy;
    copy.ExtractPeriodArray(source.ComposePeriodArray());
    EXPECT_EQ(Saved(copy), Saved(source));
    EXPECT_EQ(copy.ComposePeriodArray(), source.ComposePeriodArray());
}

TEST(PeriodArrayText, ATextTooShortFailsAndChangesNothing) {
    cTimeSchedule schedule;
    schedule.SetDefaultPeriod();
    schedule.m_UseCalendar = -1;
    const std::string before = schedule.ComposePeriodArray();
    const PeriodPtr kept = schedule.Periods(0).Item(1);

    const std::string text = cTimeSchedule().ComposePeriodArray();
    EXPECT_THROW(schedule.ExtractPeriodArray(text.substr(0, 185)), InvalidArgumentError);
    EXPECT_THROW(schedule.ExtractPeriodArray(""), InvalidArgumentError);
    EXPECT_THROW(schedule.ExtractPeriodArray(Chars({255, 255, 0, 0, 0x7F, 0xFF})), InvalidArgumentError);
    EXPECT_EQ(schedule.ComposePeriodArray(), before);
    EXPECT_EQ(schedule.Periods(0).Item(1), kept); // not even replaced by an equal copy

    schedule.ExtractPeriodArray(text + "trailing characters are ignored");
    EXPECT_EQ(schedule.ComposePeriodArray(), text);
}

} // namespace
} // namespace velmar
