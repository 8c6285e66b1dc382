#include "platform/Process.h"

namespace velmar {

// Windows gives a program no descriptor 2 to redirect: nothing is held, and
// standard error goes where it always goes.
HeldStandardError::HeldStandardError() = default;

HeldStandardError::~HeldStandardError() = default;

void HeldStandardError::Restore() {}

std::string HeldStandardError::Text() const {
    return {};
}

void HeldStandardError::Release() {}

std::string ExecFirst(const std::vector<std::string>& candidates,
                      const std::vector<std::string>& /*arguments*/) {
    return "cannot start " + (candidates.empty() ? std::string("another program") : candidates.front()) +
           ": not supported on Windows";
}

} // namespace velmar
