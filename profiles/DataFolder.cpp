#include "profiles/DataFolder.h"

#include "common/CodePage.h"
#include "common/CommonProcedures.h"
#include "common/Numeric.h"
#include "common/Paths.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace velmar {

const char* const kDefaultDataPath = VELMAR_DEFAULT_DATA_PATH;

namespace {

constexpr std::string_view kPathSwitch = "/PATH:";

// Upper-cases ASCII letters only. The switch is ASCII, and no character
// outside ASCII upper-cases to an ASCII letter, so this finds the switch
// exactly where an upper-casing of the whole text would; byte offsets stay
// those of the original text.
std::string AsciiUpper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    return text;
}

std::string TrimSpaces(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

// The argument that holds the byte at `offset` of the joined command line:
// its index and its end (byte offset in the joined line).
struct ArgumentSpan {
    std::size_t Index = 0;
    std::size_t End = 0;
};
ArgumentSpan ArgumentAt(const std::vector<std::string>& arguments, std::size_t offset) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::size_t end = start + arguments[i].size();
        if (offset < end) {
            return {i, end};
        }
        start = end + 1; // the joining space
    }
    return {arguments.size(), start == 0 ? 0 : start - 1};
}

} // namespace

std::string JoinArguments(const std::vector<std::string>& arguments) {
    std::string line;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (i > 0) {
            line += ' ';
        }
        line += arguments[i];
    }
    return line;
}

std::string ResolveDataPath(const std::string& executableFolder, const std::vector<std::string>& arguments,
                            PathStyle style, const FolderPredicate& folderExists) {
    const char separator = style == PathStyle::Windows ? '\\' : '/';

    // Default: "Project" beside the executable, where a portable copy keeps its
    // data; an installed program (in /usr/bin, say) has none and takes the
    // folder fixed at build time.
    std::string dataPath = executableFolder;
    if (dataPath.empty() || dataPath.back() != separator) {
        dataPath += separator;
    }
    dataPath += "Project";
    dataPath += separator;

    const std::string commandLine = JoinArguments(arguments);
    const std::size_t found = AsciiUpper(commandLine).find(kPathSwitch);
    if (found == std::string::npos) {
        const std::string_view fallback = kDefaultDataPath;
        if (fallback.empty() || folderExists(dataPath)) {
            return dataPath;
        }
        dataPath = fallback;
        if (dataPath.back() != separator) {
            dataPath += separator;
        }
        return dataPath;
    }
    // The value's position is a 16-bit character index.
    const auto position =
        static_cast<long long>(Utf8Length(std::string_view(commandLine).substr(0, found))) + 1;
    ToInt16(position + static_cast<long long>(kPathSwitch.size()), "position of the /PATH: value");

    const std::size_t valueStart = found + kPathSwitch.size();
    std::string value;
    if (style == PathStyle::Windows) {
        std::string delimiter = "/";
        value = GetToken(commandLine.substr(valueStart), 0, delimiter);
        // No Windows path holds a quotation mark, and people quote folders
        // with spaces out of habit: /PATH:"C:\My Data\" means C:\My Data\.
        std::erase(value, '"');
    } else {
        const ArgumentSpan span = ArgumentAt(arguments, found);
        if (span.End == valueStart && span.Index + 1 < arguments.size()) {
            // "/PATH: /srv/alarm" as typed with a space: the shell made the
            // folder an argument of its own.
            value = arguments[span.Index + 1];
        } else {
            value = commandLine.substr(valueStart, span.End - valueStart);
        }
    }
    value = TrimSpaces(value);
    if (value.empty() || value.back() != separator) {
        value += separator;
    }
    return value;
}

DataFolder::DataFolder(std::string dataPath) : m_DataPath(std::move(dataPath)) {
    if (m_DataPath.empty() || m_DataPath.back() != kPathSeparator) {
        m_DataPath += kPathSeparator;
    }
}

DataFolder DataFolder::FromCommandLine(const std::string& executableFolder,
                                       const std::vector<std::string>& arguments,
                                       const FolderPredicate& folderExists) {
    return DataFolder(ResolveDataPath(executableFolder, arguments, kPlatformPathStyle, folderExists));
}

std::string DataFolder::ProfilesFolder() const {
    return m_DataPath + "Profiles" + kPathSeparator;
}

std::string DataFolder::ProfileFile(std::string_view fileName) const {
    return ProfilesFolder() + std::string(fileName);
}

std::string DataFolder::Canonical() const {
    return CanonicalFolder(m_DataPath);
}

} // namespace velmar
