#pragma once

// Event scripts: the mouse events and commands a host replays on an editor,
// one command a line. The grammar is the same for every editor:
//
//   - a line holds a verb and its arguments, separated by blanks or tabs;
//   - an argument in double quotes may hold blanks or be empty ("");
//   - "#" outside double quotes starts a comment; blank lines are skipped;
//   - "down X Y [BUTTON]", "move X Y", "up X Y" and "paint" mean the same in
//     every editor: X and Y are pixels of the picture box, BUTTON 1 is the
//     left (the default) and 2 the right button.
//
// Each editor adds verbs of its own. A malformed line is reported as
// "FILE:LINE: message".

#include "common/Errors.h"

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmar {

// What an argument of a verb must be.
enum class ScriptValue : std::uint8_t {
    Coordinate, // a finite number of pixels, at most a million either way
    Button,     // a whole 16-bit number
    Entry,      // a whole number from 0 to 32767
    Text,       // any word, or a text in double quotes
};

struct ScriptVerb {
    std::string_view Name;
    std::string_view Arguments; // as the user reads them: "X Y [BUTTON]"
    std::vector<ScriptValue> Values;
    std::size_t Required = 0; // the values after these are optional
};

// The verbs every editor understands: down, move, up and paint.
std::vector<ScriptVerb> PointerScriptVerbs();

// One command of a script, checked against its verb.
struct ScriptCommand {
    int Line = 0; // 1-based
    std::string Verb;
    std::vector<std::string> Arguments; // as written, quotes removed

    bool Has(std::size_t index) const { return index < Arguments.size(); }
    float Coordinate(std::size_t index) const;
    std::int16_t Integer(std::size_t index) const;
    const std::string& Text(std::size_t index) const { return Arguments.at(index); }
};

// Runs a command of PointerScriptVerbs on an editor that has MouseDown(button,
// x, y), MouseMove(x, y), MouseUp(x, y) and Paint(); false for any other verb.
template <typename Editor> bool RunPointerCommand(Editor& editor, const ScriptCommand& command) {
    const std::string& verb = command.Verb;
    if (verb == "down") {
        constexpr std::int16_t kLeftButton = 1;
        editor.MouseDown(command.Has(2) ? command.Integer(2) : kLeftButton, command.Coordinate(0),
                         command.Coordinate(1));
    } else if (verb == "move") {
        editor.MouseMove(command.Coordinate(0), command.Coordinate(1));
    } else if (verb == "up") {
        editor.MouseUp(command.Coordinate(0), command.Coordinate(1));
    } else if (verb == "paint") {
        editor.Paint();
    } else {
        return false;
    }
    return true;
}

// A line that does not follow the grammar, or a command that failed when it
// ran. Where() gives "FILE:LINE: message".
class ScriptError : public InvalidArgumentError {
public:
    ScriptError(const std::string& file, int line, const std::string& message)
        : InvalidArgumentError(file + ":" + std::to_string(line) + ": " + message),
          m_Where(file + ":" + std::to_string(line) + ": " + message) {}
    const std::string& Where() const { return m_Where; }

private:
    std::string m_Where;
};

// Reads a whole script before anything runs, so that a malformed line leaves
// nothing half done. `file` names the script in error messages. ScriptError
// for the first malformed line.
std::vector<ScriptCommand> ParseEventScript(std::istream& in, const std::string& file,
                                            std::span<const ScriptVerb> verbs);
// The same for a script file; FileError when it cannot be read.
std::vector<ScriptCommand> ReadEventScript(const std::string& path, std::span<const ScriptVerb> verbs);

} // namespace velmar
