// A period is one allocation: the largest schedules hold 23 x 32,767 periods,
// and a second allocation per period would double the memory of a load.

#include "platform/BinaryFile.h"
#include "schedule/PeriodArray.h"
#include "schedule/TimeSchedule.h"
#include "tests/support/TestFiles.h"

#include <atomic>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <new>
#include <string>

namespace {

std::atomic<long long> g_Allocations{0};

} // namespace

// Every allocation of the process goes through these; malloc and free keep
// them consistent with each other under the sanitizers too. A replacement of
// the global operator new has nothing but malloc to allocate with.
// NOLINTBEGIN(cppcoreguidelines-no-malloc)
void* operator new(std::size_t size) {
    ++g_Allocations;
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t /*size*/) noexcept {
    std::free(memory);
}
// NOLINTEND(cppcoreguidelines-no-malloc)

namespace velmar {
namespace {

constexpr int kPeriods = 2000;

// Allocations made while `work` runs.
long long AllocationsOf(const std::function<void()>& work) {
    const long long before = g_Allocations.load();
    work();
    return g_Allocations.load() - before;
}

// A schedule with kPeriods periods on Monday, as its text form.
std::string ManyPeriodsText() {
    std::string text;
    for (int d = 0; d < kDayTypeCount; ++d) {
        text += IntegerToChars(-1);
        text += IntegerToChars(0);
        text += IntegerToChars(static_cast<std::int16_t>(d == 0 ? kPeriods : 0));
        for (int i = 0; d == 0 && i < kPeriods; ++i) {
            text += IntegerToChars(static_cast<std::int16_t>(i % 1440));
            text += IntegerToChars(static_cast<std::int16_t>(i % 1440 + 1));
        }
        text += IntegerToChars(0);
    }
    return text + IntegerToChars(0);
}

TEST(PeriodAllocation, EveryWayOfMakingPeriodsAllocatesEachOnce) {
    // Besides one allocation per period, a reader may grow its lists: a few
    // dozen allocations in all, whatever the number of periods.
    constexpr long long kListGrowth = 200;
    const std::string text = ManyPeriodsText();
    test::TempDir dir;
    const std::string path = dir.File("record.bin");
    {
        cTimeSchedule schedule;
        schedule.ExtractPeriodArray(text);
        BinaryFile file(path, BinaryFile::Mode::Truncate);
        schedule.SaveToDisk(file);
        file.Close();
    }
    struct Case {
        const char* what;
        std::function<void(cTimeSchedule&)> make;
    };
    const std::vector<Case> cases = {
        {"text form", [&](cTimeSchedule& s) { s.ExtractPeriodArray(text); }},
        {"file record",
         [&](cTimeSchedule& s) {
             BinaryFile file(path, BinaryFile::Mode::Read);
             s.ReadFromDisk(file);
         }},
    };
    for (const auto& c : cases) {
        cTimeSchedule schedule;
        const long long made = AllocationsOf([&] { c.make(schedule); });
        ASSERT_EQ(schedule.Periods(0).Count(), kPeriods) << c.what;
        EXPECT_GE(made, kPeriods) << c.what;
        EXPECT_LE(made, kPeriods + kListGrowth) << c.what;
    }
}

} // namespace
} // namespace velmar
