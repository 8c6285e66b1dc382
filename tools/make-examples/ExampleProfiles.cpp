#include "tools/make-examples/ExampleProfiles.h"

#include "common/Errors.h"
#include "common/Paths.h"
#include "platform/BinaryFile.h"
#include "profiles/ProfileFile.h"
#include "schedule/PeriodArray.h"
#include "schedule/TimeSchedule.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <system_error>
#include <utility>

namespace velmar::examples {
namespace {

constexpr std::int16_t kTrueValue = -1;

// Times of day in minutes.
constexpr std::int16_t At(int hours, int minutes = 0) {
    return static_cast<std::int16_t>(hours * 60 + minutes);
}

using Period = std::pair<std::int16_t, std::int16_t>;

// A schedule described day type by day type and turned into a cTimeSchedule
// through its text form, so that the examples hold exactly the periods given,
// in the given order.
class ScheduleBuilder {
public:
    ScheduleBuilder() {
        for (int dayType = 0; dayType < 7; ++dayType) {
            m_Days[static_cast<std::size_t>(dayType)].Active = kTrueValue; // a new schedule's weekdays
        }
    }

    // Puts the periods on each listed day type and marks it in use.
    ScheduleBuilder& On(std::initializer_list<int> dayTypes, std::initializer_list<Period> periods) {
        for (const int dayType : dayTypes) {
            auto& day = m_Days.at(static_cast<std::size_t>(dayType));
            day.Active = kTrueValue;
            day.Periods.assign(periods.begin(), periods.end());
        }
        return *this;
    }
    ScheduleBuilder& Grouped(std::initializer_list<int> dayTypes) {
        for (const int dayType : dayTypes) {
            m_Days.at(static_cast<std::size_t>(dayType)).Grouped = kTrueValue;
        }
        return *this;
    }
    ScheduleBuilder& NotInUse(std::initializer_list<int> dayTypes) {
        for (const int dayType : dayTypes) {
            m_Days.at(static_cast<std::size_t>(dayType)).Active = 0;
        }
        return *this;
    }
    ScheduleBuilder& UseCalendar() {
        m_UseCalendar = kTrueValue;
        return *this;
    }

    SchedulePtr Build() const {
        std::string text;
        auto put = [&text](std::int16_t value) { text += IntegerToChars(value); };
        std::int16_t row = 0; // the grid row of a day type: day types in use before it
        for (const auto& day : m_Days) {
            put(day.Active);
            put(day.Grouped);
            put(static_cast<std::int16_t>(day.Periods.size()));
            for (const auto& [start, stop] : day.Periods) {
                put(start);
                put(stop);
            }
            put(row);
            if (day.Active != 0) {
                ++row;
            }
        }
        put(m_UseCalendar);
        auto schedule = std::make_shared<cTimeSchedule>();
        schedule->ExtractPeriodArray(text);
        return schedule;
    }

private:
    struct Day {
        std::int16_t Active = 0;
        std::int16_t Grouped = 0;
        std::vector<Period> Periods;
    };
    std::array<Day, kDayTypeCount> m_Days{};
    std::int16_t m_UseCalendar = 0;
};

const std::initializer_list<int> kMondayToFriday = {0, 1, 2, 3, 4};
const std::initializer_list<int> kWeekend = {5, 6};
const std::initializer_list<int> kEveryDay = {0, 1, 2, 3, 4, 5, 6};

struct Example {
    std::int16_t Number;
    std::string Name;
    std::int16_t Active;
    std::string Description; // Text1, as the server's own description
    SchedulePtr Schedule;
};

std::vector<Example> Examples() {
    std::vector<Example> examples;

    examples.push_back({1, "Nattlarm Lager", kTrueValue, "Inbrottslarm lagerbyggnad, nattetid",
                        ScheduleBuilder()
                            .On(kMondayToFriday, {{At(0), At(6, 30)}, {At(18), At(24)}})
                            .On(kWeekend, {{At(0), At(24)}})
                            .Grouped(kMondayToFriday)
                            .Build()});

    // The ordinary office day of a new profile.
    auto office = std::make_shared<cTimeSchedule>();
    office->SetDefaultPeriod();
    examples.push_back({2, "Kontor dagtid", 0, "Kontoret plan 2, vardagar", office});

    examples.push_back(
        {3, "\u00c5sa hemtj\u00e4nst", kTrueValue, "Trygghetslarm, tillsyn tre g\u00e5nger per dag",
         ScheduleBuilder().On(kEveryDay, {{At(7, 30), At(9)}, {At(12), At(13)}, {At(21), At(22)}}).Build()});

    // A summer house watched on weekends and on the calendar's holiday day type.
    examples.push_back({4, "\u00d6land sommarhus", 0, "Fritidshus, Borgholm",
                        ScheduleBuilder()
                            .UseCalendar()
                            .On(kMondayToFriday, {{At(22), At(24)}, {At(0), At(6)}})
                            .On(kWeekend, {{At(0), At(24)}})
                            .On({7}, {{At(0), At(24)}})
                            .On({8}, {{At(16), At(24)}})
                            .Build()});

    examples.push_back({5, "Weekend patrol", kTrueValue, "Guard round, Friday night to Monday morning",
                        ScheduleBuilder()
                            .On({4}, {{At(18), At(24)}})
                            .On({5}, {{At(0), At(24)}})
                            .On({6}, {{At(0), At(24)}})
                            .On({0}, {{At(0), At(6)}})
                            .Build()});

    examples.push_back({6, "Server room", kTrueValue, "Temperature and door alarm, always on",
                        ScheduleBuilder().On(kEveryDay, {{At(0), At(24)}}).Grouped(kEveryDay).Build()});

    examples.push_back({7, "Reception kv\u00e4ll", 0, "Receptionen, kv\u00e4llspass m\u00e5ndag till torsdag",
                        ScheduleBuilder()
                            .On({0, 1, 2, 3}, {{At(16), At(21, 30)}})
                            .Grouped({0, 1, 2, 3})
                            .NotInUse({4, 5, 6})
                            .Build()});

    examples.push_back({8, "\u00c4ldreboende natt", 0, "Nattbemanning, avdelning B",
                        ScheduleBuilder().On(kEveryDay, {{At(21, 45), At(24)}, {At(0), At(7, 15)}}).Build()});

    return examples;
}

} // namespace

std::vector<std::string> WriteExampleProfiles(const std::string& profilesFolder) {
    std::error_code error;
    std::filesystem::create_directories(PathFromUtf8(profilesFolder), error);
    if (error) {
        throw FileError("cannot create " + profilesFolder + ": " + error.message());
    }
    std::string folder = profilesFolder;
    if (!folder.empty() && folder.back() != kPathSeparator && folder.back() != '/') {
        folder += kPathSeparator;
    }

    std::vector<std::string> written;
    for (const auto& example : Examples()) {
        ProfileRecord record;
        record.Int0 = example.Number;
        record.Active = example.Active;
        record.Name = example.Name;
        record.Text1 = example.Description;

        std::string name = "0000" + std::to_string(example.Number);
        name = "Profile_" + name.substr(name.size() - 4) + ".dat";
        BinaryFile file(folder + name, BinaryFile::Mode::Truncate);
        file.WriteInt16(kProfileFormatVersion);
        WriteProfileRecord(file, record);
        example.Schedule->SaveToDisk(file);
        file.Close();
        written.push_back(name);
    }
    return written;
}

} // namespace velmar::examples
