#include "tests/support/RecordingHost.h"

namespace velmar {

std::vector<std::string> RecordingHost::CallNames() const {
    std::vector<std::string> names;
    names.reserve(m_Calls.size());
    for (const auto& call : m_Calls) {
        names.push_back(call.Name);
    }
    return names;
}

void RecordingHost::Observe(std::string_view name, Arguments arguments) {
    RecordedCall call{std::string(name), {arguments.begin(), arguments.end()}, {}};
    for (const auto& argument : arguments) {
        call.Values.push_back(HostResolved(argument));
    }
    m_Calls.push_back(std::move(call));
}

bool RecordingHost::Fallback(std::string_view /*name*/, Arguments /*arguments*/, HostValue& result) {
    result = HostValue();
    return m_AnswerEverything;
}

} // namespace velmar
