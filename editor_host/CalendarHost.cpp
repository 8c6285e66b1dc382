#include "editor_host/CalendarHost.h"

#include "common/Errors.h"
#include "common/SharedTables.h"
#include "editor_host/HostImageList.h"

namespace velmar {

namespace {

constexpr int kDayTypeCodes = kDayTypeCount + 1; // code 0 and the codes of day types 0..22

} // namespace

std::string_view MemberName(CalendarHostMember member) {
    switch (member) {
    case CalendarHostMember::Text_Calendar_Month:
        return "Text_Calendar_Month";
    }
    return "?";
}

CalendarHost::CalendarHost(const IDrawingSurface& picture, IHostImageList& images)
    : m_Picture(picture), m_Images(images) {
    for (int code = 0; code < kDayTypeCodes; ++code) {
        m_Controls.DayTypeItems.push_back(std::to_string(code));
    }
}

std::vector<std::pair<std::string, std::string>> CalendarHost::NamedValues() const {
    return {
        {"Text_Calendar_Month", m_Controls.MonthText},
        {"Combo_Calendar_DayType_SelectedItem_Index", std::to_string(m_Controls.DayTypeSelected)},
    };
}

void CalendarHost::Set_Text_Calendar_Month(const std::string& Text) {
    m_Controls.MonthText = Text;
    if (OnChanged) {
        OnChanged(CalendarHostMember::Text_Calendar_Month);
    }
}

void CalendarHost::Draw_ImageList_ListImages(std::int16_t Index, std::int32_t hDC, double X, std::int32_t Y,
                                             std::int32_t /*Style*/) {
    DrawHostImage(m_Picture, m_Images, Index, hDC, X, Y);
}

// The selected entry as an object, nothing when none is selected.
HostValue CalendarHost::Get_Combo_Calendar_DayType_SelectedItem() {
    return m_Controls.DayTypeSelected > 0 ? HostValue(Item(m_Controls.DayTypeSelected)) : HostValue();
}

HostValue CalendarHost::Get_Combo_Calendar_DayType_SelectedItem_Index() {
    return m_Controls.DayTypeSelected;
}

HostValue CalendarHost::Get_Combo_Calendar_DayType_ComboItems(std::int16_t Entry) {
    return Item(Entry);
}

const std::string& CalendarHost::Item(std::int32_t entry) const {
    if (entry < 1 || static_cast<std::size_t>(entry) > m_Controls.DayTypeItems.size()) {
        throw HostCallError("combo entry " + std::to_string(entry) + " outside 1.." +
                            std::to_string(m_Controls.DayTypeItems.size()));
    }
    return m_Controls.DayTypeItems[static_cast<std::size_t>(entry - 1)];
}

} // namespace velmar
