#include "profiles/ProfileFile.h"

#include "common/CodePage.h"
#include "common/Errors.h"
#include "platform/BinaryFile.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace velmar {

namespace {

std::string ReadFileText(BinaryFile& file) {
    return Cp1252ToUtf8(file.ReadText());
}

// A raw block of the record. A block cut off by the end of the file reads as
// zeros, like every other field that was not wholly in the file.
template <std::size_t N> void ReadBlock(BinaryFile& file, std::array<std::uint8_t, N>& block) {
    const auto bytes = file.ReadBytes(N);
    block.fill(0);
    std::copy_n(bytes.begin(), std::min(bytes.size(), N), block.begin());
}

template <std::size_t N> void WriteBlock(BinaryFile& file, const std::array<std::uint8_t, N>& block) {
    file.WriteBytes(std::vector<std::uint8_t>(block.begin(), block.end()));
}

} // namespace

void ReadProfileRecord(BinaryFile& file, ProfileRecord& record) {
    // Every field is replaced; starting from a fresh record gives fields that
    // the file no longer holds (or that a failing read left out) defined values.
    record = ProfileRecord{};
    record.Int0 = file.ReadInt16();
    record.Active = file.ReadInt16();
    record.Name = ReadFileText(file);
    ReadBlock(file, record.Bytes1);
    record.Text1 = ReadFileText(file);
    record.Text2 = ReadFileText(file);
    for (auto& text : record.TextList) {
        text = ReadFileText(file);
    }
    ReadBlock(file, record.Bytes2);
    record.Text3 = ReadFileText(file);
    ReadBlock(file, record.Bytes3);
    record.Text4 = ReadFileText(file);
    record.Text5 = ReadFileText(file);
    ReadBlock(file, record.Bytes4);
}

void WriteProfileRecord(BinaryFile& file, const ProfileRecord& record) {
    file.WriteInt16(record.Int0);
    file.WriteInt16(record.Active);
    file.WriteText(Utf8ToCp1252(record.Name));
    WriteBlock(file, record.Bytes1);
    file.WriteText(Utf8ToCp1252(record.Text1));
    file.WriteText(Utf8ToCp1252(record.Text2));
    for (const auto& text : record.TextList) {
        file.WriteText(Utf8ToCp1252(text));
    }
    WriteBlock(file, record.Bytes2);
    file.WriteText(Utf8ToCp1252(record.Text3));
    WriteBlock(file, record.Bytes3);
    file.WriteText(Utf8ToCp1252(record.Text4));
    file.WriteText(Utf8ToCp1252(record.Text5));
    WriteBlock(file, record.Bytes4);
}

ProfileFileRead ReadProfile(const std::string& path) {
    BinaryFile file(path, BinaryFile::Mode::Read);
    ProfileFileRead read;
    ProfileFileContents& contents = read.Contents;
    contents.Size = file.Size();
    if (contents.Size < 2) {
        read.Format = ProfileFileFormat::TooShort;
    } else if (contents.FormatVersion = file.ReadInt16();
               file.Ended() || contents.FormatVersion != kProfileFormatVersion) {
        read.Format = ProfileFileFormat::OtherVersion;
    } else {
        ReadProfileRecord(file, contents.Record);
        contents.RecordComplete = !file.Ended();
        contents.ScheduleStart = file.Position();
        contents.Schedule = std::make_shared<cTimeSchedule>();
        contents.Schedule->ReadFromDisk(file);
        contents.ScheduleComplete = !file.Ended();
        contents.ScheduleEnd = file.Position();
    }
    try {
        file.Close();
    } catch (const FileError&) {
        // Nothing was written, so a failing close loses nothing.
    }
    return read;
}

ProfileFileContents ReadProfileFile(const std::string& path) {
    ProfileFileRead read = ReadProfile(path);
    const ProfileFileContents& contents = read.Contents;
    switch (read.Format) {
    case ProfileFileFormat::Readable:
        break;
    case ProfileFileFormat::TooShort:
        throw FileError(path + ": not a profile file (" + std::to_string(contents.Size) +
                        " bytes; a profile file starts with a 2-byte format version)");
    case ProfileFileFormat::OtherVersion:
        throw FileError(path + ": format version " + std::to_string(contents.FormatVersion) +
                        ", only version " + std::to_string(kProfileFormatVersion) + " can be read");
    }
    return std::move(read.Contents);
}

} // namespace velmar
