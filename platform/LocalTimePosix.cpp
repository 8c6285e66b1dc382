#include "platform/LocalTime.h"

namespace velmar::detail {

std::tm LocalAt(std::time_t time) {
    std::tm local{};
    localtime_r(&time, &local);
    return local;
}

std::tm UtcAt(std::time_t time) {
    std::tm utc{};
    gmtime_r(&time, &utc);
    return utc;
}

} // namespace velmar::detail
