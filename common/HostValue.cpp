#include "common/HostValue.h"

#include "common/Errors.h"
#include "common/Numeric.h"

#include <charconv>
#include <cmath>
#include <sstream>

namespace velmar {

namespace {

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

} // namespace velmar
