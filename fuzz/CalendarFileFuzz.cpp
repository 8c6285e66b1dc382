// The calendar file: ReadFromDisk of any bytes takes the little-endian codes
// the file holds and 0 beyond its end; the calendar then compares equal to the
// file, and a saved copy reads back the same.

#include "calendar/Calendar.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmar;
    const auto input = fuzz::ScratchFolder() / "calendar.bin";
    const auto copy = fuzz::ScratchFolder() / "copy.bin";
    fuzz::WriteBytes(input, std::string_view(reinterpret_cast<const char*>(data), size));
    std::filesystem::remove(copy);

    cCalendar calendar;
    calendar.SetDayType(0, 5); // replaced by the file, which starts at day 0
    VELMAR_FUZZ_CHECK(calendar.ReadFromDisk(input.string()) == -1, "an existing file is read");
    for (std::size_t day = 0; day < static_cast<std::size_t>(kCalendarDays); ++day) {
        const std::size_t at = 2 * day;
        const auto expected = at + 1 < size ? static_cast<std::int16_t>(data[at] | (data[at + 1] << 8)) : 0;
        VELMAR_FUZZ_CHECK(calendar.GetDayType(static_cast<std::int32_t>(day)) == expected,
                          "each code is the file's, 0 beyond its end");
    }
    VELMAR_FUZZ_CHECK(calendar.CompareToDisk(input.string()) == -1, "the calendar equals the file it read");
    calendar.SaveToDisk(copy.string());
    cCalendar back;
    back.ReadFromDisk(copy.string());
    VELMAR_FUZZ_CHECK(back.CompareToOtherCalendar(&calendar) == -1, "a saved calendar reads back the same");
    return 0;
}
