#include "common/Paths.h"
#include "platform/FileSystem.h"
#include "platform/SystemError.h"
#include "tests/support/FileFaults.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestPlatform.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace velmar {
namespace {

using test::TempDir;
using test::WriteFileBytes;

TEST(FileExists, FindsOnlyOrdinaryFiles) {
    TempDir dir;
    WriteFileBytes(dir.Path() / "cal.dat", {1, 2});
    WriteFileBytes(dir.Path() / ".saved.dat", {1});
    std::filesystem::create_directory(dir.Path() / "folder.dat");

    EXPECT_TRUE(FileExists(dir.File("cal.dat")));
    EXPECT_TRUE(FileExists(dir.File("c?l.dat")));
    EXPECT_TRUE(FileExists(dir.File("*.dat")));
    EXPECT_FALSE(FileExists(dir.File("missing.dat")));
    if (test::kPosixSystem) {
        // On POSIX a name that starts with "." is an ordinary file when it is
        // named: hidden is an attribute of Windows files, not a kind of name.
        EXPECT_TRUE(FileExists(dir.File(".saved.dat")));
    }
    EXPECT_FALSE(FileExists(dir.File("folder.dat")));
    EXPECT_FALSE(FileExists(dir.File("fold*")));
    EXPECT_FALSE(FileExists(dir.File("no-such-folder/cal.dat")));
    EXPECT_FALSE(FileExists(dir.File("no-such-folder/*")));
    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(FileExists(PathToUtf8(dir.Path()) + "/"));
    EXPECT_FALSE(FileExists(std::string("bad\0name", 8)));
}

#ifdef _WIN32
// On Windows a file is hidden by its attributes, whatever its name.
TEST(FileExists, LeavesOutFilesWithTheHiddenOrSystemAttribute) {
    TempDir dir;
    struct File {
        const char* Name;
        DWORD Attributes;
        bool Found;
    };
    const auto files = std::to_array<File>({
        {"plain.dat", FILE_ATTRIBUTE_NORMAL, true},
        {"hidden.dat", FILE_ATTRIBUTE_HIDDEN, false},
        {"system.dat", FILE_ATTRIBUTE_SYSTEM, false},
    });
    for (const auto& f : files) {
        const auto path = dir.Path() / f.Name;
        WriteFileBytes(path, {1});
        ASSERT_TRUE(SetFileAttributesW(path.c_str(), f.Attributes)) << f.Name;
    }
    std::vector<std::string> listed;
    for (const auto& entry : ListFiles(PathToUtf8(dir.Path()), "*.dat")) {
        listed.push_back(entry.Name);
    }
    for (const auto& f : files) {
        EXPECT_EQ(FileExists(dir.File(f.Name)), f.Found) << f.Name;
        EXPECT_EQ(std::ranges::count(listed, f.Name), f.Found ? 1 : 0) << f.Name;
    }
    EXPECT_FALSE(FileExists(dir.File("h*.dat")));
}
#endif

TEST(ListFiles, MatchesIgnoringCaseAndReportsTimesAndSizes) {
    TempDir dir;
    WriteFileBytes(dir.Path() / "Profile_0001.dat", {1, 2, 3});
    WriteFileBytes(dir.Path() / "PROFILE_0002.DAT", {1});
    WriteFileBytes(dir.Path() / "Profile_3.dat", {1});
    std::filesystem::create_directory(dir.Path() / "Profile_0004.dat");

    auto found = ListFiles(PathToUtf8(dir.Path()), "Profile_????.dat");
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.Name < b.Name; });
    ASSERT_EQ(found.size(), 2U);
    EXPECT_EQ(found[0].Name, "PROFILE_0002.DAT");
    EXPECT_EQ(found[1].Name, "Profile_0001.dat");
    EXPECT_EQ(found[1].Size, 3U);
    EXPECT_TRUE(found[1].HasTime);

    EXPECT_TRUE(ListFiles(dir.File("missing"), "*").empty());
}

