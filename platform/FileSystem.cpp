#include "platform/FileSystem.h"

#include "common/Paths.h"
#include "common/Wildcard.h"

#include <chrono>
#include <system_error>
#include <utility>

namespace velmar {

namespace fs = std::filesystem;

namespace {

bool HasWildcard(std::string_view text) {
    return text.find_first_of("*?") != std::string_view::npos;
}

// Whether a search of `folder` finds an ordinary file that `pattern` matches.
bool SearchFinds(const std::string& folder, std::string_view pattern, bool ignoreCase) {
    std::error_code ec;
    const fs::path base = folder.empty() ? fs::path(".") : PathFromUtf8(folder);
    fs::directory_iterator it(base, ec);
    if (ec) {
        return false;
    }
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) {
            break; // the folder went away or cannot be read further: nothing more is found
        }
        const fs::directory_entry& entry = *it;
        std::error_code statusError;
        if (!entry.is_regular_file(statusError) || statusError || detail::IsHiddenEntry(entry.path())) {
            continue;
        }
        if (WildcardMatch(pattern, PathToUtf8(entry.path().filename()), ignoreCase)) {
            return true;
        }
    }
    return false;
}

} // namespace

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
            return fs::is_regular_file(path, ec) && !ec && !detail::IsHiddenNamedFile(path);
        }
        return SearchFinds(PathToUtf8(path.parent_path()), name, detail::SearchIgnoresCase());
    } catch (const std::exception&) {
        return false; // any failure of the search means "no such file"
    }
}

bool IsExistingFolder(const std::string& folder) {
    std::error_code error;
    return fs::is_directory(PathFromUtf8(folder), error);
}

std::string CanonicalFolder(const std::string& folder) {
    std::error_code error;
    fs::path path = fs::absolute(PathFromUtf8(folder), error);
    if (error) {
        path = PathFromUtf8(folder);
    }
    auto canonical = fs::weakly_canonical(path, error);
    if (error) {
        canonical = path.lexically_normal();
    }
    std::string text = PathToUtf8(canonical);
    while (text.size() > 1 && (text.back() == '/' || text.back() == kPathSeparator) &&
           text != PathToUtf8(canonical.root_path())) {
        text.pop_back();
    }
    return text;
}

} // namespace velmar
