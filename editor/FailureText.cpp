#include "editor/FailureText.h"

#include "common/Errors.h"

#include <new>

namespace velmar {

std::string FailureText(const std::exception& error, std::string_view action, std::string_view path) {
    if (dynamic_cast<const VelmarError*>(&error) != nullptr) {
        return error.what();
    }
    const std::string reason = dynamic_cast<const std::bad_alloc*>(&error) != nullptr
                                   ? "not enough memory"
                                   : "unexpected error (" + std::string(error.what()) + ")";
    return "cannot " + std::string(action) + (path.empty() ? "" : " " + std::string(path)) + ": " + reason;
}

} // namespace velmar
