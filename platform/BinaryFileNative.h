#pragma once

// The operating-system calls under BinaryFile, one source per platform
// (BinaryFilePosix.cpp, BinaryFileWindows.cpp). Internal to platform/.

#include "platform/BinaryFile.h"

#include <cstdint>
#include <string>
#include <system_error>

namespace velmar::native {

inline constexpr std::intptr_t kClosedHandle = -1;
inline constexpr const char* kNotARegularFile = "not a regular file";

struct OpenedFile {
    std::intptr_t Handle = kClosedHandle;
    std::uint64_t Size = 0;
};

// Opens a regular file without waiting for a writer or a device; FileError
// naming the file and the reason for anything else.
OpenedFile OpenNative(const std::string& path, BinaryFile::Mode mode);
// Bytes read, 0 at the end of the file, -1 on failure (LastSystemError tells).
long long ReadNative(std::intptr_t handle, char* buffer, std::size_t count);
// Bytes written, -1 on failure.
long long WriteNative(std::intptr_t handle, const char* buffer, std::size_t count);
bool SeekNative(std::intptr_t handle, std::uint64_t position);
bool CloseNative(std::intptr_t handle);

// The injected failure of a call, if a test installed one (SetFileFaultInjector).
std::error_code InjectedFault(FileCall call, const std::string& path);

// FileError "ACTION "PATH": REASON", with the system's error kept when there is one.
[[noreturn]] void ThrowFileError(const char* action, const std::string& path, const std::string& reason);
[[noreturn]] void ThrowFileError(const char* action, const std::string& path, const std::error_code& error);

} // namespace velmar::native
