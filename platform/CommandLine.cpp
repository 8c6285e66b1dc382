#include "platform/CommandLine.h"

#include "common/Paths.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace velmar {

namespace {

std::string ParentFolder(const std::filesystem::path& file) {
    auto folder = file.parent_path();
    if (folder.empty()) {
        std::error_code error;
        folder = std::filesystem::current_path(error);
    }
    return PathToUtf8(folder);
}

} // namespace

std::string CommandLineAfterProgramName(std::string_view commandLine) {
    std::size_t end = 0;
    if (!commandLine.empty() && commandLine.front() == '"') {
        end = commandLine.find('"', 1);
        end = end == std::string_view::npos ? commandLine.size() : end + 1;
    } else {
        end = std::min(commandLine.find_first_of(" \t"), commandLine.size());
    }
    const std::size_t rest = commandLine.find_first_not_of(" \t", end);
    return rest == std::string_view::npos ? std::string() : std::string(commandLine.substr(rest));
}

namespace detail {

std::string ExecutableFolderOf(const std::string& file, const char* argv0) {
    if (!file.empty()) {
        return ParentFolder(PathFromUtf8(file));
    }
    std::error_code error;
    if (argv0 != nullptr && *argv0 != '\0') {
        const auto absolute = std::filesystem::absolute(PathFromUtf8(argv0), error);
        if (!error) {
            return ParentFolder(absolute);
        }
    }
    return PathToUtf8(std::filesystem::current_path(error));
}

} // namespace detail

} // namespace velmar
