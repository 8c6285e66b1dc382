#pragma once

#include "common/HostWindow.h"

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

// A host of the calendar month view without a screen of its own: it answers
// every name of the view's contract from its controls, and draws the image
// list on its picture box. Whoever shows the controls listens to OnChanged.
class CalendarHost : public HostWindow {
public:
    // The picture box and the image list must outlive the host.
    CalendarHost(const IDrawingSurface& picture, IHostImageList& images);

    CalendarHostControls& Controls() { return m_Controls; }
    const CalendarHostControls& Controls() const { return m_Controls; }

    // Called after the view set a member, with its name without the verb
    // ("Text_Calendar_Month").
    std::function<void(std::string_view member)> OnChanged;

    // The caption and the selected entry by their names, as texts.
    std::vector<std::pair<std::string, std::string>> NamedValues() const;

private:
    // The text of entry `entry`; OutOfRangeError outside the list.
    const std::string& Item(std::int32_t entry) const;

    CalendarHostControls m_Controls;
};

} // namespace velmar
