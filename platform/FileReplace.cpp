#include "platform/FileReplace.h"

#include "common/Errors.h"
#include "common/Paths.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
// <windows.h> names its own ReplaceFile as a macro for ReplaceFileW.
#undef ReplaceFile
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace velmar {

namespace {

namespace fs = std::filesystem;

std::string Reason(int error) {
    return std::generic_category().message(error);
}

#ifdef _WIN32

std::string WindowsReason(DWORD error) {
    return std::system_category().message(static_cast<int>(error));
}

// The temporary file beside the target, created new; FileError when it cannot be.
HANDLE CreateTemporary(const fs::path& target, fs::path& temporary) {
    for (unsigned attempt = 0;; ++attempt) {
        temporary = target;
        temporary.replace_filename(L"." + target.filename().wstring() + L".saving" +
                                   std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(attempt));
        HANDLE handle = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            return handle;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS || attempt > 100) {
            throw FileError("cannot create a temporary file beside " + PathToUtf8(target) + ": " +
                            WindowsReason(error));
        }
    }
}

void WriteAndFlush(HANDLE handle, std::span<const std::uint8_t> bytes, const fs::path& temporary) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, 1U << 20));
        DWORD done = 0;
        if (!WriteFile(handle, bytes.data() + written, chunk, &done, nullptr) || done == 0) {
            throw FileError("cannot write " + PathToUtf8(temporary) + ": " + WindowsReason(GetLastError()));
        }
        written += done;
    }
    if (!FlushFileBuffers(handle)) {
        throw FileError("cannot flush " + PathToUtf8(temporary) + ": " + WindowsReason(GetLastError()));
    }
}

void CloseFile(HANDLE handle, const fs::path& temporary) {
    if (!CloseHandle(handle)) {
        throw FileError("cannot close " + PathToUtf8(temporary) + ": " + WindowsReason(GetLastError()));
    }
}

void KeepBackup(const fs::path& target, const fs::path& backup) {
    if (!CopyFileW(target.c_str(), backup.c_str(), FALSE)) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND) {
            throw FileError("cannot keep the previous file as " + PathToUtf8(backup) + ": " +
                            WindowsReason(error));
        }
    }
}

void MoveOver(const fs::path& temporary, const fs::path& target) {
    if (!MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        throw FileError("cannot replace " + PathToUtf8(target) + ": " + WindowsReason(GetLastError()));
    }
}

#else

using Handle = int;

Handle CreateTemporary(const fs::path& target, fs::path& temporary) {
    // A leading "." hides the file from folder listings (the monitor skips it)
    // and the suffix keeps it off the profile file pattern.
    std::string name = (target.parent_path() / ("." + target.filename().string() + ".savingXXXXXX")).string();
    const int fd = mkstemp(name.data());
    if (fd < 0) {
        throw FileError("cannot create a temporary file beside " + target.string() + ": " + Reason(errno));
    }
    temporary = name;
    return fd;
}

void WriteAndFlush(Handle fd, std::span<const std::uint8_t> bytes, const fs::path& temporary) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t done = write(fd, bytes.data() + written, bytes.size() - written);
        if (done < 0 && errno == EINTR) {
            continue;
        }
        if (done <= 0) {
            throw FileError("cannot write " + temporary.string() + ": " + Reason(done < 0 ? errno : ENOSPC));
        }
        written += static_cast<std::size_t>(done);
    }
    if (fsync(fd) != 0) {
        throw FileError("cannot flush " + temporary.string() + " to the disk: " + Reason(errno));
    }
}

void CloseFile(Handle fd, const fs::path& temporary) {
    if (close(fd) != 0) {
        throw FileError("cannot close " + temporary.string() + ": " + Reason(errno));
    }
}

void KeepBackup(const fs::path& target, const fs::path& backup) {
    // A hard link keeps the previous file without copying it; the link gets a
    // name of its own first, so an older backup is replaced in one step.
    const fs::path link = backup.parent_path() / ("." + backup.filename().string() + ".link");
    unlink(link.c_str());
    if (::link(target.c_str(), link.c_str()) == 0) {
        if (rename(link.c_str(), backup.c_str()) != 0) {
            const int error = errno;
            unlink(link.c_str());
            throw FileError("cannot keep the previous file as " + backup.string() + ": " + Reason(error));
        }
        return;
    }
    if (errno == ENOENT) {
        return; // nothing to keep
    }
    // File systems without hard links: a copy.
    std::error_code error;
    fs::copy_file(target, backup, fs::copy_options::overwrite_existing, error);
    if (error) {
        throw FileError("cannot keep the previous file as " + backup.string() + ": " + error.message());
    }
}

void MoveOver(const fs::path& temporary, const fs::path& target) {
    if (rename(temporary.c_str(), target.c_str()) != 0) {
        throw FileError("cannot replace " + target.string() + ": " + Reason(errno));
    }
    // The rename itself reaches the disk with the folder.
    const int folder = open(target.parent_path().empty() ? "." : target.parent_path().c_str(), O_RDONLY);
    if (folder >= 0) {
        fsync(folder);
        close(folder);
    }
}

// The new file gets the old one's permission bits (not its owner: only the
// superuser could give that away).
void TakePermissions(Handle fd, const fs::path& target) {
    struct stat status {};
    if (stat(target.c_str(), &status) == 0) {
        fchmod(fd, status.st_mode & 07777);
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        fchmod(fd, 0666 & ~mask);
    }
}

#endif

} // namespace

std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
    std::ifstream in(PathFromUtf8(path), std::ios::binary);
    if (!in) {
        throw FileError("cannot open " + path + ": " + Reason(errno));
    }
    std::vector<std::uint8_t> bytes;
    std::array<char, 65536> buffer{};
    while (in.read(buffer.data(), buffer.size()) || in.gcount() > 0) {
        bytes.insert(bytes.end(), buffer.begin(), buffer.begin() + in.gcount());
    }
    if (in.bad() || !in.eof()) {
        throw FileError("cannot read " + path + ": " + Reason(errno));
    }
    return bytes;
}

std::string BackupPathOf(const std::string& path) {
    return path + "~";
}

void ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    const fs::path target = PathFromUtf8(path);
    fs::path temporary;
    auto handle = CreateTemporary(target, temporary);
    bool closed = false;
    try {
#ifndef _WIN32
        TakePermissions(handle, target);
#endif
        WriteAndFlush(handle, bytes, temporary);
        closed = true;
        CloseFile(handle, temporary);
        KeepBackup(target, PathFromUtf8(BackupPathOf(path)));
        MoveOver(temporary, target);
    } catch (...) {
        if (!closed) {
#ifdef _WIN32
            CloseHandle(handle);
#else
            close(handle);
#endif
        }
        std::error_code ignored;
        fs::remove(temporary, ignored);
        throw;
    }
}

} // namespace velmar
