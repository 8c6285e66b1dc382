#pragma once

#include <stdexcept>
#include <string>
#include <system_error>
#include <utility>

namespace velmar {

// Base of every error the system raises to its caller. The kinds mirror the
// run-time errors the operations document: a subscript outside a fixed table,
// a value beyond its integer width, an argument the operation cannot use, a
// failing file operation and a host callback that is not answered or fails.
class VelmarError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class OutOfRangeError : public VelmarError {
public:
    explicit OutOfRangeError(const std::string& what) : VelmarError("Subscript out of range: " + what) {}
};

class OverflowError : public VelmarError {
public:
    explicit OverflowError(const std::string& what) : VelmarError("Overflow: " + what) {}
};

class InvalidArgumentError : public VelmarError {
public:
    explicit InvalidArgumentError(const std::string& what) : VelmarError("Invalid argument: " + what) {}
};

class FileError : public VelmarError {
public:
    explicit FileError(const std::string& what, std::string reason = {}, std::error_code code = {})
        : VelmarError("File error: " + what), m_Reason(std::move(reason)), m_Code(code) {}
    // The system's reason in words ("permission denied"); empty when none was given.
    const std::string& Reason() const { return m_Reason; }
    // The system's error behind it; empty when no system call failed (a file
    // refused for being no regular file, a file that ended early).
    const std::error_code& Code() const { return m_Code; }

private:
    std::string m_Reason;
    std::error_code m_Code;
};

class HostCallError : public VelmarError {
public:
    explicit HostCallError(const std::string& what) : VelmarError("Host call failed: " + what) {}
};

} // namespace velmar
