#include "tools/velmar-profiles/ArgumentParser.h"

#include <algorithm>

namespace velmar::tool {

namespace {

bool IsHelp(std::string_view arg) {
    return arg == "--help" || arg == "-h";
}

bool IsOption(std::string_view arg) {
    return arg.size() > 1 && arg.front() == '-';
}

} // namespace

std::optional<std::string> ParsedArguments::Value(std::string_view option) const {
    const auto found = m_Values.find(option);
    if (found == m_Values.end() || found->second.empty()) {
        return std::nullopt;
    }
    return found->second.back();
}

std::vector<std::string> ParsedArguments::Values(std::string_view option) const {
    const auto found = m_Values.find(option);
    return found == m_Values.end() ? std::vector<std::string>{} : found->second;
}

std::vector<std::pair<std::string, std::string>>
ParsedArguments::ValuesInOrder(std::initializer_list<std::string_view> options) const {
    std::vector<std::pair<std::string, std::string>> values;
    for (const auto& given : m_InOrder) {
        if (std::find(options.begin(), options.end(), given.first) != options.end()) {
            values.push_back(given);
        }
    }
    return values;
}

ParsedArguments ParseArguments(const CommandSyntax& syntax, const Arguments& args) {
    ParsedArguments parsed;
    parsed.m_Given = args;
    const bool ownHelp = syntax.Help.empty();
    // Help wins over everything else on the line, as users add it to a line
    // that did not work.
    if (!ownHelp && std::any_of(args.begin(), args.end(), IsHelp)) {
        parsed.Help = true;
        return parsed;
    }

    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || !IsOption(arg)) {
            parsed.m_Operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (ownHelp && IsHelp(arg)) {
            parsed.Help = true;
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        const auto option =
            std::find_if(syntax.Options.begin(), syntax.Options.end(),
                         [&](const OptionSyntax& candidate) { return candidate.Name == name; });
        if (option == syntax.Options.end()) {
            throw UsageError("unknown option \"" + name + "\"");
        }
        std::string value;
        if (option->Value.empty()) {
            if (equals != std::string::npos) {
                throw UsageError(name + " takes no value");
            }
        } else if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            throw UsageError(name + " needs " + std::string(option->Value));
        }
        auto& values = parsed.m_Values[name];
        if (!values.empty() && !option->Repeatable) {
            throw UsageError(name + " is given more than once");
        }
        parsed.m_InOrder.emplace_back(name, value);
        values.push_back(std::move(value));
    }

    for (const OptionSyntax& option : syntax.Options) {
        if (option.Required && !parsed.Has(option.Name)) {
            throw UsageError(std::string(option.Name) + " " + std::string(option.Value) + " is required");
        }
    }
    const std::size_t operands = parsed.m_Operands.size();
    if (operands < syntax.MinOperands) {
        throw UsageError("no " + std::string(syntax.Operands) + " given");
    }
    if (operands > syntax.MaxOperands) {
        if (syntax.MaxOperands == 0) {
            throw UsageError("unexpected argument \"" + parsed.m_Operands.front() + "\"");
        }
        throw UsageError("more than " + std::string(syntax.MaxOperands == 1 ? "one " : "the expected ") +
                         std::string(syntax.Operands) + " given");
    }
    return parsed;
}

} // namespace velmar::tool
