#include "editor_host/CalendarHost.h"

#include "common/Errors.h"
#include "common/SharedTables.h"
#include "editor_host/HostImageList.h"

namespace velmar {

namespace {

constexpr int kDayTypeCodes = kDayTypeCount + 1; // code 0 and the codes of day types 0..22

} // namespace

CalendarHost::CalendarHost(const IDrawingSurface& picture, IHostImageList& images) {
    for (int code = 0; code < kDayTypeCodes; ++code) {
        m_Controls.DayTypeItems.push_back(std::to_string(code));
    }
    Answer(std::string(host::Set_Text_Calendar_Month.Name), [this](Arguments args) {
        m_Controls.MonthText = args.empty() ? std::string() : HostText(args[0]);
        if (OnChanged) {
            OnChanged("Text_Calendar_Month");
        }
        return HostValue();
    });
    // The selected entry as an object, nothing when none is selected.
    Answer(std::string(host::Get_Combo_Calendar_DayType_SelectedItem.Name), [this](Arguments) {
        return m_Controls.DayTypeSelected > 0 ? HostValue(Item(m_Controls.DayTypeSelected)) : HostValue();
    });
    Answer(std::string(host::Get_Combo_Calendar_DayType_SelectedItem_Index.Name),
           [this](Arguments) { return HostValue(m_Controls.DayTypeSelected); });
    Answer(std::string(host::Get_Combo_Calendar_DayType_ComboItems.Name), [this](Arguments args) {
        if (args.empty()) {
            throw InvalidArgumentError("Get_Combo_Calendar_DayType_ComboItems needs an entry number");
        }
        return HostValue(Item(HostInt32(args[0])));
    });
    AnswerImageList(*this, picture, images);
}

std::vector<std::pair<std::string, std::string>> CalendarHost::NamedValues() const {
    return {
        {"Text_Calendar_Month", m_Controls.MonthText},
        {"Combo_Calendar_DayType_SelectedItem_Index", std::to_string(m_Controls.DayTypeSelected)},
    };
}

const std::string& CalendarHost::Item(std::int32_t entry) const {
    if (entry < 1 || static_cast<std::size_t>(entry) > m_Controls.DayTypeItems.size()) {
        throw OutOfRangeError("combo entry " + std::to_string(entry) + " outside 1.." +
                              std::to_string(m_Controls.DayTypeItems.size()));
    }
    return m_Controls.DayTypeItems[static_cast<std::size_t>(entry - 1)];
}

} // namespace velmar
