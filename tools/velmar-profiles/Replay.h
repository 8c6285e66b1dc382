#pragma once

// Replaying an event script on an editor of the host library, for the render
// commands.

#include "common/Errors.h"
#include "editor_host/EventScript.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace velmar::tool {

// Reads the script of the --events option, if there is one, with the editor's
// verbs: before anything is drawn, so that a malformed line leaves no picture.
template <typename Editor>
std::vector<ScriptCommand> ReadScriptOption(const std::optional<std::string>& path) {
    return path ? ReadEventScript(*path, Editor::ScriptVerbs()) : std::vector<ScriptCommand>{};
}

// Runs the commands in order, calling `after` behind each. A command that
// fails ends the replay with "FILE:LINE: error" on `err`; returns false then.
template <typename Editor, typename After>
bool Replay(Editor& editor, const std::vector<ScriptCommand>& script, const std::string& file,
            std::ostream& err, After after) {
    for (const ScriptCommand& command : script) {
        try {
            editor.Run(command);
        } catch (const VelmarError& error) {
            err << file << ':' << command.Line << ": " << error.what() << '\n';
            return false;
        }
        after(command);
    }
    return true;
}

} // namespace velmar::tool
