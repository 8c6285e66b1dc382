#include "common/CodePage.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace velmar
