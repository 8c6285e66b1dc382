#pragma once

// The host window of the schedule grid (`m_ParentContainer`): one operation
// per callback the grid makes, named as the grid calls it, so that a host
// that misses one does not compile.
//
// A "Set_" operation assigns its argument to the named member of the named
// control, a "Get_" operation returns that member as the host holds it (a
// number of any width, a text; nothing counts as 0, false and an empty text),
// and Draw_ImageList_ListImages draws image n (1-based) of the host's image
// list at (x, y) on the surface whose device context it is given. A host
// operation that fails raises its error at the call (HostCallError for the
// host's own failures); the grid does not catch it.

#include "common/HostValue.h"

#include <cstdint>
#include <string>

namespace velmar {

class IScheduleHost {
public:
    virtual ~IScheduleHost() = default;

    // The layout pass, in the order it calls them.
    virtual void Set_VScroll_Schedule_Top(std::int16_t Top) = 0;
    virtual HostValue Get_Picture_TimeSchedule_Frame_ScaleWidth() = 0;
    virtual HostValue Get_VScroll_Schedule_Width() = 0;
    // The frame's inner width less the scroll bar's width, integer when both
    // numbers the host returned are.
    virtual void Set_VScroll_Schedule_Left(const HostValue& Left) = 0;
    virtual HostValue Get_Picture_TimeSchedule_Frame_ScaleHeight() = 0;
    // The frame's inner height as the host returned it.
    virtual void Set_VScroll_Schedule_Height(const HostValue& Height) = 0;
    // (rows - 7) * 4, negative with fewer than seven rows.
    virtual void Set_VScroll_Schedule_Max(std::int16_t Max) = 0;
    virtual void Set_Picture_TimeSchedule_Left(std::int16_t Left) = 0;
    virtual void Set_Picture_TimeSchedule_Top(std::int16_t Top) = 0;
    virtual HostValue Get_VScroll_Schedule_Left() = 0;
    // The scroll bar's left edge as the host returned it.
    virtual void Set_Picture_TimeSchedule_Width(const HostValue& Width) = 0;
    // rows * 25 + 4.
    virtual void Set_Picture_TimeSchedule_Height(std::int32_t Height) = 0;

    // The painting of the rows of day types 7 to 22.
    virtual HostValue Get_ImageList_ImageHeight() = 0;
    virtual HostValue Get_ImageList_ImageWidth() = 0;
    // Image `Index` (1-based) at (X, Y): X a number as the host's image width
    // gave it, Y the grid's variable, passed by reference.
    virtual void Draw_ImageList_ListImages(std::int32_t Index, std::int32_t hDC, const HostValue& X,
                                           std::int32_t& Y) = 0;
    // Any non-zero value shows the day types' long names.
    virtual HostValue Get_Check_TimeSchedule_ViewDayType() = 0;

    // Mouse editing and the editing operations.
    virtual void Set_Text_Schedule_Time(const std::string& Text) = 0;
    virtual void Set_Text_Schedule_Period_Start(const std::string& Text) = 0;
    virtual void Set_Text_Schedule_Period_Stop(const std::string& Text) = 0;
    virtual HostValue Get_Text_Schedule_Period_Start() = 0;
    virtual HostValue Get_Text_Schedule_Period_Stop() = 0;
    // The popup menu's states on a right press, in this order; the two check
    // marks are the grid's variables (-1 or 0, any non-zero flag as stored),
    // passed by reference.
    virtual void Set_Menu_TimeSchedulePopup_Grouped_MonFri_Checked(std::int32_t& Checked) = 0;
    virtual void Set_Menu_TimeSchedulePopup_Grouped_Checked(std::int16_t& Checked) = 0;
    virtual void Set_Menu_TimeSchedulePopup_Paste_Enabled(std::int16_t Enabled) = 0;
    virtual void Set_Menu_TimeSchedulePopup_Delete_Enabled(std::int16_t Enabled) = 0;
    // Compared with false (0).
    virtual HostValue Get_Menu_TimeSchedulePopup_Grouped_MonFri_Checked() = 0;
};

} // namespace velmar
