#include "platform/SystemError.h"

#include <cerrno>

namespace velmar {

std::error_code LastSystemError() {
    return {errno, std::generic_category()};
}

std::string SystemErrorText(const std::error_code& error) {
    return detail::TidySystemErrorText({}, error);
}

bool IsNoSuchFile(const std::error_code& error) {
    return error == std::errc::no_such_file_or_directory;
}

} // namespace velmar
