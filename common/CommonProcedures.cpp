#include "common/CommonProcedures.h"

#include "common/CodePage.h"
#include "common/Errors.h"
#include "common/Numeric.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace velmar {

std::string TextData;
std::vector<TextIndexEntry> TextIndex;
std::int32_t TextCount = 0;

namespace {

constexpr std::size_t kMaxTokenText = 32767;

// 1-based position of `what` in `text` at or after `start`, 0 when absent. An
// empty `what` is found at `start` of any non-empty text.
std::size_t InStr(std::size_t start, std::string_view text, std::string_view what) {
    if (what.empty()) {
        return text.empty() ? 0 : start;
    }
    const auto found = text.find(what, start - 1);
    return found == std::string_view::npos ? 0 : found + 1;
}

// The numeric value a typed time part begins with: blanks, tabs and line feeds
// anywhere are ignored, then an optional sign, digits, and a decimal point with
// further digits, up to the first other character. No number gives 0.
double LeadingNumber(std::string_view part) {
    std::string compact;
    for (const char c : part) {
        if (c != ' ' && c != '\t' && c != '\n') {
            compact += c;
        }
    }
    std::size_t i = 0;
    double sign = 1;
    if (i < compact.size() && (compact[i] == '+' || compact[i] == '-')) {
        sign = compact[i] == '-' ? -1 : 1;
        ++i;
    }
    double value = 0;
    for (; i < compact.size() && compact[i] >= '0' && compact[i] <= '9'; ++i) {
        value = value * 10 + (compact[i] - '0');
    }
    if (i < compact.size() && compact[i] == '.') {
        double scale = 0.1;
        for (++i; i < compact.size() && compact[i] >= '0' && compact[i] <= '9'; ++i) {
            value += (compact[i] - '0') * scale;
            scale /= 10;
        }
    }
    return sign * value;
}

std::string LastTwoDigits(long long value) {
    const std::string text = "00" + std::to_string(value);
    return text.substr(text.size() - 2);
}

} // namespace

std::string GetToken(const std::string& Text, std::int16_t Index, std::string& Delimiter) {
    if (Utf8Length(Text) > kMaxTokenText) {
        throw OverflowError("GetToken text longer than 32767 characters");
    }
    if (Delimiter.empty()) {
        if (Text.find('\t') != std::string::npos) {
            Delimiter = "\t";
        } else if (Text.find(';') != std::string::npos) {
            Delimiter = ";";
        }
    }
    std::size_t start = 1;
    std::size_t pos = InStr(1, Text, Delimiter);
    int n = Index;
    while (n > 0 && pos > 0) {
        start = pos + Delimiter.size();
        pos = InStr(start, Text, Delimiter);
        --n;
    }
    if (n != 0) {
        return {};
    }
    if (pos == 0) {
        pos = Text.size() + 1;
    }
    return Text.substr(start - 1, pos - start);
}

std::string GetText(std::int32_t TextNumber) {
    const auto valid =
        std::min<std::size_t>(TextCount < 0 ? 0 : static_cast<std::size_t>(TextCount), TextIndex.size());
    for (std::size_t i = 0; i < valid; ++i) {
        const TextIndexEntry& entry = TextIndex[i];
        if (entry.Number != TextNumber) {
            continue;
        }
        if (entry.Start < 1 || entry.Length < 0) {
            throw InvalidArgumentError("text " + std::to_string(TextNumber) +
                                       " has an invalid place in the table");
        }
        const std::u32string all = Utf8ToCodePoints(TextData);
        const auto first = std::min<std::size_t>(static_cast<std::size_t>(entry.Start - 1), all.size());
        return CodePointsToUtf8(
            std::u32string_view(all).substr(first, static_cast<std::size_t>(entry.Length)));
    }
    return "Invalid Text (" + std::to_string(TextNumber) + ")";
}

std::int16_t TimeTextToMinutes(const std::string& Text) {
    double total = 0;
    std::size_t separator = std::string::npos;
    for (const char candidate : {':', '.', ',', ' ', '-', '+'}) {
        separator = Text.find(candidate);
        if (separator != std::string::npos) {
            break;
        }
    }
    if (separator != std::string::npos) {
        total = LeadingNumber(std::string_view(Text).substr(0, separator)) * 60 +
                LeadingNumber(std::string_view(Text).substr(separator + 1));
    } else {
        // Lengths and positions count characters (code points), not bytes.
        std::u32string digits = Utf8ToCodePoints(Text);
        if ((digits.empty() || digits.front() != U'0') && digits.size() < 3) {
            digits += U"00"; // a bare hour: "7" is 07:00
        }
        digits = U"0000" + digits;
        digits = digits.substr(digits.size() - 4);
        const std::u32string_view last4(digits);
        total = LeadingNumber(CodePointsToUtf8(last4.substr(0, 2))) * 60 +
                LeadingNumber(CodePointsToUtf8(last4.substr(2, 2)));
    }
    if (std::isnan(total)) {
        return 0; // "-1e400:1e400" and the like: no meaningful time
    }
    const double minutes = RoundHalfEven(total);
    if (minutes < 0) {
        return 0;
    }
    if (minutes > 1440) {
        return 1440;
    }
    return static_cast<std::int16_t>(minutes);
}

std::string MinutesToTimeText(std::int32_t Minutes) {
    // Integer division and remainder truncate towards zero, as the time boxes have always shown them.
    return LastTwoDigits(Minutes / 60) + ":" + LastTwoDigits(Minutes % 60);
}

} // namespace velmar
