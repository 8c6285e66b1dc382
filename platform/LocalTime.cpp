#include "platform/LocalTime.h"

#include <array>

namespace velmar {

std::tm LocalNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return local;
}

std::string LocalClockText() {
    const std::tm local = LocalNow();
    std::array<char, 16> text{};
    const std::size_t length = std::strftime(text.data(), text.size(), "%H:%M:%S", &local);
    return {text.data(), length};
}

} // namespace velmar
