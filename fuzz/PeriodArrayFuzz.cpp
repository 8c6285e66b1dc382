// The period array text form: ExtractPeriodArray of any text fails with
// InvalidArgumentError, leaving the schedule unchanged, exactly when the text
// ends before its counts say; otherwise ComposePeriodArray gives back the
// values read (a negative period count as 0), and that reads back the same.

#include "common/Errors.h"
#include "fuzz/FuzzSupport.h"
#include "schedule/TimeSchedule.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmar;
    const std::string text(reinterpret_cast<const char*>(data), size);
    cTimeSchedule schedule;
    schedule.SetDefaultPeriod();
    const std::string before = schedule.ComposePeriodArray();
    try {
        schedule.ExtractPeriodArray(text);
    } catch (const InvalidArgumentError&) {
        VELMAR_FUZZ_CHECK(!fuzz::ExpectedRecord(text, true), "a text long enough for its counts is taken");
        VELMAR_FUZZ_CHECK(schedule.ComposePeriodArray() == before,
                          "a failed parse leaves the schedule unchanged");
        return 0;
    }
    const std::string after = schedule.ComposePeriodArray();
    const auto expected = fuzz::ExpectedRecord(text, true);
    VELMAR_FUZZ_CHECK(expected.has_value(), "only a text long enough for its counts is taken");
    VELMAR_FUZZ_CHECK(after == *expected, "the text composed holds the values read");
    cTimeSchedule back;
    back.ExtractPeriodArray(after);
    VELMAR_FUZZ_CHECK(back.ComposePeriodArray() == after, "what is composed reads back the same");
    return 0;
}
