#include "platform/LocalTime.h"

#include <array>
#include <cstdio>

namespace velmar {

using detail::LocalAt;
using detail::UtcAt;

namespace {

// Seconds of a broken-down time counted as if it were UTC, from 1 January
// 1970 (days from the civil date by the proleptic Gregorian calendar).
long long SecondsAsIfUtc(const std::tm& t) {
    const long long year = t.tm_year + 1900LL - (t.tm_mon < 2 ? 1 : 0);
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long yearOfEra = year - era * 400;
    const long long month = t.tm_mon + 1LL;
    const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + t.tm_mday - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const long long days = era * 146097 + dayOfEra - 719468;
    return days * 86400 + t.tm_hour * 3600LL + t.tm_min * 60LL + t.tm_sec;
}

} // namespace

std::tm LocalNow() {
    return LocalAt(std::time(nullptr));
}

std::string LocalClockText() {
    const std::tm local = LocalNow();
    std::array<char, 16> text{};
    const std::size_t length = std::strftime(text.data(), text.size(), "%H:%M:%S", &local);
    return {text.data(), length};
}

std::string LocalTimestampText() {
    const std::time_t now = std::time(nullptr);
    const std::tm local = LocalAt(now);
    const long long offset = (SecondsAsIfUtc(local) - SecondsAsIfUtc(UtcAt(now))) / 60;
    std::array<char, 32> text{};
    std::size_t length = std::strftime(text.data(), text.size(), "%Y-%m-%dT%H:%M:%S", &local);
    const long long minutes = offset < 0 ? -offset : offset;
    length +=
        static_cast<std::size_t>(std::snprintf(text.data() + length, text.size() - length, "%c%02lld:%02lld",
                                               offset < 0 ? '-' : '+', minutes / 60, minutes % 60));
    return {text.data(), length};
}

} // namespace velmar
