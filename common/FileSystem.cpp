#include "common/FileSystem.h"

#include "common/CodePage.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <system_error>
#include <tuple>
#include <type_traits>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <sys/stat.h>
#endif

namespace velmar {

namespace fs = std::filesystem;

namespace {

bool HasWildcard(std::string_view text) {
    return text.find_first_of("*?") != std::string_view::npos;
}

// Glob matching over code points, with backtracking to the last "*". Only the
// pattern's "*" and "?" are wildcards: a "*" in the pattern is a wildcard even
// where the name holds a "*" too, and a "*" or "?" in the name is an ordinary
// character.
bool MatchCodePoints(std::u32string_view pattern, std::u32string_view name) {
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starP = std::u32string_view::npos;
    std::size_t starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == U'*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (starP != std::u32string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == U'*') {
        ++p;
    }
    return p == pattern.size();
}

std::u32string Folded(std::string_view text, bool ignoreCase) {
    std::u32string points = Utf8ToCodePoints(text);
    if (ignoreCase) {
        for (auto& c : points) {
            c = ToUpperCodePoint(c);
        }
    }
    return points;
}

// Hidden and system files are not ordinary files for a directory search.
bool IsHidden(const fs::path& path) {
#ifdef _WIN32
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
#else
    const auto name = path.filename().native();
    return !name.empty() && name.front() == '.';
#endif
}

std::vector<DirectoryEntry> Search(const std::string& folder, std::string_view pattern, bool ignoreCase,
                                   bool firstOnly) {
    std::vector<DirectoryEntry> found;
    std::error_code ec;
    const fs::path base = folder.empty() ? fs::path(".") : PathFromUtf8(folder);
    fs::directory_iterator it(base, ec);
    if (ec) {
        return found;
    }
    const std::u32string wanted = Folded(pattern, ignoreCase);
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) {
            break; // the folder went away or cannot be read further: keep what was found
        }
        const fs::directory_entry& entry = *it;
        std::error_code statusError;
        if (!entry.is_regular_file(statusError) || statusError || IsHidden(entry.path())) {
            continue;
        }
        std::string name = PathToUtf8(entry.path().filename());
        if (!MatchCodePoints(wanted, Folded(name, ignoreCase))) {
            continue;
        }
        DirectoryEntry result;
        result.Name = std::move(name);
        std::error_code timeError;
        const auto time = entry.last_write_time(timeError);
        if (!timeError) {
            result.HasTime = true;
            result.ModificationTime =
                std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count();
        }
        std::error_code sizeError;
        const auto size = entry.file_size(sizeError);
        result.Size = sizeError ? 0 : size;
        found.push_back(std::move(result));
        if (firstOnly) {
            break;
        }
    }
    return found;
}

constexpr const char* kNotARegularFile = "not a regular file";

#ifdef _WIN32
// What a folder is whose search failed with `code`, told the way POSIX tells
// it by the failing open alone: a missing folder whose nearest existing
// ancestor is a file is no folder either ("C:\Data\Profiles\" where Data
// is a file). The reasons are the system's words at the command prompt: "the
// system cannot find the path specified", "the directory name is invalid".
std::pair<FolderState, std::string> FailedSearchState(const std::wstring& folder, DWORD code) {
    const auto words = [](DWORD error) {
        return SystemErrorText({static_cast<int>(error), std::system_category()});
    };
    fs::path path(folder);
    if (!path.has_filename() && path != path.root_path()) {
        path = path.parent_path(); // "C:\Data\" names the folder "C:\Data"
    }
    for (bool itself = true;; itself = false) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) != 0) {
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                return {FolderState::NotAFolder, words(ERROR_DIRECTORY)};
            }
            if (!itself) {
                return {FolderState::Missing, words(ERROR_PATH_NOT_FOUND)};
            }
            if (code == ERROR_FILE_NOT_FOUND) {
                return {FolderState::Listed, {}}; // a folder without a single entry (a drive's root)
            }
            return {FolderState::Unreadable, words(code)};
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
            return {FolderState::Unreadable, words(code)}; // a drive not ready, a share refused
        }
        const fs::path parent = path.parent_path();
        if (parent.empty() || parent == path) {
            return {FolderState::Missing, words(ERROR_PATH_NOT_FOUND)};
        }
        path = parent;
    }
}
#endif

