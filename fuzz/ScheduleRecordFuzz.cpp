// The schedule file record: ReadFromDisk of any bytes stops right behind the
// record, SaveToDisk then writes the values it read (a negative period count
// as 0; a record that ends early reads as 0 and no periods for the rest), and
// what is written reads back the same.

#include "fuzz/FuzzSupport.h"
#include "platform/BinaryFile.h"
#include "schedule/TimeSchedule.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmar;
    const auto input = fuzz::ScratchFolder() / "record.bin";
    const auto output = fuzz::ScratchFolder() / "written.bin";
    fuzz::WriteBytes(input, std::string_view(reinterpret_cast<const char*>(data), size));

    cTimeSchedule schedule;
    schedule.SetDefaultPeriod(); // the record replaces every day type
    bool ended = false;
    std::uint64_t used = 0;
    {
        BinaryFile file(input.string(), BinaryFile::Mode::Read);
        schedule.ReadFromDisk(file);
        ended = file.Ended();
        used = file.Position();
    }
    {
        BinaryFile file(output.string(), BinaryFile::Mode::Truncate);
        schedule.SaveToDisk(file);
        file.Close();
    }
    const std::string written = fuzz::ReadBytes(output);
    const auto expected =
        fuzz::ExpectedRecord(std::string_view(reinterpret_cast<const char*>(data), size), false);
    VELMAR_FUZZ_CHECK(expected.has_value() == !ended, "the reader ends early exactly when the record does");
    if (expected) {
        VELMAR_FUZZ_CHECK(used == expected->size(), "the reader stops right behind the record");
        VELMAR_FUZZ_CHECK(written == *expected, "the record written holds the values read");
    }
    cTimeSchedule back;
    {
        BinaryFile file(output.string(), BinaryFile::Mode::Read);
        back.ReadFromDisk(file);
        VELMAR_FUZZ_CHECK(!file.Ended(), "a written record is complete");
    }
    VELMAR_FUZZ_CHECK(back.ComposePeriodArray() == schedule.ComposePeriodArray(),
                      "what is written reads back");
    return 0;
}
