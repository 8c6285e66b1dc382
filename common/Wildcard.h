#pragma once

// File-name patterns: "*" stands for any run of characters and "?" for
// exactly one (one code point of UTF-8 text).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace velmar {

// Matches a file name against a pattern. With ignoreCase, ASCII and Latin-1
// letters match in either case, as on Windows. Only the pattern's "*" and "?"
// are wildcards: in the name they are ordinary characters.
bool WildcardMatch(std::string_view pattern, std::string_view name, bool ignoreCase);

// A pattern matched against many names without regard to letter case, as a
// folder listing does. Check is a quick test of a name's code units before
// any conversion: No for a name the pattern cannot match (its literal ASCII
// head or tail differs, in either letter case, or the name is too short or
// too long for the pattern's characters), Yes for an ASCII name that an
// ASCII pattern without "*" matches unit by unit, and Maybe otherwise, which
// Matches decides. The case mapping maps no character but an ASCII letter
// onto an ASCII letter, so ASCII units of the pattern can only be matched by
// the same ASCII units.
class NamePattern {
public:
    enum class Verdict { No, Yes, Maybe };

    explicit NamePattern(std::string_view pattern);
    // The head and tail are views of the pattern's own copy.
    NamePattern(const NamePattern&) = delete;
    NamePattern& operator=(const NamePattern&) = delete;

    // `name` in code units of UTF-8 (char) or UTF-16 (wchar_t on Windows);
    // `unitsPerCharacter`: the most code units one character takes (4 in
    // UTF-8, 2 in UTF-16).
    template <typename Char>
    Verdict Check(std::basic_string_view<Char> name, std::size_t unitsPerCharacter) const {
        if (m_Ascii && (name.size() < m_Literals + m_Questions ||
                        (!m_Star && name.size() > m_Literals + m_Questions * unitsPerCharacter))) {
            return Verdict::No;
        }
        if (name.size() < m_Head.size() + m_Tail.size() ||
            !SameAscii(name.substr(0, m_Head.size()), m_Head) ||
            !SameAscii(name.substr(name.size() - m_Tail.size()), m_Tail)) {
            return Verdict::No;
        }
        if (!m_Ascii || m_Star || name.size() != m_Pattern.size()) {
            return Verdict::Maybe;
        }
        for (std::size_t i = 0; i < name.size(); ++i) {
            const std::uint32_t unit = Unit(name[i]);
            if (unit >= 0x80) {
                return Verdict::Maybe;
            }
            if (m_Pattern[i] != '?' &&
                AsciiLower(unit) != AsciiLower(static_cast<unsigned char>(m_Pattern[i]))) {
                return Verdict::No;
            }
        }
        return Verdict::Yes;
    }

    // The full match of a UTF-8 name, letter case ignored.
    bool Matches(std::string_view name) const;

private:
    template <typename Char> static std::uint32_t Unit(Char c) {
        return static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<Char>>(c));
    }
    static std::uint32_t AsciiLower(std::uint32_t unit) {
        return unit >= 'A' && unit <= 'Z' ? unit + 0x20 : unit;
    }

    template <typename Char>
    static bool SameAscii(std::basic_string_view<Char> units, std::string_view ascii) {
        for (std::size_t i = 0; i < ascii.size(); ++i) {
            const std::uint32_t unit = Unit(units[i]);
            if (unit >= 0x80 || AsciiLower(unit) != AsciiLower(static_cast<unsigned char>(ascii[i]))) {
                return false;
            }
        }
        return true;
    }

    std::string m_Pattern;
    std::u32string m_Folded; // the pattern's code points, upper-cased
    std::string_view m_Head; // parts of m_Pattern
    std::string_view m_Tail;
    std::size_t m_Literals = 0;
    std::size_t m_Questions = 0;
    bool m_Star = false;
    bool m_Ascii = false;
};

} // namespace velmar
