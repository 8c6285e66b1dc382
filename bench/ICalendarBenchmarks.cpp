// The holiday import of a large iCalendar file (10 MB, 100,000 all-day events)
// against reading the file's bytes: the editor reads a file whole and hands
// the text to the import.

#include "bench/BenchSupport.h"
#include "editor_host/ICalendar.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <string>

namespace velmar::bench {
namespace {

// A calendar of `events` all-day events, one to four days long, over 2000 to
// 2039 one after the other, each with a UID and a name: about 100 bytes an
// event.
const std::filesystem::path& HolidayFile(int events) {
    static ScratchFolder folder("icalendar");
    static std::filesystem::path path;
    if (path.empty()) {
        path = folder.Path() / "holidays.ics";
        std::ofstream out(path, std::ios::binary);
        out << "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Velmar bench//EN\r\n";
        for (int event = 0; event < events; ++event) {
            const int day = event * 7 % 14610;
            const int year = 2000 + day / 366;
            const int month = 1 + day % 12;
            const int date = 1 + day % 28;
            std::array<char, 160> text{};
            std::snprintf(text.data(), text.size(),
                          "BEGIN:VEVENT\r\nUID:%d\r\nDTSTART;VALUE=DATE:%04d%02d%02d\r\nDURATION:P%dD\r\n"
                          "SUMMARY:Holiday %d\r\nEND:VEVENT\r\n",
                          event, year, month, date, 1 + event % 4, event);
            out << text.data();
        }
        out << "END:VCALENDAR\r\n";
    }
    return path;
}

int Events() {
    return QuickRun() ? 1000 : 100000;
}

// The file's bytes, read in one piece.
std::string ReadBytes(const std::filesystem::path& path) {
    std::string bytes(std::filesystem::file_size(path), '\0');
    std::ifstream in(path, std::ios::binary);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

// Reading the file and importing its holidays.
void HolidayImportOfAFile(benchmark::State& state) {
    const auto& path = HolidayFile(Events());
    std::int32_t dates = 0;
    for (auto _ : state) {
        const std::string text = ReadBytes(path);
        const HolidayImport holidays = ReadHolidays(text);
        dates = holidays.Dates;
        benchmark::DoNotOptimize(dates);
    }
    state.counters["events"] = Events();
    state.counters["dates"] = dates;
    state.counters["MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
    SetFloor(state, "HolidayFileBytes");
}

// The floor: reading the file's bytes the same way.
void HolidayFileBytes(benchmark::State& state) {
    const auto& path = HolidayFile(Events());
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadBytes(path));
    }
}

BENCHMARK(HolidayImportOfAFile)->Unit(benchmark::kMillisecond);
BENCHMARK(HolidayFileBytes)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace velmar::bench
