#include "app/Autostart.h"
#include "common/Errors.h"
#include "common/Paths.h"
#include "platform/FileSystem.h"
#include "profiles/DataFolder.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <ostream>
#include <system_error>

namespace velmar {

namespace {

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

int TurnOn(const std::string& executableFolder, std::vector<std::string> folderArguments,
           const std::filesystem::path& entryPath, std::ostream& out, std::ostream& err) {
    const bool notify = detail::TakeNotifyOption(folderArguments);
    std::optional<std::string> dataFolder;
    if (!folderArguments.empty()) {
        dataFolder =
            detail::AbsoluteFolder(DataFolder::FromCommandLine(executableFolder, folderArguments).DataPath());
    }
    std::string executable = executableFolder;
    if (executable.empty() || executable.back() != kPathSeparator) {
        executable += kPathSeparator;
    }
    executable += kProgramName;
    WriteFileReplacing(entryPath, AutostartEntry(executable, dataFolder, notify));

    if (dataFolder) {
        out << "Autostart on: " << kProgramName << " starts at login on the data folder " << *dataFolder
            << ".\n";
        if (!IsExistingFolder(*dataFolder)) {
            err << kProgramName << ": note: the folder " << *dataFolder << " does not exist (yet).\n";
        }
    } else {
        out << "Autostart on: " << kProgramName << " starts at login on its default data folder (now "
            << DataFolder::FromCommandLine(executableFolder, {}).DataPath() << ").\n";
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

} // namespace

namespace detail {

int RunAutostart(const std::string& state, const std::string& executableFolder,
                 const std::vector<std::string>& folderArguments, std::ostream& out, std::ostream& err,
                 const EnvironmentLookup& environment) {
    const std::filesystem::path entryPath = AutostartFolder(environment) / kDesktopEntryFileName;
    if (state == "on") {
        return TurnOn(executableFolder, folderArguments, entryPath, out, err);
    }
    return TurnOff(entryPath, out);
}

} // namespace detail

} // namespace velmar