bool IsAsciiText(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// A quick test of a name's code units before any conversion. Its Verdict is
// No for a name the pattern cannot match (its literal ASCII head or tail
// differs, in either letter case, or the name is too short or too long for
// the pattern's characters), Yes for an ASCII name that an ASCII pattern
// without "*" matches unit by unit, and Maybe otherwise, which the full
// match decides. The case mapping maps no character but an ASCII letter onto
// an ASCII letter, so ASCII units of the pattern can only be matched by the
// same ASCII units.
class NamePrefilter {
public:
    enum class Verdict { No, Yes, Maybe };

    explicit NamePrefilter(std::string_view pattern) : m_Pattern(pattern) {
        const auto first = pattern.find_first_of("*?");
        if (first == std::string_view::npos) {
            m_Head = pattern;
        } else {
            m_Head = pattern.substr(0, first);
            m_Tail = pattern.substr(pattern.find_last_of("*?") + 1);
        }
        if (!IsAsciiText(m_Head)) {
            m_Head = {};
        }
        if (!IsAsciiText(m_Tail)) {
            m_Tail = {};
        }
        if (IsAsciiText(pattern)) {
            const auto count = [&](char c) {
                return static_cast<std::size_t>(std::count(pattern.begin(), pattern.end(), c));
            };
            m_Questions = count('?');
            m_Literals = pattern.size() - m_Questions - count('*');
            m_Star = count('*') > 0;
            m_Ascii = true;
        }
    }

    // `unitsPerCharacter`: the most code units one character takes (4 in
    // UTF-8, 2 in UTF-16).
    template <typename Char>
    Verdict Check(std::basic_string_view<Char> name, std::size_t unitsPerCharacter) const {
        if (m_Ascii && (name.size() < m_Literals + m_Questions ||
                        (!m_Star && name.size() > m_Literals + m_Questions * unitsPerCharacter))) {
            return Verdict::No;
        }
        if (name.size() < m_Head.size() + m_Tail.size() ||
            !SameAscii(name.substr(0, m_Head.size()), m_Head) ||
            !SameAscii(name.substr(name.size() - m_Tail.size()), m_Tail)) {
            return Verdict::No;
        }
        if (!m_Ascii || m_Star || name.size() != m_Pattern.size()) {
            return Verdict::Maybe;
        }
        for (std::size_t i = 0; i < name.size(); ++i) {
            const std::uint32_t unit = Unit(name[i]);
            if (unit >= 0x80) {
                return Verdict::Maybe;
            }
            if (m_Pattern[i] != '?' &&
                AsciiLower(unit) != AsciiLower(static_cast<unsigned char>(m_Pattern[i]))) {
                return Verdict::No;
            }
        }
        return Verdict::Yes;
    }

private:
    template <typename Char> static std::uint32_t Unit(Char c) {
        return static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<Char>>(c));
    }
    static std::uint32_t AsciiLower(std::uint32_t unit) {
        return unit >= 'A' && unit <= 'Z' ? unit + 0x20 : unit;
    }

    template <typename Char>
    static bool SameAscii(std::basic_string_view<Char> units, std::string_view ascii) {
        for (std::size_t i = 0; i < ascii.size(); ++i) {
            const std::uint32_t unit = Unit(units[i]);
            if (unit >= 0x80 || AsciiLower(unit) != AsciiLower(static_cast<unsigned char>(ascii[i]))) {
                return false;
            }
        }
        return true;
    }

    std::string_view m_Pattern;
    std::string_view m_Head;
    std::string_view m_Tail;
    std::size_t m_Literals = 0;
    std::size_t m_Questions = 0;
    bool m_Star = false;
    bool m_Ascii = false;
};

} // namespace

