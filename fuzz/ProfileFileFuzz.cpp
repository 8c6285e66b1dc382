// The profile file: LoadProfile of the profile store on any bytes never
// throws, loads exactly the files that start with version 4, and what it
// loaded, written again in the same layout, loads back the same.

#include "fuzz/FuzzSupport.h"
#include "platform/BinaryFile.h"
#include "profiles/ProfileStore.h"

namespace {

std::string ProfilesFolder() {
    const auto folder = velmar::fuzz::ScratchFolder() / "Profiles";
    std::filesystem::create_directories(folder);
    return folder.string() + "/";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmar;
    static const std::string profiles = ProfilesFolder();
    ProfileStore store{DataFolder(fuzz::ScratchFolder().string())};
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    fuzz::WriteBytes(profiles + "Profile_0001.dat", bytes);

    const auto& Profiles = store.Profiles();
    const auto& TimeSchedules = store.TimeSchedules();
    const std::int16_t loaded = store.LoadProfile(0, 1);
    const bool version4 = size >= 2 && data[0] == 4 && data[1] == 0;
    VELMAR_FUZZ_CHECK(loaded == (version4 ? -1 : 0), "loaded exactly when the version is 4");
    VELMAR_FUZZ_CHECK((TimeSchedules[0] != nullptr) == version4, "a schedule exactly for a loaded profile");
    if (!version4) {
        return 0;
    }

    const ProfileRecord record = Profiles[0];
    const std::string schedule = TimeSchedules[0]->ComposePeriodArray();
    {
        BinaryFile file(profiles + "Profile_0002.dat", BinaryFile::Mode::Truncate);
        file.WriteInt16(kProfileFormatVersion);
        WriteProfileRecord(file, record);
        TimeSchedules[0]->SaveToDisk(file);
        file.Close();
    }
    VELMAR_FUZZ_CHECK(store.LoadProfile(1, 2) == -1, "a written profile loads");
    VELMAR_FUZZ_CHECK(Profiles[1] == record, "the record reads back the same");
    VELMAR_FUZZ_CHECK(TimeSchedules[1]->ComposePeriodArray() == schedule, "the schedule reads back the same");
    return 0;
}
