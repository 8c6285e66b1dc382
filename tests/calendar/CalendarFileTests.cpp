// The day-type table of cCalendar and its file of 14,610 little-endian codes.

#include "calendar/Calendar.h"
#include "common/Errors.h"
#include "common/Paths.h"
#include "platform/FileSystem.h"
#include "tests/support/FileFaults.h"
#include "tests/support/TestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

#ifdef _WIN32
#include <windows.h>
#endif

namespace velmar {
namespace {

using test::Bytes;
using test::ByteWriter;
using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

constexpr std::size_t kFileBytes = 29220;
constexpr std::int32_t kLastDay = 14609;

std::int16_t CodeAt(const Bytes& bytes, std::size_t day) {
    return static_cast<std::int16_t>(bytes.at(2 * day) | (bytes.at(2 * day + 1) << 8));
}

class CalendarFileTest : public ::testing::Test {
protected:
    TempDir dir;
    std::unique_ptr<cCalendar> calendar = std::make_unique<cCalendar>();
};

TEST_F(CalendarFileTest, SavesEveryCodeLittleEndianAtTwiceItsDayOffset) {
    calendar->SetDayType(0, 0x1234);
    calendar->SetDayType(1, -1);
    calendar->SetDayType(kLastDay, 23);
    const std::string path = dir.File("year.cal");

    EXPECT_EQ(calendar->SaveToDisk(path), -1);

    const Bytes bytes = ReadFileBytes(path);
    ASSERT_EQ(bytes.size(), kFileBytes);
    EXPECT_EQ(bytes[0], 0x34);
    EXPECT_EQ(bytes[1], 0x12);
    EXPECT_EQ(bytes[2], 0xFF);
    EXPECT_EQ(bytes[3], 0xFF);
    EXPECT_EQ(CodeAt(bytes, 2), 0);
    EXPECT_EQ(CodeAt(bytes, kLastDay), 23);
}

TEST_F(CalendarFileTest, ReadsWhatWasSavedAndComparesEqualUntilACodeChanges) {
    calendar->SetDayType(0, 7);
    calendar->SetDayType(5000, 12);
    calendar->SetDayType(kLastDay, -300);
    const std::string path = dir.File("round trip.cal");
    calendar->SaveToDisk(path);

    cCalendar loaded;
    EXPECT_EQ(loaded.ReadFromDisk(path), -1);
    EXPECT_EQ(loaded.GetDayType(0), 7);
    EXPECT_EQ(loaded.GetDayType(5000), 12);
    EXPECT_EQ(loaded.GetDayType(kLastDay), -300);
    EXPECT_EQ(loaded.CompareToOtherCalendar(calendar.get()), -1);
    EXPECT_EQ(calendar->CompareToDisk(path), -1);

    calendar->SetDayType(kLastDay, -299);
    EXPECT_EQ(calendar->CompareToDisk(path), 0);
    EXPECT_EQ(loaded.CompareToOtherCalendar(calendar.get()), 0);
    calendar->SetDayType(kLastDay, -300);
    calendar->SetDayType(0, 0);
    EXPECT_EQ(calendar->CompareToDisk(path), 0);
}

#ifndef _WIN32
// On POSIX a leading "." only keeps a name out of wildcard searches. Windows
// hides a file by its attribute (the case below), and wine also hides every
// name that begins with ".", so this case is POSIX-only.
TEST_F(CalendarFileTest, ACalendarSavedUnderANameStartingWithADotReadsBack) {
    calendar->SetDayType(100, 9);
    const std::string path = dir.File(".saved.dat");
    calendar->SaveToDisk(path);
    cCalendar loaded;
    EXPECT_EQ(loaded.ReadFromDisk(path), -1);
    EXPECT_EQ(loaded.GetDayType(100), 9);
    EXPECT_EQ(loaded.CompareToDisk(path), -1);
}
#else
// A directory search does not find a file with the hidden attribute: the
// calendar reads as missing until the attribute goes.
TEST_F(CalendarFileTest, ACalendarFileWithTheHiddenAttributeIsNotFound) {
    calendar->SetDayType(100, 9);
    const std::string path = dir.File("hidden.cal");
    calendar->SaveToDisk(path);
    const std::wstring file = PathFromUtf8(path).wstring();
    ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_HIDDEN));
    cCalendar loaded;
    EXPECT_EQ(loaded.ReadFromDisk(path), 0);
    EXPECT_EQ(loaded.GetDayType(100), 0);
    EXPECT_EQ(calendar->CompareToDisk(path), 0);

    ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(loaded.ReadFromDisk(path), -1);
    EXPECT_EQ(loaded.GetDayType(100), 9);
    EXPECT_EQ(calendar->CompareToDisk(path), -1);
}
#endif

