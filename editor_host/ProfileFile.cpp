#include "editor_host/ProfileFile.h"

#include "common/Errors.h"
#include "platform/BinaryFile.h"

#include <memory>

namespace velmar {

ProfileFileContents ReadProfileFile(const std::string& path) {
    BinaryFile file(path, BinaryFile::Mode::Read);
    ProfileFileContents contents;
    contents.Size = file.Size();
    if (contents.Size < 2) {
        throw FileError(path + ": not a profile file (" + std::to_string(contents.Size) +
                        " bytes; a profile file starts with a 2-byte format version)");
    }
    contents.FormatVersion = file.ReadInt16();
    if (file.Ended() || contents.FormatVersion != kProfileFormatVersion) {
        throw FileError(path + ": format version " + std::to_string(contents.FormatVersion) +
                        ", only version " + std::to_string(kProfileFormatVersion) + " can be read");
    }
    ReadProfileRecord(file, contents.Record);
    contents.RecordComplete = !file.Ended();
    contents.ScheduleStart = file.Position();
    contents.Schedule = std::make_shared<cTimeSchedule>();
    contents.Schedule->ReadFromDisk(file);
    contents.ScheduleComplete = !file.Ended();
    contents.ScheduleEnd = file.Position();
    file.Close();
    return contents;
}

} // namespace velmar
