// Saves on Windows: the rules of FileReplace.h with what Windows keeps of a
// file. ReplaceFileW gives the new file the replaced one's ACL, attributes,
// object identifier and alternate streams; links (reparse points) are
// followed to their target; a file with more than one hard link, or in a
// folder where the user may not create files, is rewritten in place.

#include "common/Paths.h"
#include "platform/FileReplace.h"
#include "platform/SystemError.h"

#include <algorithm>
#include <filesystem>
#include <utility>
#include <vector>
#include <windows.h>

// <windows.h> names its own ReplaceFile as a macro for ReplaceFileW.
#ifdef ReplaceFile
#undef ReplaceFile
#endif

namespace velmar {

namespace {

namespace fs = std::filesystem;

constexpr unsigned kTemporaryAttempts = 100;
constexpr DWORD kChunk = DWORD{1} << 20U;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::string Quoted(const fs::path& path) {
    return "\"" + PathToUtf8(path) + "\"";
}

std::string Reason(DWORD error) {
    return SystemErrorText({static_cast<int>(error), std::system_category()});
}

[[noreturn]] void Fail(const std::string& what, DWORD error) {
    throw FileError(what + ": " + Reason(error), Reason(error),
                    {static_cast<int>(error), std::system_category()});
}

std::string WithoutPrefix(const FileError& error) {
    const std::string text = error.what();
    const std::string prefix = "File error: ";
    return text.rfind(prefix, 0) == 0 ? text.substr(prefix.size()) : text;
}

// A handle, closed when the object goes.
class Handle {
public:
    explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : m_Handle(handle) {}
    ~Handle() {
        if (Valid()) {
            CloseHandle(m_Handle);
        }
    }
    Handle(Handle&& other) noexcept : m_Handle(std::exchange(other.m_Handle, INVALID_HANDLE_VALUE)) {}
    Handle& operator=(Handle&&) = delete;
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE Get() const { return m_Handle; }
    bool Valid() const { return m_Handle != INVALID_HANDLE_VALUE && m_Handle != nullptr; }
    void Close() {
        if (Valid()) {
            CloseHandle(std::exchange(m_Handle, INVALID_HANDLE_VALUE));
        }
    }

private:
    HANDLE m_Handle;
};

fs::path FolderOf(const fs::path& path) {
    return path.has_parent_path() ? path.parent_path() : fs::path(L".");
}

// The file a link (a symbolic link or junction) names; any other path as given.
fs::path Resolve(const fs::path& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return path;
    }
    const Handle file(
        CreateFileW(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.Valid()) {
        return path; // a link to nothing: the link's own name is written
    }
    std::wstring final(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        const DWORD size =
            GetFinalPathNameByHandleW(file.Get(), final.data(), static_cast<DWORD>(final.size()),
                                      FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (size == 0) {
            return path;
        }
        if (size < final.size()) {
            final.resize(size);
            break;
        }
        final.assign(size + 1, L'\0');
    }
    if (final.rfind(L"\\\\?\\UNC\\", 0) == 0) {
        final = L"\\\\" + final.substr(8);
    } else if (final.rfind(L"\\\\?\\", 0) == 0) {
        final = final.substr(4);
    }
    return fs::path(final);
}

bool ProcessRuns(std::int64_t pid) {
    if (pid <= 0 || pid == static_cast<std::int64_t>(GetCurrentProcessId())) {
        return true;
    }
    const Handle process(
        OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid)));
    if (!process.Valid()) {
        return GetLastError() != ERROR_INVALID_PARAMETER; // refused: it runs, as someone else
    }
    return WaitForSingleObject(process.Get(), 0) != WAIT_OBJECT_0;
}

void RemoveStaleOf(const fs::path& file) {
    const std::string name = PathToUtf8(file.filename());
    const std::string backup = name + "~";
    const fs::path folder = FolderOf(file);
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder / L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    std::vector<fs::path> stale;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            continue;
        }
        const std::string each = PathToUtf8(fs::path(found.cFileName));
        auto pid = TemporaryOwnerOf(each, name);
        if (!pid) {
            pid = TemporaryOwnerOf(each, backup);
        }
        if (pid && !ProcessRuns(*pid)) {
            stale.push_back(folder / found.cFileName);
        }
    } while (FindNextFileW(search, &found) != 0);
    FindClose(search);
    for (const fs::path& path : stale) {
        DeleteFileW(path.c_str());
    }
}

