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

// The controls of a window that hosts the schedule grid, under the names the
// grid calls them by. A window binds each to its widget: it shows what the
// grid sets (OnChanged names the member) and stores here what the user types
// or checks. The defaults are a frame of 340 x 200 pixels with a scroll bar
// 16 pixels wide at its right edge.
struct ScheduleHostControls {
    // Picture_TimeSchedule_Frame: the inner size of the frame around the picture box.
    std::int32_t FrameScaleWidth = 340;
    std::int32_t FrameScaleHeight = 200;
    // VScroll_Schedule: the vertical scroll bar in the frame; its maximum is
    // negative when the grid has fewer than seven rows.
    std::int32_t VScrollLeft = 324;
    std::int32_t VScrollTop = 0;
    std::int32_t VScrollWidth = 16;
    std::int32_t VScrollHeight = 200;
    std::int32_t VScrollMax = 0;
    // Picture_TimeSchedule: the picture box's place and size in the frame.
    std::int32_t PictureLeft = 0;
    std::int32_t PictureTop = 0;
    std::int32_t PictureWidth = 0;
    std::int32_t PictureHeight = 0;
    // Text_Schedule_Time (the time under the pointer) and the two time boxes
    // of the selected period, Text_Schedule_Period_Start and _Stop.
    std::string TimeText;
    std::string PeriodStartText;
    std::string PeriodStopText;
    // Menu_TimeSchedulePopup: the items' check marks and enabled states.
    bool GroupedMonFriChecked = false;
    bool GroupedChecked = false;
    bool PasteEnabled = false;
    bool DeleteEnabled = false;
    // Check_TimeSchedule_ViewDayType: the day types' long names across their rows.
    bool ViewDayTypeChecked = false;
};

// A host of the schedule grid without a screen of its own: it answers every
// name of the grid's contract from its controls, and draws the image list on
// its picture box. Whoever shows the controls listens to OnChanged.
class ScheduleHost : public HostWindow {
public:
    // The picture box and the image list must outlive the host.
    ScheduleHost(const IDrawingSurface& picture, IHostImageList& images);

    ScheduleHostControls& Controls() { return m_Controls; }
    const ScheduleHostControls& Controls() const { return m_Controls; }

    // Called after the grid set a member, with its name as the grid calls it
    // without the verb ("VScroll_Schedule_Max", "Text_Schedule_Period_Start").
    std::function<void(std::string_view member)> OnChanged;

    // The text boxes and the menu states in a fixed order, by their names, as
    // texts: booleans are -1 and 0.
    std::vector<std::pair<std::string, std::string>> NamedValues() const;

private:
    void AnswerNumber(const HostCallback& callback, std::int32_t ScheduleHostControls::*member);
    void AnswerText(const HostCallback& callback, std::string ScheduleHostControls::*member);
    void AnswerTruth(const HostCallback& callback, bool ScheduleHostControls::*member);
    void Changed(std::string_view member) const;

    ScheduleHostControls m_Controls;
};

} // namespace velmar
