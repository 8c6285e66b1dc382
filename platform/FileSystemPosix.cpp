#include "common/Wildcard.h"
#include "platform/FileSystem.h"
#include "platform/SystemError.h"

#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>

namespace velmar {

namespace {

constexpr const char* kNotARegularFile = "not a regular file";

std::string IsADirectory() {
    return SystemErrorText(std::make_error_code(std::errc::is_a_directory));
}

} // namespace

namespace detail {

bool IsHiddenEntry(const std::filesystem::path& path) {
    const auto name = path.filename().native();
    return !name.empty() && name.front() == '.';
}

bool IsHiddenNamedFile(const std::filesystem::path& /*path*/) {
    // Hidden is a Windows attribute. On POSIX a leading "." keeps a name out
    // of wildcard searches only; a file named is a file.
    return false;
}

bool SearchIgnoresCase() {
    return false;
}

} // namespace detail

FolderListing ListFolder(const std::string& folder, std::string_view pattern) {
    FolderListing listing;
    const NamePattern wanted(pattern);
    using Verdict = NamePattern::Verdict;
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
        const Verdict verdict = wanted.Check(name, 4);
        if (verdict == Verdict::No || (verdict == Verdict::Maybe && !wanted.Matches(name))) {
            continue;
        }
        DirectoryEntry entry;
        entry.Name = std::string(name);
        if (found->d_type == DT_DIR) {
            entry.Reason = IsADirectory();
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
            entry.Reason = S_ISDIR(info.st_mode) ? IsADirectory() : kNotARegularFile;
            listing.Others.push_back(std::move(entry));
        }
    }
    ::closedir(dir);
    return listing;
}

} // namespace velmar
