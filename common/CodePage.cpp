#include "common/CodePage.h"

#include <algorithm>
#include <array>

namespace velmar {

namespace {

// Code points of bytes 0x80..0x9F in code page 1252. The five bytes the code
// page leaves undefined keep their own number.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t ByteToCodePoint(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        return kHighControls[byte - 0x80];
    }
    return byte;
}

int CodePointToByte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<int>(c);
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c) {
            return static_cast<int>(0x80 + i);
        }
    }
    return -1;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes the code point at `i` and advances past it. A malformed sequence
// yields its first byte's value and advances by one; `malformed` tells which.
char32_t DecodeAt(std::string_view s, std::size_t& i, bool& malformed) {
    const auto lead = static_cast<unsigned char>(s[i]);
    malformed = false;
    std::size_t length = 0;
    char32_t c = 0;
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        c = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        c = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        c = lead & 0x07;
    }
    if (length == 0 || i + length > s.size()) {
        malformed = true;
        ++i;
        return lead;
    }
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(s[i + k]);
        if ((next & 0xC0) != 0x80) {
            malformed = true;
            ++i;
            return lead;
        }
        c = (c << 6) | (next & 0x3F);
    }
    constexpr std::array<char32_t, 5> kSmallest = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kSmallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        malformed = true;
        ++i;
        return lead;
    }
    i += length;
    return c;
}

} // namespace

std::string Cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char b : bytes) {
        AppendUtf8(out, ByteToCodePoint(static_cast<unsigned char>(b)));
    }
    return out;
}

std::string Utf8ToCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        bool malformed = false;
        const char32_t c = DecodeAt(utf8, i, malformed);
        const int byte = malformed ? -1 : CodePointToByte(c);
        out += byte < 0 ? '?' : static_cast<char>(byte);
    }
    return out;
}

std::u32string Utf8ToCodePoints(std::string_view utf8) {
    std::u32string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        bool malformed = false;
        out += DecodeAt(utf8, i, malformed);
    }
    return out;
}

std::string CodePointsToUtf8(std::u32string_view codePoints) {
    std::string out;
    out.reserve(codePoints.size());
    for (const char32_t c : codePoints) {
        AppendUtf8(out, c);
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    constexpr char32_t kReplacement = 0xFFFD;
    auto isHigh = [](char16_t u) { return u >= 0xD800 && u <= 0xDBFF; };
    auto isLow = [](char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; };
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const char16_t unit = utf16[i];
        if (isHigh(unit) && i + 1 < utf16.size() && isLow(utf16[i + 1])) {
            AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) +
                                (static_cast<char32_t>(utf16[i + 1]) - 0xDC00));
            ++i;
        } else {
            AppendUtf8(out, isHigh(unit) || isLow(unit) ? kReplacement : static_cast<char32_t>(unit));
        }
    }
    return out;
}

#ifdef _WIN32
std::string WideToUtf8(std::wstring_view wide) {
    static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide texts are UTF-16");
    std::u16string utf16(wide.size(), u'\0');
    std::transform(wide.begin(), wide.end(), utf16.begin(),
                   [](wchar_t c) { return static_cast<char16_t>(c); });
    return Utf16ToUtf8(utf16);
}
#endif

std::optional<char32_t> DecodeUtf8At(std::string_view utf8, std::size_t& i) {
    bool malformed = false;
    const char32_t c = DecodeAt(utf8, i, malformed);
    if (malformed) {
        return std::nullopt;
    }
    return c;
}

std::size_t Utf8Length(std::string_view utf8) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < utf8.size(); ++count) {
        bool malformed = false;
        DecodeAt(utf8, i, malformed);
    }
    return count;
}

std::string Utf8Left(std::string_view utf8, std::size_t count) {
    std::size_t i = 0;
    for (std::size_t n = 0; n < count && i < utf8.size(); ++n) {
        bool malformed = false;
        DecodeAt(utf8, i, malformed);
    }
    return std::string(utf8.substr(0, i));
}

char32_t ToUpperCodePoint(char32_t c) {
    if (c >= U'a' && c <= U'z') {
        return c - 0x20;
    }
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) {
        return c - 0x20;
    }
    switch (c) {
    case 0x0161:
        return 0x0160; // š
    case 0x0153:
        return 0x0152; // œ
    case 0x017E:
        return 0x017D; // ž
    case 0x00FF:
        return 0x0178; // ÿ
    default:
        return c;
    }
}

std::string Utf8ToUpper(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t start = i;
        bool malformed = false;
        const char32_t c = DecodeAt(utf8, i, malformed);
        if (malformed) {
            out += utf8[start]; // keep stray bytes as they are
        } else {
            AppendUtf8(out, ToUpperCodePoint(c));
        }
    }
    return out;
}

} // namespace velmar
