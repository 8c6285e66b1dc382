#include "common/SystemError.h"

#ifdef _WIN32
#include "common/CodePage.h"

#include <windows.h>
#endif

namespace velmar {

#ifdef _WIN32
std::string WindowsErrorText(unsigned long code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::u16string text;
    if (length > 0 && buffer != nullptr) {
        text.assign(buffer, buffer + length);
    }
    LocalFree(static_cast<HLOCAL>(buffer));
    while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ')) {
        text.pop_back();
    }
    if (text.empty()) {
        return "error " + std::to_string(code);
    }
    return Utf16ToUtf8(text);
}
#endif

} // namespace velmar
