#pragma once

// The host window of the calendar's month view (`m_ParentContainer`): one
// operation per callback the view makes, named as the view calls it, so that
// a host that misses one does not compile. What the "Get_" operations return
// is dynamically typed, as the host holds it. A host operation that fails
// raises its error at the call (HostCallError for the host's own failures).

#include "common/HostValue.h"

#include <cstdint>
#include <string>

namespace velmar {

class ICalendarHost {
public:
    virtual ~ICalendarHost() = default;

    // Shows the month's caption ("oktober 2000").
    virtual void Set_Text_Calendar_Month(const std::string& Text) = 0;
    // Image `Index` (1 to 16) of the host's image list at (X, Y) on the
    // surface whose device context is `hDC`; `Style` is always 1.
    virtual void Draw_ImageList_ListImages(std::int16_t Index, std::int32_t hDC, double X, std::int32_t Y,
                                           std::int32_t Style) = 0;
    // The selected entry of the day-type combo box; nothing when none is selected.
    virtual HostValue Get_Combo_Calendar_DayType_SelectedItem() = 0;
    // The selected entry's number, 1-based; entry k stands for day-type code k - 1.
    virtual HostValue Get_Combo_Calendar_DayType_SelectedItem_Index() = 0;
    // The text of entry `Entry` (1-based).
    virtual HostValue Get_Combo_Calendar_DayType_ComboItems(std::int16_t Entry) = 0;
};

} // namespace velmar