std::vector<std::string> NamesOf(const std::vector<DirectoryEntry>& entries) {
    std::vector<std::string> names;
    names.reserve(entries.size());
    for (const auto& entry : entries) {
        names.push_back(entry.Name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(ListFolder, TellsAMissingFolderAndAFileFromAnEmptyFolder) {
    TempDir dir;
    WriteFileBytes(dir.Path() / "file", {1});
    std::filesystem::create_directory(dir.Path() / "empty");
    // The system's own words, as a Windows user meets them at the command prompt.
    const std::string missing = test::MissingFolderWords();
    const std::string notAFolder = test::NotAFolderWords();
    struct Case {
        std::string Folder;
        FolderState State;
        std::string Reason;
    };
    const auto cases = std::to_array<Case>({
        {dir.File("empty") + "/", FolderState::Listed, ""},
        {dir.File("missing") + "/", FolderState::Missing, missing},
        {dir.File("missing/Profiles") + "/", FolderState::Missing, missing},
        {dir.File("file") + "/", FolderState::NotAFolder, notAFolder},
        {dir.File("file/Profiles") + "/", FolderState::NotAFolder, notAFolder},
        {dir.File("file"), FolderState::NotAFolder, notAFolder},
        {dir.File("file") + kPathSeparator + "Profiles" + kPathSeparator, FolderState::NotAFolder,
         notAFolder},
        {dir.File("missing"), FolderState::Missing, missing},
    });
    for (const auto& c : cases) {
        const FolderListing listing = ListFolder(c.Folder, "*");
        EXPECT_EQ(listing.State, c.State) << c.Folder;
        EXPECT_EQ(listing.Reason, c.Reason) << c.Folder;
        EXPECT_TRUE(listing.Files.empty()) << c.Folder;
        EXPECT_TRUE(ListFiles(c.Folder, "*").empty()) << c.Folder;
    }
}

TEST(ListFolder, NamesLikeTheFilesThatAreNoFilesAreSetApart) {
    TempDir dir;
    WriteFileBytes(dir.Path() / "Profile_0001.dat", {1});
    std::filesystem::create_directory(dir.Path() / "Profile_0002.dat");
    std::filesystem::create_directory(dir.Path() / "other");
    // Hidden, though "*" matches it: by its name on POSIX, by its attribute on
    // Windows (where a leading "." hides nothing, though wine hides such names too).
    WriteFileBytes(dir.Path() / ".Profile_0006.dat", {1});
    if (!test::kPosixSystem) {
        ASSERT_TRUE(test::MakeHidden(dir.Path() / ".Profile_0006.dat"));
    }
    std::vector<std::string> files = {"Profile_0001.dat"};
    std::vector<std::string> expected = {"Profile_0002.dat: is a directory", "other: is a directory"};
    if (test::kPosixSystem) {
        ASSERT_TRUE(test::MakeFifo(dir.Path() / "Profile_0003.dat"));
        std::filesystem::create_symlink(dir.Path() / "Profile_0001.dat", dir.Path() / "Profile_0004.dat");
        std::filesystem::create_symlink(dir.Path() / "gone", dir.Path() / "Profile_0005.dat"); // dangling
        files.emplace_back("Profile_0004.dat");
        expected.insert(expected.begin() + 1, "Profile_0003.dat: not a regular file");
    }

    const FolderListing listing = ListFolder(dir.File(""), "*");
    EXPECT_EQ(listing.State, FolderState::Listed);
    EXPECT_EQ(NamesOf(listing.Files), files);
    std::vector<std::string> others;
    others.reserve(listing.Others.size());
    for (const auto& other : listing.Others) {
        others.push_back(other.Name + ": " + other.Reason);
    }
    std::sort(others.begin(), others.end());
    EXPECT_EQ(others, expected);
    EXPECT_EQ(ListFolder(dir.File(""), "Profile_????.dat").Others.size(), expected.size() - 1);
}

TEST(ListFolder, MatchesEveryNameThePatternMatchesAndNoOther) {
    // Names near the pattern, so that a quick test of a name's bytes before
    // the full match can be seen to let through exactly the matching ones.
    std::vector<std::pair<const char*, bool>> names = {
        {"Profile_0001.dat", true},
        {"PROFILE_0002.DAT", true},
        {"profile_abcd.Dat", true},
        {"Profile_\xC3\x85\xC3\x84\xC3\x96x.dat", true}, // three two-byte characters and one byte
        {"Profile_\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC.dat", true}, // four three-byte characters
        {"Profile_\xC3\x85\xC3\x84\xC3\x96.dat", false},                        // three characters, six bytes
        {"Profile_00001.dat", false},
        {"Profile_001.dat", false},
        {"Profile_0001.da", false},
        {"Profile_0001.dat.bak", false},
        {"XProfile_0001.dat", false},
        {"Profil_00001.dat", false},
        {"\xC3\x85rofile_0001.dat", false},
    };
    if (test::kPosixSystem) {
        // A Windows file name cannot hold "?" or "*".
        names.emplace_back("Profile_0?*1.dat", true); // a "?" of the pattern stands for any character
    }
    TempDir dir;
    std::vector<std::string> expected;
    for (const auto& [name, matches] : names) {
        WriteFileBytes(dir.Path() / std::filesystem::path(std::u8string(name, name + std::strlen(name))),
                       {1});
        if (matches) {
            expected.emplace_back(name);
        }
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(NamesOf(ListFiles(dir.File(""), "Profile_????.dat")), expected);
    EXPECT_EQ(NamesOf(ListFiles(dir.File(""), "*")).size(), names.size());
    EXPECT_EQ(NamesOf(ListFiles(dir.File(""), "*.dat")).size(), names.size() - 2);
}

TEST(ListFolder, TimesAndSizesFollowTheFile) {
    TempDir dir;
    const auto file = dir.Path() / "Profile_0001.dat";
    WriteFileBytes(file, {1, 2, 3});
    const auto first = ListFiles(dir.File(""), "*");
    ASSERT_EQ(first.size(), 1U);
    EXPECT_EQ(first[0].Size, 3U);
    EXPECT_TRUE(first[0].HasTime);

    test::ShiftModificationTime(file, std::chrono::nanoseconds(1500));
    const auto later = ListFiles(dir.File(""), "*");
    ASSERT_EQ(later.size(), 1U);
    EXPECT_EQ(later[0].ModificationTime - first[0].ModificationTime, 1500) << "nanoseconds";
}

} // namespace
} // namespace velmar