std::error_code LastSystemError() {
#ifdef _WIN32
    return {static_cast<int>(GetLastError()), std::system_category()};
#else
    return {errno, std::generic_category()};
#endif
}

std::string SystemErrorText(const std::error_code& error) {
    std::string text;
#ifdef _WIN32
    if (error.category() == std::system_category()) {
        wchar_t* buffer = nullptr;
        const DWORD length = FormatMessageW(
            FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
            nullptr, static_cast<DWORD>(error.value()), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
        if (length > 0 && buffer != nullptr) {
            text = WideToUtf8(std::wstring_view(buffer, length));
        }
        LocalFree(buffer);
        if (text.empty()) {
            // A code the system has no words for: its number says most.
            return "error " + std::to_string(error.value());
        }
    }
#endif
    if (text.empty()) {
        text = error.message();
    }
    while (!text.empty() &&
           (text.back() == '.' || std::isspace(static_cast<unsigned char>(text.back())) != 0)) {
        text.pop_back();
    }
    if (text.empty()) {
        return "error " + std::to_string(error.value());
    }
    if (text.size() > 1 && std::isupper(static_cast<unsigned char>(text[0])) != 0 &&
        std::islower(static_cast<unsigned char>(text[1])) != 0) {
        text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    }
    return text;
}

bool IsNoSuchFile(const std::error_code& error) {
#ifdef _WIN32
    if (error.category() == std::system_category() &&
        (error.value() == ERROR_FILE_NOT_FOUND || error.value() == ERROR_PATH_NOT_FOUND)) {
        return true;
    }
#endif
    return error == std::errc::no_such_file_or_directory;
}

fs::path PathFromUtf8(std::string_view utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string PathToUtf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

bool WildcardMatch(std::string_view pattern, std::string_view name, bool ignoreCase) {
    return MatchCodePoints(Folded(pattern, ignoreCase), Folded(name, ignoreCase));
}

FolderListing ListFolder(const std::string& folder, std::string_view pattern) {
    FolderListing listing;
    const NamePrefilter prefilter(pattern);
    const std::u32string wanted = Folded(pattern, true);
    using Verdict = NamePrefilter::Verdict;
    const auto matches = [&](std::string_view name) { return MatchCodePoints(wanted, Folded(name, true)); };
#ifdef _WIN32
    // The directory search returns each entry's attributes, time and size:
    // no further call per file.
    std::wstring search = PathFromUtf8(folder.empty() ? std::string(".") : folder).wstring();
    if (search.back() != L'\\' && search.back() != L'/') {
        search += L'\\';
    }
    search += L'*';
    WIN32_FIND_DATAW data{};
    HANDLE find = FindFirstFileExW(search.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        search.pop_back();
        std::tie(listing.State, listing.Reason) = FailedSearchState(search, code);
        return listing;
    }
    do {
        const std::wstring_view name(static_cast<const wchar_t*>(data.cFileName));
        if (name == L"." || name == L".." ||
            (data.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0) {
            continue;
        }
        const Verdict verdict = prefilter.Check(name, 2);
        if (verdict == Verdict::No) {
            continue;
        }
        std::string utf8 = WideToUtf8(name);
        if (verdict == Verdict::Maybe && !matches(utf8)) {
            continue;
        }
        DirectoryEntry entry;
        entry.Name = std::move(utf8);
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            entry.Reason = SystemErrorText(std::make_error_code(std::errc::is_a_directory));
            listing.Others.push_back(std::move(entry));
            continue;
        }
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) != 0) {
            entry.Reason = kNotARegularFile;
            listing.Others.push_back(std::move(entry));
            continue;
        }
        const std::uint64_t ticks = (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32U) |
                                    data.ftLastWriteTime.dwLowDateTime;
        entry.HasTime = true;
        entry.ModificationTime = static_cast<std::int64_t>(ticks) * 100; // 100-nanosecond ticks since 1601
        entry.Size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32U) | data.nFileSizeLow;
        listing.Files.push_back(std::move(entry));
    } while (FindNextFileW(find, &data) != 0);
    const DWORD end = GetLastError();
    FindClose(find);
    if (end != ERROR_NO_MORE_FILES) {
        listing.State = FolderState::Unreadable;
        listing.Reason = SystemErrorText({static_cast<int>(end), std::system_category()});
    }
