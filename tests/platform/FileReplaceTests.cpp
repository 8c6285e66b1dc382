// Saves that keep what a file is, on every platform: read-only files, hard
// links, and the temporaries of killed saves. (FileSafetyTests.cpp adds what
// only POSIX has: owners, modes, ACLs, shared and sticky folders.)

#include "common/Errors.h"
#include "platform/FileReplace.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestPlatform.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace velmar {
namespace {

namespace fs = std::filesystem;
using test::Bytes;
using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

constexpr std::int64_t kGone = 2147483000; // beyond any process id in use

TEST(FileReplace, AReadOnlyFileIsNotReplacedSilently) {
    TempDir dir;
    const std::string path = dir.File("ro.cal");
    WriteFileBytes(path, Bytes(10, 1));
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

    EXPECT_TRUE(IsReadOnlyFile(path));
    EXPECT_THROW(ReplaceFile(path, Bytes(10, 2)), ReadOnlyFileError);
    EXPECT_EQ(ReadFileBytes(path), Bytes(10, 1));

    ReplaceOptions anyway;
    anyway.OverReadOnly = true;
    ReplaceFile(path, Bytes(12, 3), anyway);
    EXPECT_EQ(ReadFileBytes(path), Bytes(12, 3)) << "saved anyway";
    EXPECT_TRUE(IsReadOnlyFile(path)) << "and still read-only";
    EXPECT_EQ(ReadFileBytes(BackupPathOf(path)), Bytes(10, 1));
    EXPECT_FALSE(IsReadOnlyFile(dir.File("missing.cal")));
}

TEST(FileReplace, AFileWithHardLinksIsRewrittenInPlaceAndBackedUpByCopying) {
    TempDir dir;
    WriteFileBytes(dir.Path() / "a.cal", Bytes(300, 1));
    fs::create_hard_link(dir.Path() / "a.cal", dir.Path() / "b.cal");

    const ReplaceResult result = ReplaceFile(dir.File("a.cal"), Bytes(200, 2));
    EXPECT_EQ(result.Method, ReplaceMethod::RewrittenInPlace);
    EXPECT_EQ(result.InPlaceReason, "it has 2 hard links");
    EXPECT_TRUE(result.BackupKept);

    EXPECT_EQ(ReadFileBytes(dir.Path() / "b.cal"), Bytes(200, 2)) << "the other name sees the new bytes";
    WriteFileBytes(dir.Path() / "b.cal", Bytes(7, 7));
    EXPECT_EQ(ReadFileBytes(dir.Path() / "a.cal"), Bytes(7, 7)) << "still one file under two names";
    EXPECT_EQ(ReadFileBytes(dir.Path() / "a.cal~"), Bytes(300, 1))
        << "the backup is a copy, not a third name";

    // A file alone is replaced by a new one; a new file is created.
    EXPECT_EQ(ReplaceFile(dir.File("c.cal"), Bytes(5, 1)).Method, ReplaceMethod::Created);
    const ReplaceResult renamed = ReplaceFile(dir.File("c.cal"), Bytes(6, 2));
    EXPECT_EQ(renamed.Method, ReplaceMethod::Renamed);
    EXPECT_TRUE(renamed.BackupKept);
    EXPECT_EQ(ReadFileBytes(dir.Path() / "c.cal"), Bytes(6, 2));
}

TEST(FileReplace, TemporariesNameTheFileAndTheProcess) {
    EXPECT_EQ(TemporaryNameOf("Profile_0001.dat", 4711, 2), ".Profile_0001.dat.saving-4711-2");
    struct Case {
        const char* Name;
        std::optional<std::int64_t> Owner;
    };
    const std::vector<Case> cases = {
        {".p.cal.saving-4711-0", 4711},          {".p.cal.saving-4711-12", 4711},
        {".p.cal~.saving-4711-0", std::nullopt}, // the backup's, not the file's
        {".p.cal.saving-4711", std::nullopt},    {".p.cal.saving--1-0", std::nullopt},
        {".p.cal.saving-47x1-0", std::nullopt},  {".p.cal.saving-4711-0x", std::nullopt},
        {".p.cal.savingAb12Cd", std::nullopt}, // a name of the earlier kind, without a process
        {"p.cal.saving-4711-0", std::nullopt},   {".q.cal.saving-4711-0", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TemporaryOwnerOf(c.Name, "p.cal"), c.Owner) << c.Name;
    }
}

TEST(FileReplace, OnlyTemporariesOfProcessesThatNoLongerRunAreRemoved) {
    TempDir dir;
    const std::string path = dir.File("p.cal");
    WriteFileBytes(path, Bytes(10, 1));
    const std::string name = "p.cal";
    struct Case {
        std::string Name;
        bool Removed;
    };
    std::vector<Case> cases = {
        {TemporaryNameOf(name, kGone, 0), true},
        {TemporaryNameOf(name, kGone, 7), true},
        {TemporaryNameOf(name + "~", kGone, 0), true}, // the backup's own
        {TemporaryNameOf(name, test::OwnProcessId(), 0), false},
        {TemporaryNameOf("other.cal", kGone, 0), false}, // another file's
        {".p.cal.savingAb12Cd", false},
    };
    if (test::kPosixSystem) {
        cases.push_back({TemporaryNameOf(name, 1, 0), false}); // init runs, as another user
    }
    for (const auto& c : cases) {
        WriteFileBytes(dir.Path() / c.Name, Bytes(3, 0));
    }
    fs::create_directory(dir.Path() / TemporaryNameOf(name, kGone, 9)); // a folder is never removed

    RemoveStaleTemporaries(path);

    for (const auto& c : cases) {
        EXPECT_EQ(fs::exists(dir.Path() / c.Name), !c.Removed) << c.Name;
    }
    EXPECT_TRUE(fs::is_directory(dir.Path() / TemporaryNameOf(name, kGone, 9)));
    EXPECT_EQ(ReadFileBytes(path), Bytes(10, 1));

    // A save removes them as well.
    WriteFileBytes(dir.Path() / TemporaryNameOf(name, kGone, 1), Bytes(3, 0));
    ReplaceFile(path, Bytes(4, 4));
    EXPECT_FALSE(fs::exists(dir.Path() / TemporaryNameOf(name, kGone, 1)));
}

} // namespace
} // namespace velmar
