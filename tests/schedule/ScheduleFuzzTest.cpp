// Random and truncated input for the two readers of a schedule: whatever the
// bytes, they must neither crash nor read beyond their input (run under the
// sanitizer preset too).

#include "common/Errors.h"
#include "platform/BinaryFile.h"
#include "schedule/TimeSchedule.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>
#include <random>

namespace velmar {
namespace {

using test::Bytes;
using test::TempDir;
using test::WriteFileBytes;

Bytes SampleRecord() {
    test::ByteWriter w;
    for (int d = 0; d < kDayTypeCount; ++d) {
        w.Int16s({-1, -1, 2, 420, 600, 700, 960, static_cast<std::int16_t>(d)});
    }
    return w.Int16(-1).Data();
}

void ReadFile(const TempDir& dir, const Bytes& bytes) {
    WriteFileBytes(dir.Path() / "f.bin", bytes);
    BinaryFile file(dir.File("f.bin"), BinaryFile::Mode::Read);
    cTimeSchedule schedule;
    schedule.ReadFromDisk(file);
    for (std::int16_t d = 0; d < kDayTypeCount; ++d) {
        ASSERT_LE(schedule.Periods(d).Count() * 4, static_cast<std::int32_t>(bytes.size()));
    }
}

void Extract(const std::string& text) {
    cTimeSchedule schedule;
    const std::string before = schedule.ComposePeriodArray();
    try {
        schedule.ExtractPeriodArray(text);
    } catch (const InvalidArgumentError&) {
        ASSERT_EQ(schedule.ComposePeriodArray(), before);
    }
}

TEST(ScheduleReadersFuzz, EveryTruncationOfAGoodRecord) {
    const Bytes record = SampleRecord();
    TempDir dir;
    for (std::size_t n = 0; n <= record.size(); ++n) {
        const Bytes cut(record.begin(), record.begin() + static_cast<std::ptrdiff_t>(n));
        ReadFile(dir, cut);
        Extract(std::string(cut.begin(), cut.end()));
    }
}

TEST(ScheduleReadersFuzz, RandomBytes) {
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 600);
    TempDir dir;
    for (int round = 0; round < 400; ++round) {
        Bytes bytes(static_cast<std::size_t>(length(random)));
        for (auto& b : bytes) {
            b = static_cast<std::uint8_t>(byte(random));
        }
        ReadFile(dir, bytes);
        Extract(std::string(bytes.begin(), bytes.end()));
    }
}

} // namespace
} // namespace velmar
