#pragma once

// The one argument parser of velmar-profiles. Each command declares its
// options and operands; the parser checks a command line against them, so an
// unknown option, a missing value and a missing operand read the same in
// every command.

#include "common/Errors.h"

#include <cstddef>
#include <initializer_list>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velmar::tool {

// A command's arguments as given, without the program and command names.
using Arguments = std::vector<std::string>;

// A command line the user got wrong. Message() is the text without the kind.
class UsageError : public InvalidArgumentError {
public:
    explicit UsageError(const std::string& message) : InvalidArgumentError(message), m_Message(message) {}
    const std::string& Message() const { return m_Message; }

private:
    std::string m_Message;
};

// Braces give every member a default, so designated initializers may leave any out.
struct OptionSyntax {
    std::string_view Name{};  // "--out"
    std::string_view Value{}; // what follows it ("FILE.png"); empty for a flag
    bool Required{false};
    bool Repeatable{false};
};

inline constexpr std::size_t kAnyNumber = std::numeric_limits<std::size_t>::max();

struct CommandSyntax {
    std::string_view Name{};
    std::string_view Synopsis{}; // the line of the tool's help: "show FILE"
    std::string_view Summary{};  // what the command does, in a line or two
    // Printed by "COMMAND --help". Empty when the command prints its own help:
    // --help and -h then reach it as given.
    std::string_view Help{};
    std::vector<OptionSyntax> Options{};
    std::string_view Operands{}; // named in messages: "profile file"
    std::size_t MinOperands{0};
    std::size_t MaxOperands{0};
};

class ParsedArguments {
public:
    // --help or -h was given; nothing else was checked.
    bool Help = false;

    bool Has(std::string_view option) const { return m_Values.contains(option); }
    // The value of an option, or nothing when it was not given.
    std::optional<std::string> Value(std::string_view option) const;
    // Every value of a repeatable option, in order.
    std::vector<std::string> Values(std::string_view option) const;
    // Every value of the given options as (option, value), in the order of the
    // command line: "--a 1 --b 2 --a 3" gives a 1, b 2, a 3 for {"--a", "--b"}.
    std::vector<std::pair<std::string, std::string>>
    ValuesInOrder(std::initializer_list<std::string_view> options) const;
    const std::vector<std::string>& Operands() const { return m_Operands; }
    // The arguments as given.
    const Arguments& Given() const { return m_Given; }

private:
    friend ParsedArguments ParseArguments(const CommandSyntax& syntax, const Arguments& args);

    std::map<std::string, std::vector<std::string>, std::less<>> m_Values;
    std::vector<std::pair<std::string, std::string>> m_InOrder; // every option with its value
    std::vector<std::string> m_Operands;
    Arguments m_Given;
};

// Checks a command's arguments against its syntax. Options come as "--name
// VALUE" or "--name=VALUE", anywhere among the operands; "--" ends the options;
// "-" alone is an operand. UsageError for an unknown option, an option without
// its value, a flag with one, a second use of an option that is not
// repeatable, a required option left out, and too few or too many operands.
ParsedArguments ParseArguments(const CommandSyntax& syntax, const Arguments& args);

} // namespace velmar::tool
