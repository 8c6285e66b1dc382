#include "platform/LocalTime.h"

namespace velmar::detail {

std::tm LocalAt(std::time_t time) {
    std::tm local{};
    localtime_s(&local, &time);
    return local;
}

std::tm UtcAt(std::time_t time) {
    std::tm utc{};
    gmtime_s(&utc, &time);
    return utc;
}

} // namespace velmar::detail
