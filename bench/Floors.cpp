#include "bench/Floors.h"

#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace velmar::bench {

namespace {

bool IsProfileName(std::string_view name) {
    constexpr std::string_view kPrefix = "profile_";
    constexpr std::string_view kSuffix = ".dat";
    if (name.size() != kPrefix.size() + 4 + kSuffix.size()) {
        return false;
    }
    auto sameLetters = [](std::string_view text, std::string_view lower) {
        for (std::size_t i = 0; i < lower.size(); ++i) {
            const auto c = static_cast<unsigned char>(text[i]);
            if ((c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c) != static_cast<unsigned char>(lower[i])) {
                return false;
            }
        }
        return true;
    };
    return sameLetters(name.substr(0, kPrefix.size()), kPrefix) &&
           sameLetters(name.substr(name.size() - kSuffix.size()), kSuffix);
}

} // namespace

std::vector<FloorEntry> ListFloor(const std::string& folder) {
    std::vector<FloorEntry> entries;
    const int directory = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory < 0) {
        return entries;
    }
    DIR* stream = fdopendir(directory);
    if (stream == nullptr) {
        close(directory);
        return entries;
    }
    while (const dirent* entry = readdir(stream)) {
        const std::string_view name(entry->d_name);
        if (!IsProfileName(name)) {
            continue;
        }
        struct statx status {};
        if (statx(directory, entry->d_name, AT_SYMLINK_NOFOLLOW | AT_STATX_DONT_SYNC,
                  STATX_TYPE | STATX_MTIME | STATX_SIZE, &status) != 0 ||
            !S_ISREG(status.stx_mode)) {
            continue;
        }
        entries.push_back(
            {std::string(name), status.stx_mtime.tv_sec, status.stx_mtime.tv_nsec, status.stx_size});
    }
    closedir(stream);
    return entries;
}

std::size_t ReadFloor(const std::string& folder, std::size_t limit) {
    static std::vector<char> buffer(1 << 16);
    std::size_t bytes = 0;
    const auto listed = ListFloor(folder);
    for (std::size_t i = 0; i < listed.size() && i < limit; ++i) {
        const std::string path = folder + listed[i].Name;
        const int file = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (file < 0) {
            continue;
        }
        struct stat status {};
        if (fstat(file, &status) == 0 && static_cast<std::size_t>(status.st_size) >= buffer.size()) {
            buffer.resize(static_cast<std::size_t>(status.st_size) + 1);
        }
        // A read that fills less than the buffer has reached the end: no further call.
        ssize_t got = 0;
        do {
            got = read(file, buffer.data(), buffer.size());
            bytes += got > 0 ? static_cast<std::size_t>(got) : 0;
        } while (got == static_cast<ssize_t>(buffer.size()));
        close(file);
    }
    return bytes;
}

} // namespace velmar::bench
