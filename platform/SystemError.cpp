#include "platform/SystemError.h"

#include <cctype>

namespace velmar::detail {

std::string TidySystemErrorText(std::string text, const std::error_code& error) {
    if (text.empty()) {
        text = error.message();
    }
    while (!text.empty() &&
           (text.back() == '.' || std::isspace(static_cast<unsigned char>(text.back())) != 0)) {
        text.pop_back();
    }
    if (text.empty()) {
        return "error " + std::to_string(error.value());
    }
    if (text.size() > 1 && std::isupper(static_cast<unsigned char>(text[0])) != 0 &&
        std::islower(static_cast<unsigned char>(text[1])) != 0) {
        text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    }
    return text;
}

} // namespace velmar::detail
