#pragma once

#include "common/HostWindow.h"

#include <string>
#include <string_view>
#include <vector>

namespace velmar {

// A host for tests: records every call in order, answers the names registered
// with Answer, and, when `answerEverything` is set, every other name with
// nothing (a "Get_" then yields an empty result).
class RecordingHost : public HostWindow {
public:
    struct RecordedCall {
        std::string Name;
        std::vector<HostValue> Arguments; // as passed (references as pointers)
        std::vector<HostValue> Values;    // references replaced by the value they held at the call
    };

    explicit RecordingHost(bool answerEverything = false) : m_AnswerEverything(answerEverything) {}

    const std::vector<RecordedCall>& Calls() const { return m_Calls; }
    void ClearCalls() { m_Calls.clear(); }
    // Names of the calls in order, for compact assertions.
    std::vector<std::string> CallNames() const;

protected:
    void Observe(std::string_view name, Arguments arguments) override;
    bool Fallback(std::string_view name, Arguments arguments, HostValue& result) override;

private:
    bool m_AnswerEverything;
    std::vector<RecordedCall> m_Calls;
};

} // namespace velmar
