#include "common/FileSystem.h"

#include "tests/support/TestFiles.h"

#include <algorithm>
#include <array>
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

TEST(WildcardMatch, Table) {
    struct Case {
        const char* pattern;
        const char* name;
        bool ignoreCase;
        bool matches;
    };
    const auto cases = std::to_array<Case>({
        {"Profile_????.dat", "Profile_0001.dat", true, true},
        {"Profile_????.dat", "PROFILE_0001.DAT", true, true},
        {"Profile_????.dat", "PROFILE_0001.DAT", false, false},
        {"Profile_????.dat", "Profile_001.dat", true, false},
        {"Profile_????.dat", "Profile_00001.dat", true, false},
        {"Profile_????.dat", "Profile_ÅÄÖx.dat", true, true}, // "?" is one character, not one byte
        {"*.dat", "a.dat", false, true},
        {"*.dat", ".dat", false, true},
        {"*.dat", "a.dat.bak", false, false},
        {"a*b*c", "axxbyyc", false, true},
        {"a*b*c", "axxbyy", false, false},
        {"*", "", false, true},
        {"?", "", false, false},
        {"åsa", "ÅSA", true, true},
        // Only the pattern's "*" and "?" are wildcards; in the name they are ordinary characters.
        {"*.cal", "*x.cal", false, true},
        {"*.cal", "*.cal", false, true},
        {"a*", "a*b", false, true},
        {"*b", "*b*b", false, true},
        {"?x", "?x", false, true},
        {"??", "?", false, false},
        {"a?c", "a?c", false, true},
        {"*?", "?", false, true},
        {"x*", "*x", false, false},
        {"*.dat", "*", false, false},
    });
    for (const auto& c : cases) {
        EXPECT_EQ(WildcardMatch(c.pattern, c.name, c.ignoreCase), c.matches) << c.pattern << " ~ " << c.name;
    }
}

TEST(FileExists, FindsOnlyOrdinaryFiles) {
    TempDir dir;
    WriteFileBytes(dir.Path() / "cal.dat", {1, 2});
    WriteFileBytes(dir.Path() / ".saved.dat", {1});
    std::filesystem::create_directory(dir.Path() / "folder.dat");

    EXPECT_TRUE(FileExists(dir.File("cal.dat")));
    EXPECT_TRUE(FileExists(dir.File("c?l.dat")));
    EXPECT_TRUE(FileExists(dir.File("*.dat")));
    EXPECT_FALSE(FileExists(dir.File("missing.dat")));
#ifndef _WIN32
    // On POSIX a name that starts with "." is an ordinary file when it is named:
    // hidden is an attribute of Windows files, not a kind of name.
    EXPECT_TRUE(FileExists(dir.File(".saved.dat")));
#endif
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

} // namespace
} // namespace velmar
