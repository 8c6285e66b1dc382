#pragma once

// Undo and redo for an editor, to any depth: the document's stored state (the
// schedule's text form, the calendar's codes) after every edit.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace velmar {

class EditHistory {
public:
    // `state` is the document as opened; it counts as saved.
    explicit EditHistory(std::string state = {});

    // Records the state after an edit. An edit that changed nothing adds no
    // step; any other drops the steps that were undone. True when a step was added.
    bool Record(std::string state);
    // The state to return to, or nothing at the oldest state.
    std::optional<std::string> Undo();
    // The state an Undo left, or nothing when no step was undone.
    std::optional<std::string> Redo();
    bool CanUndo() const { return m_Position > 0; }
    bool CanRedo() const { return m_Position + 1 < m_States.size(); }

    const std::string& Current() const { return m_States[m_Position]; }
    // The current state was saved (or opened).
    void MarkSaved() { m_Saved = Current(); }
    // Whether the current state differs from the saved one: an undo after a
    // save modifies the document again, a redo back to it does not.
    bool Modified() const { return Current() != m_Saved; }
    // Starts over from `state`, saved, as after opening or reloading the file.
    void Reset(std::string state);

private:
    std::vector<std::string> m_States;
    std::size_t m_Position = 0;
    std::string m_Saved;
};

} // namespace velmar
