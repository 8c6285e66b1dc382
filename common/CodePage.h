#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmar {

// Profile texts are stored as 8-bit Windows code page 1252 bytes; the program
// works in UTF-8. The five byte values that code page leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) map to the code point of the same number, so every
// byte string survives a round trip.
std::string Cp1252ToUtf8(std::string_view bytes);

// The reverse conversion. Code points that code page 1252 cannot hold, and
// malformed UTF-8, become "?".
std::string Utf8ToCp1252(std::string_view utf8);

// Number of code points in a UTF-8 text, and its first `count` code points.
// Malformed bytes count as one character each.
std::size_t Utf8Length(std::string_view utf8);
std::string Utf8Left(std::string_view utf8, std::size_t count);

// UTF-8 to code points; each malformed byte becomes its own value (0x80..0xFF).
std::u32string Utf8ToCodePoints(std::string_view utf8);
std::string CodePointsToUtf8(std::u32string_view codePoints);

// UTF-16 (as Windows hands out command lines, file names and messages) to
// UTF-8. An unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);
#ifdef _WIN32
// A Windows wide text (UTF-16 in wchar_t) to UTF-8, as Utf16ToUtf8.
std::string WideToUtf8(std::wstring_view wide);
#endif

// The code point of the well-formed UTF-8 sequence at byte `i`, advancing `i`
// past it; nothing for a malformed byte, advancing `i` by one.
std::optional<char32_t> DecodeUtf8At(std::string_view utf8, std::size_t& i);

// Upper case of one code point, with the mapping described below.
char32_t ToUpperCodePoint(char32_t c);

// Upper case with the system's case mapping for the characters code page 1252
// can hold (a-z, à-þ except ÷, š, œ, ž, ÿ); other code points stay as they are.
std::string Utf8ToUpper(std::string_view utf8);

} // namespace velmar