// A temporary file of this process beside `target`, deleted when the object
// goes unless it was moved into place.
class Temporary {
public:
    static std::optional<Temporary> Create(const fs::path& target, DWORD& error) {
        for (unsigned attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
            fs::path path = FolderOf(target) / PathFromUtf8(TemporaryNameOf(PathToUtf8(target.filename()),
                                                                            GetCurrentProcessId(), attempt));
            HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
            if (handle != INVALID_HANDLE_VALUE) {
                return Temporary(std::move(path), handle);
            }
            error = GetLastError();
            if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
                return std::nullopt;
            }
        }
        return std::nullopt;
    }
    ~Temporary() {
        m_Handle.Close();
        if (!m_Path.empty()) {
            DeleteFileW(m_Path.c_str());
        }
    }
    Temporary(Temporary&& other) noexcept
        : m_Path(std::exchange(other.m_Path, fs::path())), m_Handle(std::move(other.m_Handle)) {}
    Temporary& operator=(Temporary&&) = delete;
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;

    HANDLE Get() const { return m_Handle.Get(); }
    const fs::path& Path() const { return m_Path; }
    void Close() { m_Handle.Close(); }
    // It is in place now: nothing to delete.
    void Placed() { m_Path.clear(); }

private:
    Temporary(fs::path path, HANDLE handle) : m_Path(std::move(path)), m_Handle(handle) {}
    fs::path m_Path;
    Handle m_Handle;
};

void WriteAll(HANDLE handle, std::span<const std::uint8_t> bytes, const fs::path& path) {
    LARGE_INTEGER start{};
    if (SetFilePointerEx(handle, start, nullptr, FILE_BEGIN) == 0) {
        Fail("cannot write " + Quoted(path), GetLastError());
    }
    std::size_t written = 0;
    while (written < bytes.size()) {
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, kChunk));
        DWORD done = 0;
        if (::WriteFile(handle, bytes.data() + written, chunk, &done, nullptr) == 0 || done == 0) {
            Fail("cannot write " + Quoted(path), GetLastError());
        }
        written += done;
    }
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(bytes.size());
    if (SetFilePointerEx(handle, end, nullptr, FILE_BEGIN) == 0 || SetEndOfFile(handle) == 0) {
        Fail("cannot write " + Quoted(path), GetLastError());
    }
    if (FlushFileBuffers(handle) == 0) {
        Fail("cannot flush " + Quoted(path) + " to the disk", GetLastError());
    }
}

// Keeps the previous file as its NAME~: a copy, moved over any older one (a
// link by that name is replaced, not followed). FileError when it cannot.
void KeepBackup(const fs::path& target) {
    const fs::path backup = PathFromUtf8(BackupPathOf(PathToUtf8(target)));
    DWORD error = 0;
    auto temporary = Temporary::Create(backup, error);
    if (!temporary) {
        Fail("cannot create " + Quoted(backup), error);
    }
    temporary->Close();
    if (CopyFileW(target.c_str(), temporary->Path().c_str(), FALSE) == 0) {
        Fail("cannot copy " + Quoted(target), GetLastError());
    }
    // A copy of a read-only file would stop the next backup.
    const DWORD attributes = GetFileAttributesW(temporary->Path().c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        SetFileAttributesW(temporary->Path().c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    }
    if (MoveFileExW(temporary->Path().c_str(), backup.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0) {
        Fail("cannot replace " + Quoted(backup), GetLastError());
    }
    temporary->Placed();
}

// Rewrites the file in place, room made first, then reads it back.
void RewriteInPlace(const fs::path& target, std::span<const std::uint8_t> bytes, bool& started) {
    const Handle file(CreateFileW(target.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        Fail("cannot write " + Quoted(target), GetLastError());
    }
    FILE_ALLOCATION_INFO room{};
    room.AllocationSize.QuadPart = static_cast<LONGLONG>(bytes.size());
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file.Get(), &size) != 0 && size.QuadPart < room.AllocationSize.QuadPart &&
        SetFileInformationByHandle(file.Get(), FileAllocationInfo, &room, sizeof room) == 0) {
        Fail("cannot write " + Quoted(target), GetLastError());
    }
    started = true;
    WriteAll(file.Get(), bytes, target);
    LARGE_INTEGER start{};
    SetFilePointerEx(file.Get(), start, nullptr, FILE_BEGIN);
    std::vector<std::uint8_t> back(bytes.size() + 1);
    std::size_t got = 0;
    while (got < back.size()) {
        DWORD done = 0;
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(back.size() - got, kChunk));
        if (::ReadFile(file.Get(), back.data() + got, chunk, &done, nullptr) == 0 || done == 0) {
            break;
        }
        got += done;
    }
    if (got != bytes.size() || !std::equal(bytes.begin(), bytes.end(), back.begin())) {
        throw FileError(Quoted(target) + " does not read back as written");
    }
}

