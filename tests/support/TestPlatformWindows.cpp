#include "platform/SystemError.h"
#include "tests/support/FileFaults.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestPlatform.h"

#include <process.h>
#include <stdexcept>
#include <windows.h>

namespace velmar::test {

std::string MissingFolderWords() {
    return SystemErrorText({ERROR_PATH_NOT_FOUND, std::system_category()});
}

std::string NotAFolderWords() {
    return SystemErrorText({ERROR_DIRECTORY, std::system_category()});
}

std::string NotFoundWords(bool folderMissing) {
    return SystemErrorText(
        {folderMissing ? ERROR_PATH_NOT_FOUND : ERROR_FILE_NOT_FOUND, std::system_category()});
}

std::int64_t OwnProcessId() {
    return _getpid();
}

bool MakeHidden(const std::filesystem::path& path) {
    return SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN) != 0;
}

bool MakeFifo(const std::filesystem::path& /*path*/) {
    return false; // Windows has no FIFOs in folders
}

void ShiftModificationTime(const std::filesystem::path& path, std::chrono::nanoseconds shift) {
    HANDLE file = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    FILETIME time{};
    bool shifted = file != INVALID_HANDLE_VALUE && GetFileTime(file, nullptr, nullptr, &time) != 0;
    if (shifted) {
        ULARGE_INTEGER ticks{};
        ticks.LowPart = time.dwLowDateTime;
        ticks.HighPart = time.dwHighDateTime;
        ticks.QuadPart += static_cast<std::uint64_t>(shift.count() / 100); // 100-nanosecond ticks
        time.dwLowDateTime = ticks.LowPart;
        time.dwHighDateTime = ticks.HighPart;
        shifted = SetFileTime(file, nullptr, nullptr, &time) != 0;
    }
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
    }
    if (!shifted) {
        throw std::runtime_error("cannot set the modification time of " + path.string());
    }
}

} // namespace velmar::test
