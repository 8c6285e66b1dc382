#include "editor_host/EditHistory.h"

#include <utility>

namespace velmar {

EditHistory::EditHistory(std::string state) {
    Reset(std::move(state));
}

bool EditHistory::Record(std::string state) {
    if (state == Current()) {
        return false;
    }
    m_States.resize(m_Position + 1);
    m_States.push_back(std::move(state));
    ++m_Position;
    return true;
}

std::optional<std::string> EditHistory::Undo() {
    if (!CanUndo()) {
        return std::nullopt;
    }
    --m_Position;
    return Current();
}

std::optional<std::string> EditHistory::Redo() {
    if (!CanRedo()) {
        return std::nullopt;
    }
    ++m_Position;
    return Current();
}

void EditHistory::Reset(std::string state) {
    m_States.clear();
    m_States.push_back(std::move(state));
    m_Position = 0;
    m_Saved = Current();
}

} // namespace velmar