void CreateNew(const fs::path& target, std::span<const std::uint8_t> bytes) {
    DWORD error = 0;
    auto temporary = Temporary::Create(target, error);
    if (!temporary) {
        Fail("cannot create a file in " + Quoted(FolderOf(target)), error);
    }
    WriteAll(temporary->Get(), bytes, temporary->Path());
    temporary->Close();
    if (MoveFileExW(temporary->Path().c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) == 0) {
        Fail("cannot create " + Quoted(target), GetLastError());
    }
    temporary->Placed();
}

} // namespace

bool IsReadOnlyFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Resolve(PathFromUtf8(path)).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
           (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

ReplaceResult ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes,
                          const ReplaceOptions& options) {
    const fs::path target = Resolve(PathFromUtf8(path));
    RemoveStaleOf(target);
    ReplaceResult result;
    result.WrittenPath = PathToUtf8(target);

    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND) {
            Fail("cannot save " + Quoted(target), error);
        }
        CreateNew(target, bytes);
        return result;
    }
    DWORD links = 1;
    {
        const Handle original(CreateFileW(target.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        BY_HANDLE_FILE_INFORMATION information{};
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
            (original.Valid() && GetFileType(original.Get()) != FILE_TYPE_DISK)) {
            throw FileError("cannot save " + Quoted(target) + ": not a regular file", "not a regular file");
        }
        if (original.Valid() && GetFileInformationByHandle(original.Get(), &information) != 0) {
            links = information.nNumberOfLinks;
        }
    }
    const bool readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (readOnly && !options.OverReadOnly) {
        throw ReadOnlyFileError(PathToUtf8(target));
    }

    std::string reason;
    std::optional<Temporary> temporary;
    if (links > 1) {
        reason = "it has " + std::to_string(links) + " hard links";
    } else {
        DWORD error = 0;
        if (auto created = Temporary::Create(target, error)) {
            temporary.emplace(std::move(*created));
        }
        if (!temporary) {
            if (error != ERROR_ACCESS_DENIED) {
                Fail("cannot create a temporary file beside " + Quoted(target), error);
            }
            reason = "its folder does not let us create files";
        }
    }
    if (temporary) {
        WriteAll(temporary->Get(), bytes, temporary->Path());
        temporary->Close();
    }
    try {
        KeepBackup(target);
        result.BackupKept = true;
    } catch (const FileError& error) {
        result.BackupProblem = WithoutPrefix(error);
    }
    // The read-only attribute is set again on the file once it is written.
    if (readOnly) {
        SetFileAttributesW(target.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    }
    try {
        if (temporary) {
            if (ReplaceFileW(target.c_str(), temporary->Path().c_str(), nullptr,
                             REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) == 0) {
                Fail("cannot replace " + Quoted(target), GetLastError());
            }
            temporary->Placed();
            result.Method = ReplaceMethod::Renamed;
        } else {
            bool started = false;
            try {
                RewriteInPlace(target, bytes, started);
            } catch (const FileError& error) {
                if (!started) {
                    throw;
                }
                throw IncompleteFileError(
                    WithoutPrefix(error) + "; it was being rewritten in place (" + reason +
                        ") and may be incomplete" +
                        (result.BackupKept ? ": its previous contents are in " +
                                                 Quoted(PathFromUtf8(BackupPathOf(result.WrittenPath)))
                                           : ""),
                    error.Reason(), error.Code());
            }
            result.Method = ReplaceMethod::RewrittenInPlace;
            result.InPlaceReason = reason;
        }
    } catch (...) {
        if (readOnly) {
            SetFileAttributesW(target.c_str(), attributes);
        }
        throw;
    }
    SetFileAttributesW(target.c_str(), attributes);
    return result;
}

void RemoveStaleTemporaries(const std::string& path) {
    RemoveStaleOf(Resolve(PathFromUtf8(path)));
}

} // namespace velmar
