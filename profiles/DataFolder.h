#pragma once

// The data folder: where the profile data lies. The start-up rules work it out
// once from the command line, in main, and the folder is handed to whatever
// reads or watches the profiles; it names the Profiles folder and its files.

#include "platform/FileSystem.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace velmar {

// How the "/PATH:" switch and the data folder are read. Windows: "\" joins
// folders and the switch's value ends at the next "/" of the command line.
// POSIX: "/" joins folders, so the value runs to the end of the argument the
// switch stands in (the shell has already split and unquoted the arguments);
// a switch that ends its argument takes the whole next argument as its value.
enum class PathStyle { Windows, Posix };

#ifdef _WIN32
inline constexpr PathStyle kPlatformPathStyle = PathStyle::Windows;
#else
inline constexpr PathStyle kPlatformPathStyle = PathStyle::Posix;
#endif

// The data folder of an installed program, fixed at build time
// (VELMAR_DEFAULT_DATA_PATH): the default when no folder "Project" lies beside
// the executable. Empty when the build has none; then "Project" beside the
// executable is always the default.
extern const char* const kDefaultDataPath;

// Whether a folder exists; ResolveDataPath asks it about "Project" beside the
// executable. The file system's answer is IsExistingFolder.
using FolderPredicate = std::function<bool(const std::string& folder)>;

// The data folder of one run: set once at start, never changed.
class DataFolder {
public:
    // The folder `dataPath` as the start-up rules give it, ending in the
    // platform's folder separator (added when it does not).
    explicit DataFolder(std::string dataPath);

    // The folder by the start-up rules (ResolveDataPath) from the folder of
    // the executable and the command line as the rules read it.
    static DataFolder FromCommandLine(const std::string& executableFolder,
                                      const std::vector<std::string>& arguments,
                                      const FolderPredicate& folderExists = IsExistingFolder);

    // The folder as the program shows it: "/srv/alarm/Project/", with the
    // separator at its end, so that every path of the program is formed by
    // plain concatenation.
    const std::string& DataPath() const { return m_DataPath; }
    // The folder that holds the profile files: "/srv/alarm/Project/Profiles/".
    std::string ProfilesFolder() const;
    // A file of the Profiles folder: "/srv/alarm/Project/Profiles/Profile_0007.dat".
    std::string ProfileFile(std::string_view fileName) const;
    // The folder's canonical path (CanonicalFolder): one text for every
    // spelling of it, as the single-instance lock compares folders.
    std::string Canonical() const;

    bool operator==(const DataFolder&) const = default;

private:
    std::string m_DataPath;
};

// The command line as one text: the arguments joined with single spaces.
std::string JoinArguments(const std::vector<std::string>& arguments);

// The data folder, always ending in the style's separator: the value of the
// first "/PATH:" switch (found in any letter case), trimmed of spaces; without
// a switch, the executable's folder followed by "Project" where that folder
// exists (a portable copy), and kDefaultDataPath where it does not. An empty value
// gives the root folder. Windows removes quotation marks from the value;
// POSIX takes it as written.
// A switch that starts beyond character 32761 of the command line raises
// OverflowError, as the 16-bit position of its value overflows.
std::string ResolveDataPath(const std::string& executableFolder, const std::vector<std::string>& arguments,
                            PathStyle style = kPlatformPathStyle,
                            const FolderPredicate& folderExists = IsExistingFolder);

} // namespace velmar
