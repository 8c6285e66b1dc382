#include "editor_host/EventScript.h"

#include "common/ConsoleText.h"
#include "common/Paths.h"
#include "editor_host/FileLimits.h"
#include "platform/RegularFile.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <istream>
#include <optional>
#include <sstream>
#include <system_error>

namespace velmar {

namespace {

constexpr double kFarthestCoordinate = 1e6;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// Splits a line into words up to a "#" outside double quotes; nothing for a
// text in double quotes that is not closed.
std::optional<std::vector<std::string>> Words(std::string_view line) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        if (IsBlank(line[i])) {
            ++i;
        } else if (line[i] == '#') {
            break;
        } else if (line[i] == '"') {
            const std::size_t end = line.find('"', i + 1);
            if (end == std::string_view::npos) {
                return std::nullopt;
            }
            words.emplace_back(line.substr(i + 1, end - i - 1));
            i = end + 1;
        } else {
            std::size_t end = i;
            while (end < line.size() && !IsBlank(line[end]) && line[end] != '"' && line[end] != '#') {
                ++end;
            }
            words.emplace_back(line.substr(i, end - i));
            i = end;
        }
    }
    return words;
}

std::optional<double> Number(const std::string& text) {
    double value = 0;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, value);
    if (error != std::errc() || end != last) {
        return std::nullopt;
    }
    return value;
}

std::optional<long long> WholeNumber(const std::string& text) {
    long long value = 0;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, value);
    if (error != std::errc() || end != last) {
        return std::nullopt;
    }
    return value;
}

// The message for an argument that is not what its verb takes; empty when it is.
std::string Check(ScriptValue kind, const std::string& text) {
    switch (kind) {
    case ScriptValue::Coordinate: {
        const auto value = Number(text);
        // Far beyond any picture box is still a position; only finite numbers are.
        return value && std::isfinite(*value) && std::fabs(*value) <= kFarthestCoordinate
                   ? ""
                   : "X and Y must be numbers of pixels";
    }
    case ScriptValue::Button: {
        const auto value = WholeNumber(text);
        return value && *value >= INT16_MIN && *value <= INT16_MAX
                   ? ""
                   : "BUTTON must be a whole number (1 left, 2 right)";
    }
    case ScriptValue::Entry: {
        const auto value = WholeNumber(text);
        return value && *value >= 0 && *value <= INT16_MAX ? "" : "ENTRY must be a whole number, 0 for none";
    }
    case ScriptValue::Text:
        return "";
    }
    return "";
}

} // namespace

std::vector<ScriptVerb> PointerScriptVerbs() {
    using enum ScriptValue;
    return {
        {"down", "X Y [BUTTON]", {Coordinate, Coordinate, Button}, 2},
        {"move", "X Y", {Coordinate, Coordinate}, 2},
        {"up", "X Y", {Coordinate, Coordinate}, 2},
        {"paint", "", {}, 0},
    };
}

float ScriptCommand::Coordinate(std::size_t index) const {
    return static_cast<float>(Number(Arguments.at(index)).value_or(0));
}

std::int16_t ScriptCommand::Integer(std::size_t index) const {
    return static_cast<std::int16_t>(WholeNumber(Arguments.at(index)).value_or(0));
}

std::vector<ScriptCommand> ParseEventScript(std::istream& in, const std::string& file,
                                            std::span<const ScriptVerb> verbs) {
    std::vector<ScriptCommand> commands;
    std::string text;
    int line = 0;
    while (std::getline(in, text)) {
        ++line;
        // Editors on Windows may begin a UTF-8 file with a byte-order mark.
        if (line == 1 && text.starts_with("\xEF\xBB\xBF")) {
            text.erase(0, 3);
        }
        const auto words = Words(text);
        if (!words) {
            throw ScriptError(file, line, "a text in double quotes is not closed");
        }
        if (words->empty()) {
            continue;
        }
        ScriptCommand command{line, words->front(), {words->begin() + 1, words->end()}};
        const auto verb = std::find_if(verbs.begin(), verbs.end(), [&](const ScriptVerb& candidate) {
            return candidate.Name == command.Verb;
        });
        if (verb == verbs.end()) {
            // The word is the script's own bytes: escaped, so that the message
            // stays one line of text that cannot drive a terminal.
            throw ScriptError(file, line, "unknown command \"" + EscapeConsoleText(command.Verb) + "\"");
        }
        if (command.Arguments.size() < verb->Required || command.Arguments.size() > verb->Values.size()) {
            throw ScriptError(file, line,
                              command.Verb + (verb->Values.empty()
                                                  ? std::string(" takes no arguments")
                                                  : " takes " + std::string(verb->Arguments)));
        }
        for (std::size_t i = 0; i < command.Arguments.size(); ++i) {
            const std::string problem = Check(verb->Values[i], command.Arguments[i]);
            if (!problem.empty()) {
                throw ScriptError(file, line, problem);
            }
        }
        commands.push_back(std::move(command));
    }
    if (in.bad()) {
        throw FileError("cannot read the event script " + file);
    }
    return commands;
}

std::vector<ScriptCommand> ReadEventScript(const std::string& path, std::span<const ScriptVerb> verbs) {
    std::vector<std::uint8_t> bytes;
    try {
        // Only a regular file, never waiting for a FIFO's writer, and no larger
        // than a script may be.
        bytes = ReadRegularFile(path, kEventScriptKind);
    } catch (const FileError& error) {
        throw FileError("cannot read the event script " + path + ": " +
                        (error.Reason().empty() ? std::string(error.what()) : error.Reason()));
    }
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    return ParseEventScript(in, path, verbs);
}

} // namespace velmar
