#include "common/SystemError.h"

#include <array>
#include <gtest/gtest.h>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace velmar {
namespace {

#ifdef _WIN32
TEST(WindowsErrorText, GivesTheSystemsWordsOnOneLine) {
    const auto codes = std::to_array<unsigned long>(
        {ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_SHARING_VIOLATION});
    for (const auto code : codes) {
        const std::string text = WindowsErrorText(code);
        EXPECT_FALSE(text.empty()) << code;
        EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << text;
        EXPECT_NE(text.back(), ' ') << text;
        EXPECT_NE(text, "error " + std::to_string(code)) << "the system has words for " << code;
    }
    // Distinct errors read differently (the fault this guards: one text, such
    // as "Success", for every failure).
    EXPECT_NE(WindowsErrorText(ERROR_FILE_NOT_FOUND), WindowsErrorText(ERROR_ACCESS_DENIED));
}

TEST(WindowsErrorText, NamesACodeWithoutText) {
    EXPECT_EQ(WindowsErrorText(0x2000FFFFUL), "error 536936447");
}
#endif

} // namespace
} // namespace velmar
