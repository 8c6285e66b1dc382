#include "platform/Process.h"

#include "common/CodePage.h"
#include "common/FileSystem.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>
#endif

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

#ifdef _WIN32
std::string WideToUtf8(const wchar_t* text) {
    const std::wstring_view wide(text);
    return Utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}
#endif

} // namespace

std::string ExecutableFolder(const char* argv0) {
    std::error_code error;
#ifdef _WIN32
    std::wstring buffer(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length > 0 && length < buffer.size()) {
        buffer.resize(length);
        return ParentFolder(std::filesystem::path(buffer));
    }
#else
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error && self.is_absolute()) {
        return ParentFolder(self);
    }
#endif
    if (argv0 != nullptr && *argv0 != '\0') {
        const auto absolute = std::filesystem::absolute(PathFromUtf8(argv0), error);
        if (!error) {
            return ParentFolder(absolute);
        }
    }
    return PathToUtf8(std::filesystem::current_path(error));
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    std::vector<std::string> arguments;
#ifdef _WIN32
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide != nullptr) {
        for (int i = 1; i < count; ++i) {
            arguments.push_back(WideToUtf8(wide[i]));
        }
        LocalFree(static_cast<HLOCAL>(wide));
        return arguments;
    }
#endif
    for (int i = 1; i < argc; ++i) {
        arguments.emplace_back(argv[i]);
    }
    return arguments;
}

std::vector<std::string> StartupArguments([[maybe_unused]] const std::vector<std::string>& arguments) {
#ifdef _WIN32
    std::string text = CommandLineAfterProgramName(WideToUtf8(GetCommandLineW()));
    if (text.empty()) {
        return {};
    }
    return {std::move(text)};
#else
    return arguments;
#endif
}

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

bool HasGraphicalSession() {
#if defined(_WIN32) || defined(__APPLE__)
    return true;
#else
    constexpr std::array<const char*, 2> kDisplayVariables = {"DISPLAY", "WAYLAND_DISPLAY"};
    return std::ranges::any_of(kDisplayVariables, [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    });
#endif
}

} // namespace velmar
