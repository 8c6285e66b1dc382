#include "common/CodePage.h"
#include "platform/SystemError.h"

#include <windows.h>

namespace velmar {

std::error_code LastSystemError() {
    return {static_cast<int>(GetLastError()), std::system_category()};
}

std::string SystemErrorText(const std::error_code& error) {
    if (error.category() != std::system_category()) {
        return detail::TidySystemErrorText({}, error);
    }
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(error.value()), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text;
    if (length > 0 && buffer != nullptr) {
        text = WideToUtf8(std::wstring_view(buffer, length));
    }
    LocalFree(buffer);
    if (text.empty()) {
        // A code the system has no words for: its number says most.
        return "error " + std::to_string(error.value());
    }
    return detail::TidySystemErrorText(std::move(text), error);
}

bool IsNoSuchFile(const std::error_code& error) {
    if (error.category() == std::system_category() &&
        (error.value() == ERROR_FILE_NOT_FOUND || error.value() == ERROR_PATH_NOT_FOUND)) {
        return true;
    }
    return error == std::errc::no_such_file_or_directory;
}

} // namespace velmar
