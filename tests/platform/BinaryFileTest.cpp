#include "platform/BinaryFile.h"

#include "common/Errors.h"
#include "tests/support/FileFaults.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestPlatform.h"

#include <array>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>

namespace velmar {
namespace {

using test::ByteWriter;
using test::FileFaults;
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

TEST(BinaryFile, FailingCallsRaiseFileErrorsWithTheSystemsReason) {
    TempDir dir;
    WriteFileBytes(dir.Path() / "p.bin", ByteWriter().Int16(4).Text("Alpha").Data());
    struct Case {
        const char* Title;
        FileCall Call;
        std::errc Error;
        const char* Reason;
        std::function<void()> Run; // must raise
    };
    const std::string path = dir.File("p.bin");
    const std::vector<Case> cases = {
        {"open refused", FileCall::Open, std::errc::permission_denied, "permission denied",
         [&] { BinaryFile file(path, BinaryFile::Mode::Read); }},
        {"first read fails", FileCall::Read, std::errc::io_error, "input/output error",
         [&] {
             BinaryFile file(path, BinaryFile::Mode::Read);
             file.ReadInt16();
         }},
        {"text read fails", FileCall::Read, std::errc::io_error, "input/output error",
         [&] {
             BinaryFile file(path, BinaryFile::Mode::Read);
             file.ReadText();
         }},
        {"a write fails at close", FileCall::Write, std::errc::no_space_on_device, "no space left on device",
         [&] {
             BinaryFile file(dir.File("w.bin"), BinaryFile::Mode::Truncate);
             file.WriteInt16(1);
             file.Close();
         }},
    };
    for (const auto& c : cases) {
        FileFaults faults;
        faults.Fail(c.Call, c.Call == FileCall::Write ? "w.bin" : "p.bin", c.Error);
        try {
            c.Run();
            ADD_FAILURE() << c.Title << ": no error";
        } catch (const FileError& error) {
            EXPECT_EQ(error.Reason(), c.Reason) << c.Title;
            EXPECT_NE(std::string(error.what()).find(c.Reason), std::string::npos) << error.what();
        }
    }
}

TEST(BinaryFile, AFailedReadIsNeverTakenForTheEndOfTheFile) {
    TempDir dir;
    WriteFileBytes(dir.Path() / "p.bin", ByteWriter().Int16(4).Int16(-1).Data());
    FileFaults faults;
    faults.Fail(FileCall::Read, "p.bin", std::errc::io_error, 1, 1);
    BinaryFile file(dir.File("p.bin"), BinaryFile::Mode::Read);
    EXPECT_THROW(file.ReadInt16(), FileError);
    EXPECT_FALSE(file.Ended()) << "the file did not end";
    // The disk recovers: the same value is read again, nothing was skipped.
    EXPECT_EQ(file.ReadInt16(), 4);
    EXPECT_EQ(file.ReadInt16(), -1);
}

TEST(BinaryFile, RefusesAnythingButARegularFileWithoutWaitingForIt) {
    TempDir dir;
    struct Case {
        std::string Path;
        BinaryFile::Mode Mode;
        const char* Reason;
    };
    std::vector<Case> cases = {{dir.File(""), BinaryFile::Mode::Read, "is a directory"}};
    if (test::kPosixSystem) {
        // No writer ever opens the FIFO: an open that waited for one would hang here.
        const std::string fifo = dir.File("Profile_0001.dat");
        ASSERT_TRUE(test::MakeFifo(fifo));
        cases.push_back({fifo, BinaryFile::Mode::Read, "not a regular file"});
        cases.push_back({fifo, BinaryFile::Mode::Update, "not a regular file"});
        cases.push_back({"/dev/null", BinaryFile::Mode::Read, "not a regular file"});
    }
    for (const auto& c : cases) {
        try {
            BinaryFile file(c.Path, c.Mode);
            ADD_FAILURE() << c.Path << " was opened";
        } catch (const FileError& error) {
            EXPECT_EQ(error.Reason(), c.Reason) << c.Path;
        }
    }
}

TEST(BinaryFile, ReadsAFileInAsFewReadsAsItsSizeNeeds) {
    TempDir dir;
    struct Case {
        std::size_t Size;
        int Reads;
    };
    for (const Case c : {Case{0, 0}, Case{1, 1}, Case{1000, 1}, Case{(4U << 20U) + 1, 2}}) {
        WriteFileBytes(dir.Path() / "f.bin", test::Bytes(c.Size, 7));
        FileFaults faults;
        BinaryFile file(dir.File("f.bin"), BinaryFile::Mode::Read);
        EXPECT_EQ(file.Size(), c.Size);
        for (std::size_t i = 0; i + 2 <= c.Size; i += 2) {
            ASSERT_EQ(file.ReadInt16(), 0x0707);
        }
        file.ReadBytes(c.Size % 2);
        EXPECT_FALSE(file.Ended()) << c.Size;
        EXPECT_EQ(file.ReadInt16(), 0);
        EXPECT_TRUE(file.Ended()) << c.Size;
        file.Close();
        EXPECT_EQ(faults.Count(FileCall::Read), c.Reads) << c.Size << " bytes, field by field";
    }
}

TEST(BinaryFile, ReadsAndWritesOfOneFileLandWhereTheyBelong) {
    TempDir dir;
    WriteFileBytes(dir.Path() / "u.bin", {1, 0, 2, 0, 3, 0, 4, 0});
    {
        BinaryFile file(dir.File("u.bin"), BinaryFile::Mode::Update);
        EXPECT_EQ(file.ReadInt16(), 1);
        file.WriteInt16(-2);
        EXPECT_EQ(file.ReadInt16(), 3);
        file.WriteText("xy"); // runs past the old end
        EXPECT_EQ(file.Position(), 10U);
        file.Close();
    }
    EXPECT_EQ(ReadFileBytes(dir.Path() / "u.bin"), (test::Bytes{1, 0, 0xFE, 0xFF, 3, 0, 2, 0, 'x', 'y'}));

    // Many small writes reach the file whole and in order.
    {
        BinaryFile file(dir.File("big.bin"), BinaryFile::Mode::Truncate);
        for (int i = 0; i < 100000; ++i) {
            file.WriteInt16(static_cast<std::int16_t>(i));
        }
        file.Close();
    }
    BinaryFile file(dir.File("big.bin"), BinaryFile::Mode::Read);
    ASSERT_EQ(file.Size(), 200000U);
    for (int i = 0; i < 100000; ++i) {
        ASSERT_EQ(file.ReadInt16(), static_cast<std::int16_t>(i)) << i;
    }
}

} // namespace
} // namespace velmar