TEST_F(CalendarFileTest, ReadsLittleEndianBytesWrittenByOthers) {
    ByteWriter writer;
    writer.Int16s({3, -2}).Zeros(kFileBytes - 6).Int16(0x0809);
    const std::string path = dir.File("made.cal");
    WriteFileBytes(path, writer.Data());

    ASSERT_EQ(calendar->ReadFromDisk(path), -1);
    EXPECT_EQ(calendar->GetDayType(0), 3);
    EXPECT_EQ(calendar->GetDayType(1), -2);
    EXPECT_EQ(calendar->GetDayType(2), 0);
    EXPECT_EQ(calendar->GetDayType(kLastDay), 0x0809);
}

TEST_F(CalendarFileTest, AFileOfZeroBytesClearsEveryCode) {
    calendar->SetDayType(100, 4);
    const std::string path = dir.File("zeros.cal");
    WriteFileBytes(path, Bytes(kFileBytes, 0));

    ASSERT_EQ(calendar->ReadFromDisk(path), -1);
    EXPECT_EQ(calendar->CompareToOtherCalendar(std::make_unique<cCalendar>().get()), -1);
}

TEST_F(CalendarFileTest, SavingOverALongerFileKeepsItsTailAndTheComparisonIgnoresIt) {
    const std::string path = dir.File("long.cal");
    Bytes original(kFileBytes + 10, 0x55);
    WriteFileBytes(path, original);
    calendar->SetDayType(1, 9);

    calendar->SaveToDisk(path);

    const Bytes bytes = ReadFileBytes(path);
    ASSERT_EQ(bytes.size(), kFileBytes + 10);
    EXPECT_EQ(CodeAt(bytes, 0), 0);
    EXPECT_EQ(CodeAt(bytes, 1), 9);
    EXPECT_EQ(CodeAt(bytes, kLastDay), 0);
    EXPECT_EQ(Bytes(bytes.begin() + kFileBytes, bytes.end()), Bytes(10, 0x55));
    EXPECT_EQ(calendar->CompareToDisk(path), -1);
}

// A file shorter than a whole calendar leaves code 0 beyond its end, so no code
// of the calendar loaded before survives; the comparison sees the same zeros.
TEST_F(CalendarFileTest, AShortFileLeavesZeroBeyondItsEnd) {
    for (std::int32_t day : {0, 1, 2, 3000, kLastDay}) {
        calendar->SetDayType(day, 5);
    }
    const std::string path = dir.File("short.cal");
    WriteFileBytes(
        path, ByteWriter().Int16s({8, 9}).Int16(0).Raw({0x07}).Data()); // 7 bytes, half a code at the end

    ASSERT_EQ(calendar->ReadFromDisk(path), -1);
    EXPECT_EQ(calendar->GetDayType(0), 8);
    EXPECT_EQ(calendar->GetDayType(1), 9);
    EXPECT_EQ(calendar->GetDayType(2), 0);
    EXPECT_EQ(calendar->GetDayType(3), 0);
    EXPECT_EQ(calendar->GetDayType(3000), 0);
    EXPECT_EQ(calendar->GetDayType(kLastDay), 0);
    EXPECT_EQ(calendar->CompareToDisk(path), -1);
    EXPECT_EQ(ReadFileBytes(path).size(), 7u) << "reading never changes the file";

    WriteFileBytes(path, {});
    ASSERT_EQ(calendar->ReadFromDisk(path), -1);
    EXPECT_EQ(calendar->GetDayType(0), 0);
    EXPECT_EQ(calendar->GetDayType(1), 0);
}

