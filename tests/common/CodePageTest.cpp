#include "common/CodePage.h"

#include <array>
#include <gtest/gtest.h>
#include <string>

namespace velmar {
namespace {

TEST(CodePage1252, SwedishNamesComeOutRight) {
    EXPECT_EQ(Cp1252ToUtf8("\xC5sa"), "Åsa");
    EXPECT_EQ(Cp1252ToUtf8("\xD6land"), "Öland");
    EXPECT_EQ(Cp1252ToUtf8("\xE4ngel"), "ängel");
    EXPECT_EQ(Cp1252ToUtf8("\x80 \x8A \x9F"), "€ Š Ÿ");
    EXPECT_EQ(Utf8ToCp1252("Åsa på Öland"), "\xC5sa p\xE5 \xD6land");
}

TEST(CodePage1252, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    const std::string utf8 = Cp1252ToUtf8(all);
    EXPECT_EQ(Utf8ToCp1252(utf8), all);
    EXPECT_EQ(Utf8Length(utf8), 256U);
    // Undefined bytes map to the code point of the same number.
    EXPECT_EQ(Cp1252ToUtf8("\x81"), "\xC2\x81");
    EXPECT_EQ(Cp1252ToUtf8("\x9D"), "\xC2\x9D");
}

TEST(CodePage1252, UnmappableAndMalformedBecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToCp1252("日本"), "??");
    EXPECT_EQ(Utf8ToCp1252("a\xFF"
                           "b"),
              "a?b");
    EXPECT_EQ(Utf8ToCp1252("\xC3"), "?");      // cut-off sequence
    EXPECT_EQ(Utf8ToCp1252("\xC0\x80"), "??"); // overlong encodings are not accepted
}

TEST(Utf8Text, LengthLeftAndUpperCountCharacters) {
    EXPECT_EQ(Utf8Length("Åsa·"), 4U);
    EXPECT_EQ(Utf8Left("Åsa·x", 4), "Åsa·");
    EXPECT_EQ(Utf8Left("ab", 10), "ab");
    EXPECT_EQ(Utf8ToUpper("åsa öland äpple ÿ œ š ž ß µ abc"), "ÅSA ÖLAND ÄPPLE Ÿ Œ Š Ž ß µ ABC");
    EXPECT_EQ(Utf8ToUpper("x\xFFy"), "X\xFFY"); // stray bytes stay
}

TEST(Utf16Text, ConvertsToUtf8) {
    struct Case {
        std::u16string Utf16;
        std::string Utf8;
    };
    const auto cases = std::to_array<Case>({
        {u"", ""},
        {u"C:\\Lärm Åsa\\Project", "C:\\Lärm Åsa\\Project"},
        {u"€ ·", "€ ·"},
        {u"\U0001F600", "\xF0\x9F\x98\x80"}, // a surrogate pair is one character
        // Unpaired surrogates, which Windows file names may hold, become U+FFFD.
        {std::u16string(1, char16_t{0xD83D}) + u"x", "\xEF\xBF\xBDx"},
        {u"x" + std::u16string(1, char16_t{0xDE00}), "x\xEF\xBF\xBD"},
        {std::u16string(2, char16_t{0xD83D}), "\xEF\xBF\xBD\xEF\xBF\xBD"},
    });
    for (const auto& c : cases) {
        EXPECT_EQ(Utf16ToUtf8(c.Utf16), c.Utf8) << c.Utf8;
    }
}

} // namespace
} // namespace velmar