#else
    // Each matching name costs one fstatat relative to the folder's handle,
    // which gives type, time and size at once; other names cost nothing.
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr) {
        const int error = errno;
        listing.State = error == ENOENT    ? FolderState::Missing
                        : error == ENOTDIR ? FolderState::NotAFolder
                                           : FolderState::Unreadable;
        listing.Reason = SystemErrorText({error, std::generic_category()});
        return listing;
    }
    const int fd = ::dirfd(dir);
    for (;;) {
        errno = 0;
        const dirent* found = ::readdir(dir);
        if (found == nullptr) {
            if (errno != 0) {
                listing.State = FolderState::Unreadable;
                listing.Reason = SystemErrorText(LastSystemError());
            }
            break;
        }
        const std::string_view name(static_cast<const char*>(found->d_name));
        if (name.front() == '.') {
            continue; // hidden, and "." and ".."
        }
        const Verdict verdict = prefilter.Check(name, 4);
        if (verdict == Verdict::No || (verdict == Verdict::Maybe && !matches(name))) {
            continue;
        }
        DirectoryEntry entry;
        entry.Name = std::string(name);
        if (found->d_type == DT_DIR) {
            entry.Reason = SystemErrorText(std::make_error_code(std::errc::is_a_directory));
            listing.Others.push_back(std::move(entry));
            continue;
        }
        struct stat info {};
        if (::fstatat(fd, found->d_name, &info, 0) != 0) {
            const int error = errno;
            if (error == ENOENT) {
                continue; // gone since the folder was read, or a link to nothing
            }
            // A file whose time cannot be read counts as changed at every
            // listing, until it can be read.
            if (found->d_type == DT_REG) {
                listing.Files.push_back(std::move(entry));
            } else {
                entry.Reason = SystemErrorText({error, std::generic_category()});
                listing.Others.push_back(std::move(entry));
            }
            continue;
        }
        if (S_ISREG(info.st_mode)) {
            entry.HasTime = true;
            entry.ModificationTime = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 +
                                     static_cast<std::int64_t>(info.st_mtim.tv_nsec);
            entry.Size = static_cast<std::uint64_t>(info.st_size);
            listing.Files.push_back(std::move(entry));
        } else {
            entry.Reason = S_ISDIR(info.st_mode)
                               ? SystemErrorText(std::make_error_code(std::errc::is_a_directory))
                               : kNotARegularFile;
            listing.Others.push_back(std::move(entry));
        }
    }
    ::closedir(dir);
#endif
    return listing;
}

std::vector<DirectoryEntry> ListFiles(const std::string& folder, std::string_view pattern) {
    return ListFolder(folder, pattern).Files;
}

bool FileExists(const std::string& FileName) {
    try {
        if (FileName.empty()) {
            return false;
        }
        const fs::path path = PathFromUtf8(FileName);
        const std::string name = PathToUtf8(path.filename());
        if (name.empty()) {
            return false; // a folder path such as "C:\Data\"
        }
        if (!HasWildcard(name)) {
            std::error_code ec;
            const bool regular = fs::is_regular_file(path, ec) && !ec;
#ifdef _WIN32
            return regular && !IsHidden(path);
#else
            // Hidden is a Windows attribute. On POSIX a leading "." keeps a
            // name out of wildcard searches only; a file named is a file.
            return regular;
#endif
        }
#ifdef _WIN32
        constexpr bool kIgnoreCase = true;
#else
        constexpr bool kIgnoreCase = false;
#endif
        return !Search(PathToUtf8(path.parent_path()), name, kIgnoreCase, true).empty();
    } catch (const std::exception&) {
        return false; // any failure of the search means "no such file"
    }
}

} // namespace velmar
