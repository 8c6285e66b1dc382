#include "common/Wildcard.h"

#include "common/CodePage.h"

#include <algorithm>

namespace velmar {

namespace {

// Glob matching over code points, with backtracking to the last "*". Only the
// pattern's "*" and "?" are wildcards: a "*" in the pattern is a wildcard even
// where the name holds a "*" too, and a "*" or "?" in the name is an ordinary
// character.
bool MatchCodePoints(std::u32string_view pattern, std::u32string_view name) {
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starP = std::u32string_view::npos;
    std::size_t starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == U'*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (starP != std::u32string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == U'*') {
        ++p;
    }
    return p == pattern.size();
}

std::u32string Folded(std::string_view text, bool ignoreCase) {
    std::u32string points = Utf8ToCodePoints(text);
    if (ignoreCase) {
        for (auto& c : points) {
            c = ToUpperCodePoint(c);
        }
    }
    return points;
}

bool IsAsciiText(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

bool WildcardMatch(std::string_view pattern, std::string_view name, bool ignoreCase) {
    return MatchCodePoints(Folded(pattern, ignoreCase), Folded(name, ignoreCase));
}

NamePattern::NamePattern(std::string_view pattern) : m_Pattern(pattern), m_Folded(Folded(pattern, true)) {
    const std::string_view text = m_Pattern;
    const auto first = text.find_first_of("*?");
    if (first == std::string_view::npos) {
        m_Head = text;
    } else {
        m_Head = text.substr(0, first);
        m_Tail = text.substr(text.find_last_of("*?") + 1);
    }
    if (!IsAsciiText(m_Head)) {
        m_Head = {};
    }
    if (!IsAsciiText(m_Tail)) {
        m_Tail = {};
    }
    if (IsAsciiText(text)) {
        const auto count = [&](char c) {
            return static_cast<std::size_t>(std::count(text.begin(), text.end(), c));
        };
        m_Questions = count('?');
        m_Literals = text.size() - m_Questions - count('*');
        m_Star = count('*') > 0;
        m_Ascii = true;
    }
}

bool NamePattern::Matches(std::string_view name) const {
    return MatchCodePoints(m_Folded, Folded(name, true));
}

} // namespace velmar
