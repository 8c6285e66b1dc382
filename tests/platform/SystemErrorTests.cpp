#include "platform/SystemError.h"

#include <array>
#include <gtest/gtest.h>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace velmar {
namespace {

#ifdef _WIN32
TEST(SystemErrorText, GivesTheSystemsWordsOnOneLine) {
    const auto codes = std::to_array<unsigned long>(
        {ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_SHARING_VIOLATION});
    for (const auto code : codes) {
        const std::string text = SystemErrorText({static_cast<int>(code), std::system_category()});
        EXPECT_FALSE(text.empty()) << code;
        EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << text;
        EXPECT_NE(text.back(), ' ') << text;
        EXPECT_NE(text, "error " + std::to_string(code)) << "the system has words for " << code;
    }
    // Distinct errors read differently (the fault this guards: one text, such
    // as "Success", for every failure).
    EXPECT_NE(SystemErrorText({ERROR_FILE_NOT_FOUND, std::system_category()}),
              SystemErrorText({ERROR_ACCESS_DENIED, std::system_category()}));
}

TEST(SystemErrorText, NamesACodeWithoutText) {
    EXPECT_EQ(SystemErrorText({0x2000FFFF, std::system_category()}), "error 536936447");
}
#endif

} // namespace
} // namespace velmar
