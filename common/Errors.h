#pragma once

#include <stdexcept>
#include <string>
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
    explicit FileError(const std::string& what, std::string reason = {})
        : VelmarError("File error: " + what), m_Reason(std::move(reason)) {}
    // The system's reason in words ("permission denied"); empty when none was given.
    const std::string& Reason() const { return m_Reason; }

private:
    std::string m_Reason;
};

class HostCallError : public VelmarError {
public:
    explicit HostCallError(const std::string& what) : VelmarError("Host call failed: " + what) {}
};

} // namespace velmar
