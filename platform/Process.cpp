#include "platform/Process.h"

#include <cstdlib>

namespace velmar {

std::optional<std::string> ProcessEnvironment(const char* name) {
    const char* value = std::getenv(name); // NOLINT(concurrency-mt-unsafe): read at start
    if (value == nullptr) {
        return std::nullopt;
    }
    return std::string(value);
}

} // namespace velmar