TEST_F(CalendarFileTest, AMissingFileIsFalseAndLeavesTheTable) {
    calendar->SetDayType(42, 3);
    const std::string path = dir.File("missing.cal");

    EXPECT_EQ(calendar->ReadFromDisk(path), 0);
    EXPECT_EQ(calendar->CompareToDisk(path), 0);
    EXPECT_EQ(calendar->GetDayType(42), 3);
    EXPECT_FALSE(std::filesystem::exists(path));

    std::filesystem::create_directory(dir.Path() / "folder.cal");
    EXPECT_EQ(calendar->ReadFromDisk(dir.File("folder.cal")), 0) << "a folder is not a calendar file";
}

TEST_F(CalendarFileTest, FileErrorsReachTheCaller) {
    EXPECT_THROW(calendar->SaveToDisk(dir.File("no such folder/year.cal")), FileError);

    // FileExists treats "*" as a wildcard and finds the file, but no file has
    // that literal name, so opening it fails.
    WriteFileBytes(dir.Path() / "wild.cal", Bytes(kFileBytes, 0));
    EXPECT_THROW(calendar->ReadFromDisk(dir.File("wi*.cal")), FileError);
    EXPECT_THROW(calendar->CompareToDisk(dir.File("wi*.cal")), FileError);
}

TEST_F(CalendarFileTest, DaysOutsideTheTableAreRefused) {
    calendar->SetDayType(0, 1);
    calendar->SetDayType(kLastDay, 2);
    for (std::int32_t day : {-1, 14610, 100000}) {
        SCOPED_TRACE(day);
        EXPECT_THROW(calendar->GetDayType(day), OutOfRangeError);
        EXPECT_THROW(calendar->SetDayType(day, 7), OutOfRangeError);
    }
    EXPECT_EQ(calendar->GetDayType(0), 1);
    EXPECT_EQ(calendar->GetDayType(kLastDay), 2);
}

TEST_F(CalendarFileTest, NoDayTypeIsMarkedUsed) {
    calendar->notused_CalcIfDayTypeIsUsed();
    for (std::int16_t dayType = 0; dayType <= 22; ++dayType) {
        EXPECT_EQ(calendar->IsDayTypeUsed(dayType), 0) << dayType;
    }
    EXPECT_THROW(calendar->IsDayTypeUsed(23), OutOfRangeError);
    EXPECT_THROW(calendar->IsDayTypeUsed(-1), OutOfRangeError);
}

TEST_F(CalendarFileTest, ComparesWithItselfAndRefusesAMissingCalendar) {
    calendar->SetDayType(7, 7);
    EXPECT_EQ(calendar->CompareToOtherCalendar(calendar.get()), -1);
    EXPECT_THROW(calendar->CompareToOtherCalendar(nullptr), InvalidArgumentError);
}

TEST_F(CalendarFileTest, AReadErrorIsRaisedAndNeverReadAsCodes) {
    calendar->SetDayType(100, 5);
    const std::string path = dir.File("failing.cal");
    calendar->SaveToDisk(path);
    test::FileFaults faults;
    faults.Fail(FileCall::Read, "failing.cal", std::errc::io_error);
    cCalendar loaded;
    loaded.SetDayType(100, 9);
    EXPECT_THROW(loaded.ReadFromDisk(path), FileError);
    EXPECT_EQ(loaded.GetDayType(100), 9) << "no zeros from a disk that failed";
    EXPECT_THROW(calendar->CompareToDisk(path), FileError);
}

} // namespace
} // namespace velmar
