#include "common/HostWindow.h"

#include "common/Errors.h"
#include "common/Numeric.h"

#include <charconv>
#include <cmath>
#include <sstream>

namespace velmar {

namespace {

constexpr std::size_t kMaxArguments = 5;

struct NumberVisitor {
    double operator()(std::monostate /*nothing*/) const {
        throw InvalidArgumentError("host returned nothing where a number is needed");
    }
    double operator()(const std::string& text) const {
        double value = 0;
        const char* first = text.data();
        const char* last = text.data() + text.size();
        while (first != last && (*first == ' ' || *first == '\t')) {
            ++first;
        }
        auto [ptr, ec] = std::from_chars(first, last, value);
        while (ptr != last && (*ptr == ' ' || *ptr == '\t')) {
            ++ptr;
        }
        if (ec != std::errc() || ptr != last) {
            throw InvalidArgumentError("host text \"" + text + "\" is not a number");
        }
        return value;
    }
    double operator()(std::int16_t v) const { return v; }
    double operator()(std::int32_t v) const { return v; }
    double operator()(double v) const { return v; }
    double operator()(const std::int16_t* p) const { return p != nullptr ? *p : 0; }
    double operator()(const std::int32_t* p) const { return p != nullptr ? *p : 0; }
};

bool Fits(HostArgument kind, const HostValue& value) {
    switch (kind) {
    case HostArgument::Text:
        return std::holds_alternative<std::string>(value);
    case HostArgument::Int16:
        return std::holds_alternative<std::int16_t>(value);
    case HostArgument::Int32:
        return std::holds_alternative<std::int32_t>(value);
    case HostArgument::Integer:
        return std::holds_alternative<std::int16_t>(value) || std::holds_alternative<std::int32_t>(value);
    case HostArgument::Int16Reference:
        return std::holds_alternative<std::int16_t*>(value);
    case HostArgument::Int32Reference:
        return std::holds_alternative<std::int32_t*>(value);
    case HostArgument::Int32OrReference:
        return std::holds_alternative<std::int32_t>(value) || std::holds_alternative<std::int32_t*>(value);
    case HostArgument::Number:
        return std::holds_alternative<std::int16_t>(value) || std::holds_alternative<std::int32_t>(value) ||
               std::holds_alternative<double>(value);
    case HostArgument::AsReturned:
        return true;
    }
    return false;
}

} // namespace

HostValue HostResolved(const HostValue& value) {
    if (const auto* p16 = std::get_if<std::int16_t*>(&value)) {
        return *p16 != nullptr ? HostValue(**p16) : HostValue();
    }
    if (const auto* p32 = std::get_if<std::int32_t*>(&value)) {
        return *p32 != nullptr ? HostValue(**p32) : HostValue();
    }
    return value;
}

double HostNumber(const HostValue& value) {
    return std::visit(NumberVisitor{}, value);
}

std::int16_t HostInt16(const HostValue& value) {
    return RoundToInt16(HostNumber(value), "host value");
}

std::int32_t HostInt32(const HostValue& value) {
    return RoundToInt32(HostNumber(value), "host value");
}

bool HostTruth(const HostValue& value) {
    return HostNumber(value) != 0;
}

bool HostIsNothing(const HostValue& value) {
    return std::holds_alternative<std::monostate>(value);
}

std::string HostText(const HostValue& value) {
    const HostValue resolved = HostResolved(value);
    if (const auto* text = std::get_if<std::string>(&resolved)) {
        return *text;
    }
    if (HostIsNothing(resolved)) {
        return {};
    }
    const double number = HostNumber(resolved);
    if (std::holds_alternative<double>(resolved)) {
        std::ostringstream out;
        out.precision(15);
        out << number;
        return out.str();
    }
    return std::to_string(static_cast<long long>(number));
}

HostValue HostDifference(const HostValue& a, const HostValue& b) {
    const HostValue ra = HostResolved(a);
    const HostValue rb = HostResolved(b);
    const bool integral = !std::holds_alternative<double>(ra) && !std::holds_alternative<std::string>(ra) &&
                          !std::holds_alternative<double>(rb) && !std::holds_alternative<std::string>(rb);
    const double difference = HostNumber(ra) - HostNumber(rb);
    if (integral) {
        return ToInt32(static_cast<long long>(difference), "host value difference");
    }
    return difference;
}

void HostWindow::Answer(std::string name, Handler handler) {
    m_Handlers[std::move(name)] = std::move(handler);
}

bool HostWindow::Answers(std::string_view name) const {
    return m_Handlers.find(name) != m_Handlers.end();
}

HostValue HostWindow::Call(std::string_view name, std::initializer_list<HostValue> arguments) {
    return Call(name, Arguments(arguments.begin(), arguments.size()));
}

HostValue HostWindow::Call(std::string_view name, Arguments arguments) {
    if (arguments.size() > kMaxArguments) {
        throw InvalidArgumentError("host call " + std::string(name) + " with more than five arguments");
    }
    Observe(name, arguments);
    HostValue result;
    const auto found = m_Handlers.find(name);
    if (found == m_Handlers.end()) {
        if (!Fallback(name, arguments, result)) {
            throw HostCallError("the host does not answer \"" + std::string(name) + "\"");
        }
        return result;
    }
    try {
        return found->second(arguments);
    } catch (const HostCallError&) {
        throw;
    } catch (const std::exception& error) {
        throw HostCallError("\"" + std::string(name) + "\": " + error.what());
    }
}

HostValue HostWindow::Call(const HostCallback& callback, std::initializer_list<HostValue> arguments) {
    if (arguments.size() < callback.Required || arguments.size() > callback.Allowed) {
        throw InvalidArgumentError(
            std::string(callback.Name) + " takes " + std::to_string(callback.Required) + " to " +
            std::to_string(callback.Allowed) + " arguments, not " + std::to_string(arguments.size()));
    }
    std::size_t position = 0;
    for (const HostValue& argument : arguments) {
        if (!Fits(callback.Arguments.at(position), argument)) {
            throw InvalidArgumentError("argument " + std::to_string(position + 1) + " of " +
                                       std::string(callback.Name) + " is not of the kind its contract names");
        }
        ++position;
    }
    return Call(callback.Name, arguments);
}

void HostWindow::Observe(std::string_view /*name*/, Arguments /*arguments*/) {}

bool HostWindow::Fallback(std::string_view /*name*/, Arguments /*arguments*/, HostValue& /*result*/) {
    return false;
}

} // namespace velmar
