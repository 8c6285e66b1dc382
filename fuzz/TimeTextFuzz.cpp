// Typed times: TimeTextToMinutes never fails, stays within 0..1440, and the
// time text of its result reads back as the same minute.

#include "common/CommonProcedures.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmar;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::int16_t minutes = TimeTextToMinutes(text);
    VELMAR_FUZZ_CHECK(minutes >= 0 && minutes <= 1440, "a minute of the day");
    VELMAR_FUZZ_CHECK(TimeTextToMinutes(MinutesToTimeText(minutes)) == minutes, "its time text reads back");
    return 0;
}
