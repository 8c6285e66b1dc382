#include "app/Autostart.h"

#include "app/Startup.h"
#include "common/CodePage.h"
#include "common/Errors.h"
#include "common/FileSystem.h"

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
    "usage: velmar-active-profiles --autostart on [/PATH:FOLDER] | --autostart off";

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

std::string AbsoluteFolder(const std::string& folder) {
    const std::filesystem::path path = PathFromUtf8(folder);
    if (path.is_absolute()) {
        return folder;
    }
    return PathToUtf8(std::filesystem::absolute(path).lexically_normal());
}

#ifndef _WIN32
// Writes `text` to `path` through a temporary file beside it, so that a
// desktop reading the folder never sees half an entry.
void WriteFileReplacing(const std::filesystem::path& path, const std::string& text) {
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    if (error) {
        throw FileError("cannot create the folder " + PathToUtf8(path.parent_path()) + ": " +
                        error.message());
    }
    std::filesystem::path temporary = path;
    temporary += ".new";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        const int openError = errno;
        const bool opened = file.is_open();
        file << text;
        file.close();
        if (!file) {
            std::filesystem::remove(temporary, error);
            throw FileError("cannot write " + PathToUtf8(temporary) + ": " +
                            (opened ? "the write failed" : std::strerror(openError)));
        }
    }
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        throw FileError("cannot write " + PathToUtf8(path) + ": " + error.message());
    }
}

int TurnOn(const std::string& executableFolder, const std::vector<std::string>& folderArguments,
           const std::filesystem::path& entryPath, std::ostream& out, std::ostream& err) {
    std::optional<std::string> dataFolder;
    if (!folderArguments.empty()) {
        dataFolder = AbsoluteFolder(ResolveDataPath(executableFolder, folderArguments));
    }
    std::string executable = executableFolder;
    if (executable.empty() || executable.back() != kPathSeparator) {
        executable += kPathSeparator;
    }
    executable += kProgramName;
    WriteFileReplacing(entryPath, AutostartEntry(executable, dataFolder));

    if (dataFolder) {
        out << "Autostart on: " << kProgramName << " starts at login on the data folder " << *dataFolder
            << ".\n";
        if (!IsExistingFolder(*dataFolder)) {
            err << kProgramName << ": note: the folder " << *dataFolder << " does not exist (yet).\n";
        }
    } else {
        out << "Autostart on: " << kProgramName << " starts at login on its default data folder (now "
            << ResolveDataPath(executableFolder, {}) << ").\n";
    }
    out << "Entry: " << PathToUtf8(entryPath) << '\n';
    return 0;
}

int TurnOff(const std::filesystem::path& entryPath, std::ostream& out) {
    std::error_code error;
    const bool removed = std::filesystem::remove(entryPath, error);
    if (error) {
        throw FileError("cannot remove " + PathToUtf8(entryPath) + ": " + error.message());
    }
    if (removed) {
        out << "Autostart off: removed " << PathToUtf8(entryPath) << ".\n";
    } else {
        out << "Autostart off: there was no autostart entry at " << PathToUtf8(entryPath) << ".\n";
    }
    return 0;
}
#else
// Windows starts programs at log-on from the user's Startup folder, where the
// user makes a shortcut (Explorer's own way, which also lets them remove it).
// Tells where that folder is and what the shortcut's target is; the value of
// "/PATH:" is written without its final backslash, which a quotation mark
// after it would escape for most programs' argument rules.
int AdviseStartupShortcut(const std::string& state, const std::string& executableFolder,
                          const std::vector<std::string>& folderArguments, std::ostream& err,
                          const EnvironmentLookup& environment) {
    err << kProgramName
        << ": on Windows, programs start at log-on from the Startup folder; nothing was changed.\n";
    const auto appData = environment("APPDATA");
    if (appData && !appData->empty()) {
        const auto folder =
            PathFromUtf8(*appData) / "Microsoft" / "Windows" / "Start Menu" / "Programs" / "Startup";
        err << "Startup folder: " << PathToUtf8(folder) << " (Win+R, shell:startup opens it)\n";
    } else {
        err << "Startup folder: Win+R, shell:startup opens it\n";
    }
    if (state == "off") {
        err << "To stop " << kProgramName << " starting at log-on, delete its shortcut there.\n";
        return 1;
    }
    std::string target = executableFolder;
    if (target.empty() || target.back() != kPathSeparator) {
        target += kPathSeparator;
    }
    target = "\"" + target + std::string(kProgramName) + ".exe\"";
    std::string dataFolder;
    if (!folderArguments.empty()) {
        dataFolder = AbsoluteFolder(ResolveDataPath(executableFolder, folderArguments));
        std::string value = dataFolder;
        if (value.size() > 1 && value.back() == kPathSeparator) {
            value.pop_back(); // "/PATH:D:" gives the root "D:\" all the same
        }
        target += " \"/PATH:" + value + "\"";
    }
    err << "To start " << kProgramName << " at log-on, put a shortcut there with the target\n  " << target
        << '\n';
    if (!dataFolder.empty() && !IsExistingFolder(dataFolder)) {
        err << kProgramName << ": note: the folder " << dataFolder << " does not exist (yet).\n";
    }
    return 1;
}
#endif

} // namespace

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

std::string AutostartEntry(const std::string& executable, const std::optional<std::string>& dataFolder) {
    if (executable.find('=') != std::string::npos) {
        throw InvalidArgumentError("a desktop entry cannot start a program whose path holds \"=\": " +
                                   executable);
    }
    std::string exec = ExecWord(executable);
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

std::optional<int> RunAutostartOption(const std::string& executableFolder,
                                      const std::vector<std::string>& arguments,
                                      [[maybe_unused]] std::ostream& out, std::ostream& err,
                                      const EnvironmentLookup& environment) {
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
    const bool onlyFolders = std::all_of(folderArguments.begin(), folderArguments.end(), ContainsPathSwitch);
    if ((state != "on" && state != "off") || !onlyFolders || (state == "off" && !folderArguments.empty())) {
        return usage();
    }
    try {
#ifdef _WIN32
        return AdviseStartupShortcut(state, executableFolder, folderArguments, err, environment);
#else
        const std::filesystem::path entryPath = AutostartFolder(environment) / kDesktopEntryFileName;
        if (state == "on") {
            return TurnOn(executableFolder, folderArguments, entryPath, out, err);
        }
        return TurnOff(entryPath, out);
#endif
    } catch (const VelmarError& error) {
        err << kProgramName << ": autostart " << state << " failed: " << error.what() << '\n';
        return 1;
    }
}

} // namespace velmar
