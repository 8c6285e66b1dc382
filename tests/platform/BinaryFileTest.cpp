#include "platform/BinaryFile.h"

#include "common/Errors.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

namespace velmar {
namespace {

using test::ByteWriter;
using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

TEST(BinaryFile, WritesLittleEndianAndReadsBack) {
    TempDir dir;
    const std::string path = dir.File("f.bin");
    {
        BinaryFile file(path, BinaryFile::Mode::Truncate);
        file.WriteInt16(420);
        file.WriteInt16(-1);
        file.WriteText("Åsa"); // bytes as given: two-byte UTF-8 Å here
        file.WriteBytes({9, 8, 7});
        file.Close();
    }
    EXPECT_EQ(ReadFileBytes(dir.Path() / "f.bin"),
              (test::Bytes{0xA4, 0x01, 0xFF, 0xFF, 0x04, 0x00, 0xC3, 0x85, 's', 'a', 9, 8, 7}));

    BinaryFile file(path, BinaryFile::Mode::Read);
    EXPECT_EQ(file.Size(), 13U);
    EXPECT_EQ(file.ReadInt16(), 420);
    EXPECT_EQ(file.ReadInt16(), -1);
    EXPECT_EQ(file.ReadText(), "Åsa");
    EXPECT_EQ(file.ReadBytes(3), (std::vector<std::uint8_t>{9, 8, 7}));
    EXPECT_FALSE(file.Ended());
    EXPECT_EQ(file.ReadInt16(), 0);
    EXPECT_TRUE(file.Ended());
}

TEST(BinaryFile, ReadingPastTheEndGivesZerosAndEmptyTexts) {
    TempDir dir;
    // A text that claims 65535 bytes but has three, then nothing.
    WriteFileBytes(dir.Path() / "short.bin", ByteWriter().Int16(-1).Raw({'a', 'b', 'c'}).Data());
    BinaryFile file(dir.File("short.bin"), BinaryFile::Mode::Read);
    EXPECT_EQ(file.ReadText(), "");
    EXPECT_TRUE(file.Ended());
    EXPECT_EQ(file.ReadInt16(), 0);
    EXPECT_EQ(file.ReadBytes(4), (std::vector<std::uint8_t>{0, 0, 0, 0}));

    WriteFileBytes(dir.Path() / "odd.bin", {0x05});
    BinaryFile odd(dir.File("odd.bin"), BinaryFile::Mode::Read);
    EXPECT_EQ(odd.ReadInt16(), 0); // half a value is no value
    EXPECT_TRUE(odd.Ended());
}

TEST(BinaryFile, TextLengthIsAnUnsignedSixteenBitCount) {
    TempDir dir;
    const std::string longest(65535, 'x');
    {
        BinaryFile file(dir.File("t.bin"), BinaryFile::Mode::Truncate);
        file.WriteText(longest);
        EXPECT_THROW(file.WriteText(std::string(65536, 'x')), OverflowError);
    }
    BinaryFile file(dir.File("t.bin"), BinaryFile::Mode::Read);
    EXPECT_EQ(file.ReadText(), longest);
}

TEST(BinaryFile, UpdateNeverTruncatesAndOpenErrorsAreFileErrors) {
    TempDir dir;
    WriteFileBytes(dir.Path() / "u.bin", {1, 2, 3, 4, 5, 6});
    {
        BinaryFile file(dir.File("u.bin"), BinaryFile::Mode::Update);
        file.WriteInt16(0);
    }
    EXPECT_EQ(ReadFileBytes(dir.Path() / "u.bin"), (test::Bytes{0, 0, 3, 4, 5, 6}));
    {
        BinaryFile created(dir.File("new.bin"), BinaryFile::Mode::Update);
        EXPECT_EQ(created.Size(), 0U);
    }
    EXPECT_THROW(BinaryFile(dir.File("missing.bin"), BinaryFile::Mode::Read), FileError);
    EXPECT_THROW(BinaryFile(dir.File(""), BinaryFile::Mode::Read), FileError); // a folder
    EXPECT_THROW(BinaryFile(dir.File("no/such/folder.bin"), BinaryFile::Mode::Update), FileError);
}

} // namespace
} // namespace velmar
