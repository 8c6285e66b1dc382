#include "common/CodePage.h"
#include "report/TrayToolTip.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace velmar {
namespace {

const std::string kDot = "\xC2\xB7 ";
const std::string kHeading = "Aktiva profiler:";
constexpr ToolTipRules kWindows{ToolTipLimit::Windows, "\r\n"};
constexpr ToolTipRules kUnlimited{ToolTipLimit::None, "\n"};

// The heading and one line per name, joined by `lineBreak`.
std::string Lines(const std::vector<std::string>& names, const std::string& lineBreak) {
    std::string text = kHeading;
    for (const auto& name : names) {
        text += lineBreak + kDot + name;
    }
    return text;
}

TEST(TrayToolTip, NamesByTheRulesOfEachNotificationArea) {
    const std::string name60(60, 'N');
    const std::vector<std::string> longNames = {"Nattlarm Lager", "Server room", "Weekend patrol",
                                                "\xC3\x85sa hemtj\xC3\xA4nst"};
    struct Case {
        const char* Title;
        ToolTipRules Rules;
        std::vector<std::string> Active;
        std::string Expected;
    };
    const std::vector<Case> cases = {
        {"Windows, none active", kWindows, {}, kHeading},
        {"unlimited, none active", kUnlimited, {}, kHeading},
        {"Windows, one five-letter name: 25 characters", kWindows, {"Alpha"}, Lines({"Alpha"}, "\r\n")},
        {"Windows, four short names, no mark",
         kWindows,
         {"A", "B", "C", "D"},
         Lines({"A", "B", "C", "D"}, "\r\n")},
        {"Windows, five: four named and the mark",
         kWindows,
         {"A", "B", "C", "D", "E"},
         Lines({"A", "B", "C", "D"}, "\r\n") + " (more...)"},
        {"Windows, a 60-character name is cut to 34",
         kWindows,
         {name60},
         Lines({name60.substr(0, 34)}, "\r\n")},
        {"Windows, the cut falls between CR and LF",
         kWindows,
         {std::string(33, 'a'), "b"},
         kHeading + "\r\n" + kDot + std::string(33, 'a') + "\r"},
        {"Windows, the example data loses names without a sign", kWindows, longNames,
         "Aktiva profiler:\r\n" + kDot + "Nattlarm Lager\r\n" + kDot + "Server room\r\n" + kDot + "W"},
        {"unlimited, the example data names all four in full", kUnlimited, longNames, Lines(longNames, "\n")},
        {"unlimited, a 60-character name stays whole", kUnlimited, {name60}, Lines({name60}, "\n")},
        {"unlimited, four long names and a fifth: the mark",
         kUnlimited,
         {name60, name60, name60, name60, "E"},
         Lines({name60, name60, name60, name60}, "\n") + " (more...)"},
        {"unlimited, the fifth is never named",
         kUnlimited,
         {"A", "B", "C", "D", "E", "F"},
         Lines({"A", "B", "C", "D"}, "\n") + " (more...)"},
        {"markup is kept literally", kUnlimited, {"<b>x</b>"}, Lines({"<b>x</b>"}, "\n")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TrayToolTipText(c.Active, std::nullopt, c.Rules), c.Expected) << c.Title;
    }
}

TEST(TrayToolTip, WindowsLengthsAtTheCut) {
    // 16 + 4 + 34 = exactly 54 characters: nothing is cut.
    EXPECT_EQ(Utf8Length(TrayToolTipText({std::string(34, 'a')}, std::nullopt, kWindows)), 54u);
    // Five long names: 54 and " (more...)" give exactly 64.
    std::vector<std::string> five;
    for (char c = 'A'; c < 'F'; ++c) {
        five.emplace_back(20, c);
    }
    EXPECT_EQ(Utf8Length(TrayToolTipText(five, std::nullopt, kWindows)), 64u);
    // Characters, not bytes: "Ö" is two bytes and one character.
    std::string name;
    for (int i = 0; i < 60; ++i) {
        name += "\xC3\x96";
    }
    EXPECT_EQ(TrayToolTipText({name}, std::nullopt, kWindows), kHeading + "\r\n" + kDot + name.substr(0, 68));
}

TEST(TrayToolTip, TheFirstProblemFollowsOnALineOfItsOwn) {
    const std::string longProblem =
        "Profiles folder not found: /srv/alarm/a rather long path/Project/Profiles/";
    struct Case {
        const char* Title;
        ToolTipRules Rules;
        std::vector<std::string> Active;
        std::string Problem;
        std::string Expected;
    };
    const std::vector<Case> cases = {
        {"Windows, after the names",
         kWindows,
         {"Alpha"},
         "Profile_0002.dat: permission denied",
         Lines({"Alpha"}, "\r\n") + "\r\nProfile_0002.dat: permission denied"},
        {"unlimited, after the mark",
         kUnlimited,
         {"A", "B", "C", "D", "E"},
         "Profile_0002.dat: permission denied",
         Lines({"A", "B", "C", "D"}, "\n") + " (more...)\nProfile_0002.dat: permission denied"},
        {"a long problem is cut to 60 characters with an ellipsis",
         kUnlimited,
         {},
         longProblem,
         kHeading + "\n" + Utf8Left(longProblem, 59) + "\xE2\x80\xA6"},
        {"exactly 60 characters stay whole",
         kWindows,
         {},
         std::string(60, 'p'),
         kHeading + "\r\n" + std::string(60, 'p')},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TrayToolTipText(c.Active, c.Problem, c.Rules), c.Expected) << c.Title;
    }
}

} // namespace
} // namespace velmar
