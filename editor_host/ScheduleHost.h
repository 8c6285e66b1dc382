#pragma once

#include "schedule_view/IScheduleHost.h"

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

// The members of the controls that the grid sets.
enum class ScheduleHostMember : std::uint8_t {
    VScroll_Schedule_Top,
    VScroll_Schedule_Left,
    VScroll_Schedule_Height,
    VScroll_Schedule_Max,
    Picture_TimeSchedule_Left,
    Picture_TimeSchedule_Top,
    Picture_TimeSchedule_Width,
    Picture_TimeSchedule_Height,
    Text_Schedule_Time,
    Text_Schedule_Period_Start,
    Text_Schedule_Period_Stop,
    Menu_TimeSchedulePopup_Grouped_MonFri_Checked,
    Menu_TimeSchedulePopup_Grouped_Checked,
    Menu_TimeSchedulePopup_Paste_Enabled,
    Menu_TimeSchedulePopup_Delete_Enabled,
};
// The member's name as the grid calls it without the verb ("VScroll_Schedule_Max").
std::string_view MemberName(ScheduleHostMember member);

// A host of the schedule grid without a screen of its own: it answers every
// operation of the grid from its controls, and draws the image list on its
// picture box. Whoever shows the controls listens to OnChanged. A number that
// does not fit a control, and an image it cannot draw, raise HostCallError.
class ScheduleHost : public IScheduleHost {
public:
    // The picture box and the image list must outlive the host.
    ScheduleHost(const IDrawingSurface& picture, IHostImageList& images)
        : m_Picture(picture), m_Images(images) {}

    ScheduleHostControls& Controls() { return m_Controls; }
    const ScheduleHostControls& Controls() const { return m_Controls; }

    // Called after the grid set a member.
    std::function<void(ScheduleHostMember member)> OnChanged;

    // The text boxes and the menu states in a fixed order, by their names, as
    // texts: booleans are -1 and 0.
    std::vector<std::pair<std::string, std::string>> NamedValues() const;

    void Set_VScroll_Schedule_Top(std::int16_t Top) override;
    HostValue Get_Picture_TimeSchedule_Frame_ScaleWidth() override;
    HostValue Get_VScroll_Schedule_Width() override;
    void Set_VScroll_Schedule_Left(const HostValue& Left) override;
    HostValue Get_Picture_TimeSchedule_Frame_ScaleHeight() override;
    void Set_VScroll_Schedule_Height(const HostValue& Height) override;
    void Set_VScroll_Schedule_Max(std::int16_t Max) override;
    void Set_Picture_TimeSchedule_Left(std::int16_t Left) override;
    void Set_Picture_TimeSchedule_Top(std::int16_t Top) override;
    HostValue Get_VScroll_Schedule_Left() override;
    void Set_Picture_TimeSchedule_Width(const HostValue& Width) override;
    void Set_Picture_TimeSchedule_Height(std::int32_t Height) override;
    HostValue Get_ImageList_ImageHeight() override;
    HostValue Get_ImageList_ImageWidth() override;
    void Draw_ImageList_ListImages(std::int32_t Index, std::int32_t hDC, const HostValue& X,
                                   std::int32_t& Y) override;
    HostValue Get_Check_TimeSchedule_ViewDayType() override;
    void Set_Text_Schedule_Time(const std::string& Text) override;
    void Set_Text_Schedule_Period_Start(const std::string& Text) override;
    void Set_Text_Schedule_Period_Stop(const std::string& Text) override;
    HostValue Get_Text_Schedule_Period_Start() override;
    HostValue Get_Text_Schedule_Period_Stop() override;
    void Set_Menu_TimeSchedulePopup_Grouped_MonFri_Checked(std::int32_t& Checked) override;
    void Set_Menu_TimeSchedulePopup_Grouped_Checked(std::int16_t& Checked) override;
    void Set_Menu_TimeSchedulePopup_Paste_Enabled(std::int16_t Enabled) override;
    void Set_Menu_TimeSchedulePopup_Delete_Enabled(std::int16_t Enabled) override;
    HostValue Get_Menu_TimeSchedulePopup_Grouped_MonFri_Checked() override;

private:
    // Stores a number the grid passed into a control that holds whole pixels.
    void SetNumber(std::int32_t ScheduleHostControls::*control, const HostValue& value,
                   ScheduleHostMember member);
    template <typename Value>
    void Set(Value ScheduleHostControls::*control, Value value, ScheduleHostMember member) {
        m_Controls.*control = std::move(value);
        Changed(member);
    }
    void Changed(ScheduleHostMember member) const;

    const IDrawingSurface& m_Picture;
    IHostImageList& m_Images;
    ScheduleHostControls m_Controls;
};

} // namespace velmar
