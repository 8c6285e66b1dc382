#pragma once

#include "calendar/ICalendarHost.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velmar {

class IDrawingSurface;
class IHostImageList;

// The controls of a window that hosts the calendar month view, under the
// names the view calls them by; a window binds each to its widget.
struct CalendarHostControls {
    // Text_Calendar_Month: the caption of the month shown ("oktober 2000").
    std::string MonthText;
    // Combo_Calendar_DayType: entry k (counted from 1) stands for the day-type
    // code k - 1. The default entries read "0" to "23".
    std::vector<std::string> DayTypeItems;
    // The selected entry, counted from 1; 0 when nothing is selected.
    std::int16_t DayTypeSelected = 0;
};

// The members of the controls that the view sets.
enum class CalendarHostMember : std::uint8_t {
    Text_Calendar_Month,
};
// The member's name as the view calls it without the verb ("Text_Calendar_Month").
std::string_view MemberName(CalendarHostMember member);

// A host of the calendar month view without a screen of its own: it answers
// every operation of the view from its controls, and draws the image list on
// its picture box. Whoever shows the controls listens to OnChanged. An
// entry outside the combo box's list, and an image it cannot draw, raise
// HostCallError.
class CalendarHost : public ICalendarHost {
public:
    // The picture box and the image list must outlive the host.
    CalendarHost(const IDrawingSurface& picture, IHostImageList& images);

    CalendarHostControls& Controls() { return m_Controls; }
    const CalendarHostControls& Controls() const { return m_Controls; }

    // Called after the view set a member.
    std::function<void(CalendarHostMember member)> OnChanged;

    // The caption and the selected entry by their names, as texts.
    std::vector<std::pair<std::string, std::string>> NamedValues() const;

    void Set_Text_Calendar_Month(const std::string& Text) override;
    void Draw_ImageList_ListImages(std::int16_t Index, std::int32_t hDC, double X, std::int32_t Y,
                                   std::int32_t Style) override;
    HostValue Get_Combo_Calendar_DayType_SelectedItem() override;
    HostValue Get_Combo_Calendar_DayType_SelectedItem_Index() override;
    HostValue Get_Combo_Calendar_DayType_ComboItems(std::int16_t Entry) override;

private:
    // The text of entry `entry`; HostCallError outside the list.
    const std::string& Item(std::int32_t entry) const;

    const IDrawingSurface& m_Picture;
    IHostImageList& m_Images;
    CalendarHostControls m_Controls;
};

} // namespace velmar
