#pragma once

// The one line the editor shows for an operation on one file that failed,
// whatever ended it: the program's own errors name the file and the reason
// already; running out of memory and other standard errors are named here.

#include <exception>
#include <string>
#include <string_view>

namespace velmar {

// "cannot ACTION PATH: REASON", or the error's own text when it is one of the
// program's (common/Errors.h).
std::string FailureText(const std::exception& error, std::string_view action, std::string_view path);

} // namespace velmar
