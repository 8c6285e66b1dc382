#include "platform/CommandLine.h"

#include <array>
#include <gtest/gtest.h>

namespace velmar {
namespace {

TEST(CommandLineAfterProgramName, SkipsTheNameAsWindowsDoes) {
    struct Case {
        const char* CommandLine;
        const char* Expected;
    };
    const auto cases = std::to_array<Case>({
        {R"(C:\Alarm\velmar.exe /PATH:D:\Data)", R"(/PATH:D:\Data)"},
        {R"("C:\Program Files\Velmar\velmar.exe" /PATH:D:\Data)", R"(/PATH:D:\Data)"},
        // A quoted name ends at its closing quotation mark, space or not.
        {R"("C:\Program Files\velmar.exe"/PATH:D:\Data)", R"(/PATH:D:\Data)"},
        // The name's own "/" and "/PATH:" are no part of the command line.
        {R"(C:/Alarm/velmar.exe /PATH:D:\Data)", R"(/PATH:D:\Data)"},
        {R"("C:\x /PATH:y\velmar.exe" /PATH:D:\Data)", R"(/PATH:D:\Data)"},
        // Spaces and tabs after the name go; the rest stays exactly as typed.
        {"velmar.exe \t  list \"/PATH:C:\\L\xC3\xA4rm\"  ", "list \"/PATH:C:\\L\xC3\xA4rm\"  "},
        {"velmar.exe\t/PATH:x", "/PATH:x"},
        {"velmar.exe", ""},
        {"velmar.exe   ", ""},
        {R"("C:\an unterminated name /PATH:x)", ""},
        {"", ""},
    });
    for (const auto& c : cases) {
        EXPECT_EQ(CommandLineAfterProgramName(c.CommandLine), c.Expected) << c.CommandLine;
    }
}

} // namespace
} // namespace velmar
