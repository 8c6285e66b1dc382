// BinaryFile's system calls on Windows.

#include "common/Paths.h"
#include "platform/BinaryFileNative.h"
#include "platform/SystemError.h"

#include <algorithm>
#include <windows.h>

namespace velmar::native {

namespace {

HANDLE AsHandle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

} // namespace

// Opens with full sharing, so that the program writing a profile is never
// blocked by our read, not even when it deletes or renames the file. Only
// disk files are kept: pipes and devices (CON, NUL, \\.\pipe\...) are refused
// before anything is read from them.
OpenedFile OpenNative(const std::string& path, BinaryFile::Mode mode) {
    if (const auto error = InjectedFault(FileCall::Open, path)) {
        ThrowFileError("cannot open", path, error);
    }
    const std::wstring wide = PathFromUtf8(path).wstring();
    DWORD access = GENERIC_READ;
    DWORD disposition = OPEN_EXISTING;
    if (mode == BinaryFile::Mode::Update) {
        access |= GENERIC_WRITE;
        disposition = OPEN_ALWAYS;
    } else if (mode == BinaryFile::Mode::Truncate) {
        access = GENERIC_WRITE;
        disposition = CREATE_ALWAYS;
    }
    HANDLE handle = CreateFileW(wide.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        // A folder cannot be opened as a file, and Windows calls that "access
        // is denied"; the folder is named for what it is.
        const DWORD attributes = GetFileAttributesW(wide.c_str());
        if (code == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            ThrowFileError("cannot open", path,
                           SystemErrorText(std::make_error_code(std::errc::is_a_directory)));
        }
        ThrowFileError("cannot open", path, std::error_code(static_cast<int>(code), std::system_category()));
    }
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        CloseHandle(handle);
        ThrowFileError("cannot open", path, kNotARegularFile);
    }
    LARGE_INTEGER size{};
    if (GetFileSizeEx(handle, &size) == 0) {
        const auto error = LastSystemError();
        CloseHandle(handle);
        ThrowFileError("cannot open", path, error);
    }
    return {reinterpret_cast<std::intptr_t>(handle), static_cast<std::uint64_t>(size.QuadPart)};
}

long long ReadNative(std::intptr_t handle, char* buffer, std::size_t count) {
    DWORD got = 0;
    const auto wanted = static_cast<DWORD>(std::min<std::size_t>(count, DWORD{1} << 30U));
    if (::ReadFile(AsHandle(handle), buffer, wanted, &got, nullptr) == 0) {
        return GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
    }
    return got;
}

long long WriteNative(std::intptr_t handle, const char* buffer, std::size_t count) {
    DWORD written = 0;
    const auto wanted = static_cast<DWORD>(std::min<std::size_t>(count, DWORD{1} << 30U));
    if (::WriteFile(AsHandle(handle), buffer, wanted, &written, nullptr) == 0) {
        return -1;
    }
    return written;
}

bool SeekNative(std::intptr_t handle, std::uint64_t position) {
    LARGE_INTEGER offset{};
    offset.QuadPart = static_cast<LONGLONG>(position);
    return SetFilePointerEx(AsHandle(handle), offset, nullptr, FILE_BEGIN) != 0;
}

bool CloseNative(std::intptr_t handle) {
    return CloseHandle(AsHandle(handle)) != 0;
}

} // namespace velmar::native
