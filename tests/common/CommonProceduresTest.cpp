#include "common/CommonProcedures.h"

#include "common/Errors.h"

#include <array>
#include <gtest/gtest.h>

namespace velmar {
namespace {

TEST(GetToken, Table) {
    struct Case {
        std::string text;
        std::int16_t index;
        std::string delimiter;
        std::string result;
        std::string delimiterAfter;
    };
    const auto cases = std::to_array<Case>({
        {"a;b;c", 1, "", "b", ";"},
        {"a;b;c", 2, ";", "c", ";"},
        {"a;b;c", 3, ";", "", ";"},
        {"a;;c", 1, ";", "", ";"},
        {"abc", 0, ";", "abc", ";"},
        {"abc", 0, "", "", ""},
        {"x\ty;z", 1, "", "y;z", "\t"},
        {"D:\\Data /X", 0, "/", "D:\\Data ", "/"},
        {"a;b", -1, ";", "", ";"},
        {"a::b::c", 2, "::", "c", "::"},
        {"", 0, "", "", ""},
        {"", 0, ";", "", ";"},
        {"abc", 2, "", "", ""}, // an empty delimiter never moves past the start
        {"a;b;", 2, ";", "", ";"},
    });
    for (const auto& c : cases) {
        std::string delimiter = c.delimiter;
        EXPECT_EQ(GetToken(c.text, c.index, delimiter), c.result) << c.text << " index " << c.index;
        EXPECT_EQ(delimiter, c.delimiterAfter) << c.text;
    }
}

TEST(GetToken, TextBeyondSixteenBitPositionsOverflows) {
    std::string delimiter = ";";
    EXPECT_NO_THROW(GetToken(std::string(32767, 'a'), 0, delimiter));
    EXPECT_THROW(GetToken(std::string(32768, 'a'), 0, delimiter), OverflowError);
}

TEST(GetText, EmptyTableGivesTheFallback) {
    EXPECT_EQ(GetText(611), "Invalid Text (611)");
    EXPECT_EQ(GetText(-1), "Invalid Text (-1)");
    EXPECT_EQ(GetText(803), "Invalid Text (803)");
}

TEST(GetText, FindsTheFirstEntryAndCutsAtTheEndOfTheData) {
    TextData = "MåndagTisdagOnsdag";
    TextIndex = {{611, 1, 6}, {612, 7, 6}, {611, 13, 6}, {613, 13, 99}};
    TextCount = 4;
    EXPECT_EQ(GetText(611), "Måndag"); // characters, not bytes
    EXPECT_EQ(GetText(612), "Tisdag");
    EXPECT_EQ(GetText(613), "Onsdag");
    TextCount = 1; // entries beyond the count are not looked at
    EXPECT_EQ(GetText(612), "Invalid Text (612)");
    TextData.clear();
    TextIndex.clear();
    TextCount = 0;
}

TEST(TimeTextToMinutes, Table) {
    struct Case {
        const char* text;
        std::int16_t minutes;
    };
    const auto cases = std::to_array<Case>({
        {"7:30", 450},     {"7.30", 450},
        {"7,5", 425},      {"7", 420},
        {"07", 7},         {"1600", 960},
        {"24:00", 1440},   {"25:00", 1440},
        {"-1:00", 0},      {"-5", 5},
        {"12:00:30", 720}, {"", 0},
        {"730", 450},      {"0730", 450},
        {"12345", 1425},   {"7.5:00", 450},
        {"12", 720},       {"abc", 0},
        {"7 30", 450},     {"7+30", 450},
        {"0:0.5", 0},      {"0:1.5", 2},
        {"0:2.5", 2},      {" 7 : 30", 450},
        {"7\t:3\t0", 450}, {"99999999999999999999:00", 1440},
        {"x:y", 0},        {"23:59", 1439},
        {"7.5", 425},
    });
    for (const auto& c : cases) {
        EXPECT_EQ(TimeTextToMinutes(c.text), c.minutes) << '"' << c.text << '"';
    }
}

// Lengths and positions count characters, not bytes: "12é" is three characters,
// so nothing is appended, and the last four of "000012é" are "012é": one hour
// and two minutes.
TEST(TimeTextToMinutes, CountsCharactersNotBytes) {
    struct Case {
        const char* text;
        std::int16_t minutes;
    };
    const auto cases =
        std::to_array<Case>({{"12é", 62}, {"1234é", 1384}, {"7é", 420}, {"é", 0}, {"2€:5", 125}});
    for (const auto& c : cases) {
        EXPECT_EQ(TimeTextToMinutes(c.text), c.minutes) << '"' << c.text << '"';
    }
}

TEST(MinutesToTimeText, TwoDigitHoursAndMinutes) {
    struct Case {
        std::int32_t minutes;
        const char* text;
    };
    const auto cases = std::to_array<Case>({{0, "00:00"},
                                            {5, "00:05"},
                                            {450, "07:30"},
                                            {1439, "23:59"},
                                            {1440, "24:00"},
                                            {1445, "24:05"},
                                            {6000, "00:00"}}); // 100 hours: the last two digits of each part
    for (const auto& c : cases) {
        EXPECT_EQ(MinutesToTimeText(c.minutes), c.text) << c.minutes;
    }
}

} // namespace
} // namespace velmar
