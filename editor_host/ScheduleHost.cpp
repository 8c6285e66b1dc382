#include "editor_host/ScheduleHost.h"

#include "common/Errors.h"
#include "common/Numeric.h"
#include "editor_host/HostImageList.h"

namespace velmar {

namespace {

std::string TruthText(bool value) {
    return std::to_string(ToTruth(value));
}

} // namespace

std::string_view MemberName(ScheduleHostMember member) {
    using enum ScheduleHostMember;
    switch (member) {
    case VScroll_Schedule_Top:
        return "VScroll_Schedule_Top";
    case VScroll_Schedule_Left:
        return "VScroll_Schedule_Left";
    case VScroll_Schedule_Height:
        return "VScroll_Schedule_Height";
    case VScroll_Schedule_Max:
        return "VScroll_Schedule_Max";
    case Picture_TimeSchedule_Left:
        return "Picture_TimeSchedule_Left";
    case Picture_TimeSchedule_Top:
        return "Picture_TimeSchedule_Top";
    case Picture_TimeSchedule_Width:
        return "Picture_TimeSchedule_Width";
    case Picture_TimeSchedule_Height:
        return "Picture_TimeSchedule_Height";
    case Text_Schedule_Time:
        return "Text_Schedule_Time";
    case Text_Schedule_Period_Start:
        return "Text_Schedule_Period_Start";
    case Text_Schedule_Period_Stop:
        return "Text_Schedule_Period_Stop";
    case Menu_TimeSchedulePopup_Grouped_MonFri_Checked:
        return "Menu_TimeSchedulePopup_Grouped_MonFri_Checked";
    case Menu_TimeSchedulePopup_Grouped_Checked:
        return "Menu_TimeSchedulePopup_Grouped_Checked";
    case Menu_TimeSchedulePopup_Paste_Enabled:
        return "Menu_TimeSchedulePopup_Paste_Enabled";
    case Menu_TimeSchedulePopup_Delete_Enabled:
        return "Menu_TimeSchedulePopup_Delete_Enabled";
    }
    return "?";
}

std::vector<std::pair<std::string, std::string>> ScheduleHost::NamedValues() const {
    const ScheduleHostControls& c = m_Controls;
    return {
        {"Text_Schedule_Time", c.TimeText},
        {"Text_Schedule_Period_Start", c.PeriodStartText},
        {"Text_Schedule_Period_Stop", c.PeriodStopText},
        {"Menu_TimeSchedulePopup_Grouped_MonFri_Checked", TruthText(c.GroupedMonFriChecked)},
        {"Menu_TimeSchedulePopup_Grouped_Checked", TruthText(c.GroupedChecked)},
        {"Menu_TimeSchedulePopup_Paste_Enabled", TruthText(c.PasteEnabled)},
        {"Menu_TimeSchedulePopup_Delete_Enabled", TruthText(c.DeleteEnabled)},
    };
}

void ScheduleHost::SetNumber(std::int32_t ScheduleHostControls::*control, const HostValue& value,
                             ScheduleHostMember member) {
    std::int32_t pixels = 0;
    try {
        // Numbers as the grid passes them; a real control holds whole pixels.
        pixels = HostInt32(value);
    } catch (const VelmarError& error) {
        throw HostCallError("Set_" + std::string(MemberName(member)) + ": " + error.what());
    }
    Set(control, pixels, member);
}

void ScheduleHost::Changed(ScheduleHostMember member) const {
    if (OnChanged) {
        OnChanged(member);
    }
}

void ScheduleHost::Set_VScroll_Schedule_Top(std::int16_t Top) {
    Set<std::int32_t>(&ScheduleHostControls::VScrollTop, Top, ScheduleHostMember::VScroll_Schedule_Top);
}

HostValue ScheduleHost::Get_Picture_TimeSchedule_Frame_ScaleWidth() {
    return m_Controls.FrameScaleWidth;
}

HostValue ScheduleHost::Get_VScroll_Schedule_Width() {
    return m_Controls.VScrollWidth;
}

void ScheduleHost::Set_VScroll_Schedule_Left(const HostValue& Left) {
    SetNumber(&ScheduleHostControls::VScrollLeft, Left, ScheduleHostMember::VScroll_Schedule_Left);
}

HostValue ScheduleHost::Get_Picture_TimeSchedule_Frame_ScaleHeight() {
    return m_Controls.FrameScaleHeight;
}

void ScheduleHost::Set_VScroll_Schedule_Height(const HostValue& Height) {
    SetNumber(&ScheduleHostControls::VScrollHeight, Height, ScheduleHostMember::VScroll_Schedule_Height);
}

void ScheduleHost::Set_VScroll_Schedule_Max(std::int16_t Max) {
    Set<std::int32_t>(&ScheduleHostControls::VScrollMax, Max, ScheduleHostMember::VScroll_Schedule_Max);
}

void ScheduleHost::Set_Picture_TimeSchedule_Left(std::int16_t Left) {
    Set<std::int32_t>(&ScheduleHostControls::PictureLeft, Left,
                      ScheduleHostMember::Picture_TimeSchedule_Left);
}

void ScheduleHost::Set_Picture_TimeSchedule_Top(std::int16_t Top) {
    Set<std::int32_t>(&ScheduleHostControls::PictureTop, Top, ScheduleHostMember::Picture_TimeSchedule_Top);
}

HostValue ScheduleHost::Get_VScroll_Schedule_Left() {
    return m_Controls.VScrollLeft;
}

void ScheduleHost::Set_Picture_TimeSchedule_Width(const HostValue& Width) {
    SetNumber(&ScheduleHostControls::PictureWidth, Width, ScheduleHostMember::Picture_TimeSchedule_Width);
}

void ScheduleHost::Set_Picture_TimeSchedule_Height(std::int32_t Height) {
    Set(&ScheduleHostControls::PictureHeight, Height, ScheduleHostMember::Picture_TimeSchedule_Height);
}

HostValue ScheduleHost::Get_ImageList_ImageHeight() {
    return std::int32_t{m_Images.ImageHeight()};
}

HostValue ScheduleHost::Get_ImageList_ImageWidth() {
    return std::int32_t{m_Images.ImageWidth()};
}

void ScheduleHost::Draw_ImageList_ListImages(std::int32_t Index, std::int32_t hDC, const HostValue& X,
                                             std::int32_t& Y) {
    double x = 0;
    try {
        x = HostNumber(X);
    } catch (const VelmarError& error) {
        throw HostCallError(std::string("Draw_ImageList_ListImages: ") + error.what());
    }
    DrawHostImage(m_Picture, m_Images, Index, hDC, x, Y);
}

HostValue ScheduleHost::Get_Check_TimeSchedule_ViewDayType() {
    return ToTruth(m_Controls.ViewDayTypeChecked);
}

void ScheduleHost::Set_Text_Schedule_Time(const std::string& Text) {
    Set(&ScheduleHostControls::TimeText, Text, ScheduleHostMember::Text_Schedule_Time);
}

void ScheduleHost::Set_Text_Schedule_Period_Start(const std::string& Text) {
    Set(&ScheduleHostControls::PeriodStartText, Text, ScheduleHostMember::Text_Schedule_Period_Start);
}

void ScheduleHost::Set_Text_Schedule_Period_Stop(const std::string& Text) {
    Set(&ScheduleHostControls::PeriodStopText, Text, ScheduleHostMember::Text_Schedule_Period_Stop);
}

HostValue ScheduleHost::Get_Text_Schedule_Period_Start() {
    return m_Controls.PeriodStartText;
}

HostValue ScheduleHost::Get_Text_Schedule_Period_Stop() {
    return m_Controls.PeriodStopText;
}

// A reference argument is read at the call; the host keeps the value.
void ScheduleHost::Set_Menu_TimeSchedulePopup_Grouped_MonFri_Checked(std::int32_t& Checked) {
    Set(&ScheduleHostControls::GroupedMonFriChecked, Checked != 0,
        ScheduleHostMember::Menu_TimeSchedulePopup_Grouped_MonFri_Checked);
}

void ScheduleHost::Set_Menu_TimeSchedulePopup_Grouped_Checked(std::int16_t& Checked) {
    Set(&ScheduleHostControls::GroupedChecked, Checked != 0,
        ScheduleHostMember::Menu_TimeSchedulePopup_Grouped_Checked);
}

void ScheduleHost::Set_Menu_TimeSchedulePopup_Paste_Enabled(std::int16_t Enabled) {
    Set(&ScheduleHostControls::PasteEnabled, Enabled != 0,
        ScheduleHostMember::Menu_TimeSchedulePopup_Paste_Enabled);
}

void ScheduleHost::Set_Menu_TimeSchedulePopup_Delete_Enabled(std::int16_t Enabled) {
    Set(&ScheduleHostControls::DeleteEnabled, Enabled != 0,
        ScheduleHostMember::Menu_TimeSchedulePopup_Delete_Enabled);
}

HostValue ScheduleHost::Get_Menu_TimeSchedulePopup_Grouped_MonFri_Checked() {
    return ToTruth(m_Controls.GroupedMonFriChecked);
}

} // namespace velmar
