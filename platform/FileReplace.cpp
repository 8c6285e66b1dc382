// What every platform's saves share: the names of backups and temporaries,
// and whole-file reads.

#include "platform/FileReplace.h"

#include "platform/RegularFile.h"

namespace velmar {

namespace {

constexpr std::string_view kTemporaryMark = ".saving-";
constexpr FileKind kAnyFile{"a file read whole", std::uint64_t{256} << 20U};

// The decimal number at the start of `text` up to `end`, and the rest.
std::optional<std::int64_t> LeadingNumber(std::string_view& text, char end) {
    std::int64_t number = 0;
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
        if (digits == 18) {
            return std::nullopt;
        }
        number = number * 10 + (text[digits] - '0');
        ++digits;
    }
    if (digits == 0 || (end != '\0' && (digits == text.size() || text[digits] != end))) {
        return std::nullopt;
    }
    text.remove_prefix(end == '\0' ? digits : digits + 1);
    return number;
}

} // namespace

std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
    return ReadRegularFile(path, kAnyFile);
}

std::string BackupPathOf(const std::string& path) {
    return path + "~";
}

std::string TemporaryNameOf(std::string_view fileName, std::int64_t pid, unsigned attempt) {
    return "." + std::string(fileName) + std::string(kTemporaryMark) + std::to_string(pid) + "-" +
           std::to_string(attempt);
}

std::optional<std::int64_t> TemporaryOwnerOf(std::string_view name, std::string_view fileName) {
    if (name.size() <= 1 + fileName.size() + kTemporaryMark.size() || name[0] != '.' ||
        name.substr(1, fileName.size()) != fileName ||
        name.substr(1 + fileName.size(), kTemporaryMark.size()) != kTemporaryMark) {
        return std::nullopt;
    }
    std::string_view rest = name.substr(1 + fileName.size() + kTemporaryMark.size());
    const auto pid = LeadingNumber(rest, '-');
    if (!pid || !LeadingNumber(rest, '\0') || !rest.empty()) {
        return std::nullopt;
    }
    return pid;
}

} // namespace velmar
