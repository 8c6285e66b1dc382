#include "common/ConsoleText.h"

#include <array>
#include <gtest/gtest.h>
#include <string>

namespace velmar {
namespace {

TEST(ConsoleBlock, EscapesEverythingThatCouldDriveATerminal) {
    struct Case {
        std::string_view Text;
        const char* Expected;
    };
    const auto cases = std::to_array<Case>({
        {"plain", "plain"},
        {"a\\b", "a\\\\b"},
        {"a\r\nb", "a\\r\\nb"},
        {"\n\n", "\\n\\n"},
        {"\\n", "\\\\n"}, // a written backslash-n stays distinguishable from a line feed
        {"tab\tand \xC3\x85", "tab\\x09and \xC3\x85"},
        {"\x1B[31mred\x1B[0m", "\\x1B[31mred\\x1B[0m"}, // an escape sequence stays inert
        {"bell\a del\x7F", "bell\\x07 del\\x7F"},
        {std::string_view("nul\0end", 7), "nul\\x00end"},
        {"\x1F \x20", "\\x1F  "},
        // C1 controls (undefined code page 1252 bytes map to them) and bytes
        // that are no UTF-8 are written byte by byte; the rest of UTF-8 stays.
        {"osc\xC2\x9D end", "osc\\xC2\\x9D end"},
        {"\xC2\xA0nbsp \xE2\x80\xA6", "\xC2\xA0nbsp \xE2\x80\xA6"},
        {"bad\xFF \xC3", "bad\\xFF \\xC3"},
        {"", ""},
    });
    for (const auto& c : cases) {
        EXPECT_EQ(EscapeConsoleText(c.Text), c.Expected) << c.Text;
    }
}

TEST(JsonText, EveryByteANameMayHoldIsAValidJsonString) {
    struct Case {
        std::string_view Text;
        const char* Expected;
    };
    const auto cases = std::to_array<Case>({
        {"plain", R"("plain")"},
        {"say \"hi\"", R"("say \"hi\"")"},
        {"C:\\Data\\", R"("C:\\Data\\")"},
        {"a\r\nb\tc\bd\fe", R"("a\r\nb\tc\bd\fe")"},
        {std::string_view("nul\0\x01\x1F\x7F", 7), R"("nul\u0000\u0001\u001f\u007f")"},
        {"\x1B[31m", R"("\u001b[31m")"},
        {"osc\xC2\x9D", R"("osc\u009d")"},
        {"\xC3\x85sa \xC2\xB7 \xE2\x80\xA6 \xF0\x9F\x94\x94",
         "\"\xC3\x85sa \xC2\xB7 \xE2\x80\xA6 \xF0\x9F\x94\x94\""},
        {"bad\xFF\xC3",
         R"("bad\ufffd\ufffd")"}, // bytes that are no UTF-8 (a data folder given in another encoding)
        {"</script>", R"("</script>")"},
        {"", R"("")"},
    });
    for (const auto& c : cases) {
        EXPECT_EQ(JsonString(c.Text), c.Expected) << c.Text;
    }
}

} // namespace
} // namespace velmar
