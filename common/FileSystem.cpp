#include "common/FileSystem.h"

#include "common/CodePage.h"

#include <cctype>
#include <cerrno>
#include <chrono>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace velmar {

namespace fs = std::filesystem;

namespace {

bool HasWildcard(std::string_view text) {
    return text.find_first_of("*?") != std::string_view::npos;
}

// Glob matching over code points, with backtracking to the last "*".
bool MatchCodePoints(std::u32string_view pattern, std::u32string_view name) {
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starP = std::u32string_view::npos;
    std::size_t starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == U'*') {
            starP = p++;
            starN = n;
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
            text = PathToUtf8(fs::path(std::wstring(buffer, length)));
        }
        LocalFree(buffer);
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

std::vector<DirectoryEntry> ListFiles(const std::string& folder, std::string_view pattern) {
    return Search(folder, pattern, true, false);
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
            return fs::is_regular_file(path, ec) && !ec && !IsHidden(path);
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
