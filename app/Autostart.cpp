#include "app/Autostart.h"

#include "common/CodePage.h"
#include "common/Errors.h"
#include "common/Paths.h"
#include "platform/FileSystem.h"
#include "profiles/DataFolder.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <ostream>
#include <system_error>

namespace velmar {

namespace {

constexpr std::string_view kUsage =
    "usage: velmar-active-profiles --autostart on [--notify] [/PATH:FOLDER] | --autostart off";

// Characters that make the desktop entry format quote a word, and the carriage
// return, which some launchers split words at like the other white space.
constexpr std::string_view kReservedCharacters = " \t\n\r\"'\\><~|&;$*?#()`";
// Characters escaped by a backslash inside a quoted word.
constexpr std::string_view kQuotedEscapes = "\"`$\\";

bool IsValidUtf8(std::string_view text) {
    // A malformed byte decodes to its own value 0x80..0xFF, which re-encodes
    // as two bytes: only well-formed text survives the round trip unchanged.
    return CodePointsToUtf8(Utf8ToCodePoints(text)) == text;
}

// The escapes of a string value: backslash, tab, line feed and carriage return.
std::string EscapeStringValue(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '\\':
            escaped += "\\\\";
            break;
        case '\t':
            escaped += "\\t";
            break;
        case '\n':
            escaped += "\\n";
            break;
        case '\r':
            escaped += "\\r";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

bool ContainsPathSwitch(const std::string& argument) {
    std::string upper = argument;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    return upper.find("/PATH:") != std::string::npos;
}

} // namespace

namespace detail {

std::string AbsoluteFolder(const std::string& folder) {
    const std::filesystem::path path = PathFromUtf8(folder);
    if (path.is_absolute()) {
        return folder;
    }
    return PathToUtf8(std::filesystem::absolute(path).lexically_normal());
}

} // namespace detail

std::optional<std::string> SystemEnvironment(const char* name) {
    const char* value = std::getenv(name); // NOLINT(concurrency-mt-unsafe): read once at start
    if (value == nullptr) {
        return std::nullopt;
    }
    return std::string(value);
}

std::string ExecWord(std::string_view word) {
    if (!IsValidUtf8(word)) {
        throw InvalidArgumentError("a desktop entry holds UTF-8 text only: " + std::string(word));
    }
    const bool control = std::any_of(word.begin(), word.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 && c != '\t' && c != '\n' && c != '\r') || byte == 0x7F;
    });
    if (control) {
        throw InvalidArgumentError("a desktop entry cannot carry a control character: " + std::string(word));
    }
    std::string doubled;
    for (const char c : word) {
        doubled += c;
        if (c == '%') {
            doubled += '%';
        }
    }
    const bool quote = doubled.empty() || doubled.find_first_of(kReservedCharacters) != std::string::npos;
    if (!quote) {
        return EscapeStringValue(doubled);
    }
    std::string quoted = "\"";
    for (const char c : doubled) {
        if (kQuotedEscapes.find(c) != std::string_view::npos) {
            quoted += '\\';
        }
        quoted += c;
    }
    quoted += '"';
    return EscapeStringValue(quoted);
}

std::filesystem::path AutostartFolder(const EnvironmentLookup& environment) {
    const auto configHome = environment("XDG_CONFIG_HOME");
    if (configHome && PathFromUtf8(*configHome).is_absolute()) {
        return PathFromUtf8(*configHome) / "autostart";
    }
    const auto home = environment("HOME");
    if (!home || !PathFromUtf8(*home).is_absolute()) {
        throw FileError("neither XDG_CONFIG_HOME nor HOME names the user's folder");
    }
    return PathFromUtf8(*home) / ".config" / "autostart";
}

std::string AutostartEntry(const std::string& executable, const std::optional<std::string>& dataFolder,
                           bool notify) {
    if (executable.find('=') != std::string::npos) {
        throw InvalidArgumentError("a desktop entry cannot start a program whose path holds \"=\": " +
                                   executable);
    }
    std::string exec = ExecWord(executable);
    // Ahead of the folder: on Windows the folder runs to the end of the line.
    if (notify) {
        exec += " --notify";
    }
    if (dataFolder) {
        exec += ' ';
        exec += ExecWord("/PATH:" + *dataFolder);
    }
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Velmar Active Profiles\n"
           "Comment=Shows which alarm profiles are active, in the notification area\n"
           "Icon=velmar-active-profiles\n"
           "Exec=" +
           exec +
           "\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

namespace detail {

bool TakeNotifyOption(std::vector<std::string>& arguments) {
    const auto end = std::remove(arguments.begin(), arguments.end(), "--notify");
    const bool found = end != arguments.end();
    arguments.erase(end, arguments.end());
    return found;
}

} // namespace detail

std::optional<int> RunAutostartOption(const std::string& executableFolder,
                                      const std::vector<std::string>& arguments, std::ostream& out,
                                      std::ostream& err, const EnvironmentLookup& environment) {
    const auto option = std::find(arguments.begin(), arguments.end(), kAutostartOption);
    if (option == arguments.end()) {
        return std::nullopt;
    }
    const auto usage = [&err] {
        err << kProgramName << ": " << kUsage << '\n';
        return 2;
    };
    if (option + 1 == arguments.end()) {
        return usage();
    }
    const std::string& state = *(option + 1);
    std::vector<std::string> folderArguments(arguments.begin(), option);
    folderArguments.insert(folderArguments.end(), option + 2, arguments.end());
    const bool onlyFolders =
        std::all_of(folderArguments.begin(), folderArguments.end(), [](const std::string& argument) {
            return ContainsPathSwitch(argument) || argument == "--notify";
        });
    if ((state != "on" && state != "off") || !onlyFolders || (state == "off" && !folderArguments.empty())) {
        return usage();
    }
    try {
        return detail::RunAutostart(state, executableFolder, folderArguments, out, err, environment);
    } catch (const VelmarError& error) {
        err << kProgramName << ": autostart " << state << " failed: " << error.what() << '\n';
        return 1;
    }
}

} // namespace velmar
