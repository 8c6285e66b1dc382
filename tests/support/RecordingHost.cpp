#include "tests/support/RecordingHost.h"

#include "common/Errors.h"

namespace velmar {

void RecordingHost::Answer(std::string name, Handler handler) {
    m_Handlers[std::move(name)] = std::move(handler);
}

std::vector<std::string> RecordingHost::CallNames() const {
    std::vector<std::string> names;
    names.reserve(m_Calls.size());
    for (const auto& call : m_Calls) {
        names.push_back(call.Name);
    }
    return names;
}

const std::vector<std::string>& RecordingHost::ScheduleOperations() {
    static const std::vector<std::string> names = {
        "Set_VScroll_Schedule_Top",
        "Get_Picture_TimeSchedule_Frame_ScaleWidth",
        "Get_VScroll_Schedule_Width",
        "Set_VScroll_Schedule_Left",
        "Get_Picture_TimeSchedule_Frame_ScaleHeight",
        "Set_VScroll_Schedule_Height",
        "Set_VScroll_Schedule_Max",
        "Set_Picture_TimeSchedule_Left",
        "Set_Picture_TimeSchedule_Top",
        "Get_VScroll_Schedule_Left",
        "Set_Picture_TimeSchedule_Width",
        "Set_Picture_TimeSchedule_Height",
        "Get_ImageList_ImageHeight",
        "Get_ImageList_ImageWidth",
        "Draw_ImageList_ListImages",
        "Get_Check_TimeSchedule_ViewDayType",
        "Set_Text_Schedule_Time",
        "Set_Text_Schedule_Period_Start",
        "Set_Text_Schedule_Period_Stop",
        "Get_Text_Schedule_Period_Start",
        "Get_Text_Schedule_Period_Stop",
        "Set_Menu_TimeSchedulePopup_Grouped_MonFri_Checked",
        "Set_Menu_TimeSchedulePopup_Grouped_Checked",
        "Set_Menu_TimeSchedulePopup_Paste_Enabled",
        "Set_Menu_TimeSchedulePopup_Delete_Enabled",
        "Get_Menu_TimeSchedulePopup_Grouped_MonFri_Checked",
    };
    return names;
}

const std::vector<std::string>& RecordingHost::CalendarOperations() {
    static const std::vector<std::string> names = {
        "Set_Text_Calendar_Month",
        "Draw_ImageList_ListImages",
        "Get_Combo_Calendar_DayType_SelectedItem",
        "Get_Combo_Calendar_DayType_SelectedItem_Index",
        "Get_Combo_Calendar_DayType_ComboItems",
    };
    return names;
}

HostValue RecordingHost::Record(std::string_view name, std::initializer_list<HostValue> arguments) {
    RecordedCall call{std::string(name), {arguments.begin(), arguments.end()}, {}};
    for (const auto& argument : arguments) {
        call.Values.push_back(HostResolved(argument));
    }
    m_Calls.push_back(std::move(call));
    const auto found = m_Handlers.find(name);
    if (found == m_Handlers.end()) {
        if (!m_AnswerEverything) {
            throw HostCallError("the host does not answer \"" + std::string(name) + "\"");
        }
        return {};
    }
    try {
        return found->second(m_Calls.back().Arguments);
    } catch (const HostCallError&) {
        throw;
    } catch (const std::exception& error) {
        throw HostCallError("\"" + std::string(name) + "\": " + error.what());
    }
}

void RecordingHost::Set_VScroll_Schedule_Top(std::int16_t Top) {
    Record("Set_VScroll_Schedule_Top", {Top});
}

HostValue RecordingHost::Get_Picture_TimeSchedule_Frame_ScaleWidth() {
    return Record("Get_Picture_TimeSchedule_Frame_ScaleWidth", {});
}

HostValue RecordingHost::Get_VScroll_Schedule_Width() {
    return Record("Get_VScroll_Schedule_Width", {});
}

void RecordingHost::Set_VScroll_Schedule_Left(const HostValue& Left) {
    Record("Set_VScroll_Schedule_Left", {Left});
}

HostValue RecordingHost::Get_Picture_TimeSchedule_Frame_ScaleHeight() {
    return Record("Get_Picture_TimeSchedule_Frame_ScaleHeight", {});
}

void RecordingHost::Set_VScroll_Schedule_Height(const HostValue& Height) {
    Record("Set_VScroll_Schedule_Height", {Height});
}

void RecordingHost::Set_VScroll_Schedule_Max(std::int16_t Max) {
    Record("Set_VScroll_Schedule_Max", {Max});
}

void RecordingHost::Set_Picture_TimeSchedule_Left(std::int16_t Left) {
    Record("Set_Picture_TimeSchedule_Left", {Left});
}

void RecordingHost::Set_Picture_TimeSchedule_Top(std::int16_t Top) {
    Record("Set_Picture_TimeSchedule_Top", {Top});
}

HostValue RecordingHost::Get_VScroll_Schedule_Left() {
    return Record("Get_VScroll_Schedule_Left", {});
}

void RecordingHost::Set_Picture_TimeSchedule_Width(const HostValue& Width) {
    Record("Set_Picture_TimeSchedule_Width", {Width});
}

void RecordingHost::Set_Picture_TimeSchedule_Height(std::int32_t Height) {
    Record("Set_Picture_TimeSchedule_Height", {Height});
}

HostValue RecordingHost::Get_ImageList_ImageHeight() {
    return Record("Get_ImageList_ImageHeight", {});
}

HostValue RecordingHost::Get_ImageList_ImageWidth() {
    return Record("Get_ImageList_ImageWidth", {});
}

void RecordingHost::Draw_ImageList_ListImages(std::int32_t Index, std::int32_t hDC, const HostValue& X,
                                              std::int32_t& Y) {
    Record("Draw_ImageList_ListImages", {Index, hDC, X, &Y});
}

HostValue RecordingHost::Get_Check_TimeSchedule_ViewDayType() {
    return Record("Get_Check_TimeSchedule_ViewDayType", {});
}

void RecordingHost::Set_Text_Schedule_Time(const std::string& Text) {
    Record("Set_Text_Schedule_Time", {Text});
}

void RecordingHost::Set_Text_Schedule_Period_Start(const std::string& Text) {
    Record("Set_Text_Schedule_Period_Start", {Text});
}

void RecordingHost::Set_Text_Schedule_Period_Stop(const std::string& Text) {
    Record("Set_Text_Schedule_Period_Stop", {Text});
}

HostValue RecordingHost::Get_Text_Schedule_Period_Start() {
    return Record("Get_Text_Schedule_Period_Start", {});
}

HostValue RecordingHost::Get_Text_Schedule_Period_Stop() {
    return Record("Get_Text_Schedule_Period_Stop", {});
}

void RecordingHost::Set_Menu_TimeSchedulePopup_Grouped_MonFri_Checked(std::int32_t& Checked) {
    Record("Set_Menu_TimeSchedulePopup_Grouped_MonFri_Checked", {&Checked});
}

void RecordingHost::Set_Menu_TimeSchedulePopup_Grouped_Checked(std::int16_t& Checked) {
    Record("Set_Menu_TimeSchedulePopup_Grouped_Checked", {&Checked});
}

void RecordingHost::Set_Menu_TimeSchedulePopup_Paste_Enabled(std::int16_t Enabled) {
    Record("Set_Menu_TimeSchedulePopup_Paste_Enabled", {Enabled});
}

void RecordingHost::Set_Menu_TimeSchedulePopup_Delete_Enabled(std::int16_t Enabled) {
    Record("Set_Menu_TimeSchedulePopup_Delete_Enabled", {Enabled});
}

HostValue RecordingHost::Get_Menu_TimeSchedulePopup_Grouped_MonFri_Checked() {
    return Record("Get_Menu_TimeSchedulePopup_Grouped_MonFri_Checked", {});
}

void RecordingHost::Set_Text_Calendar_Month(const std::string& Text) {
    Record("Set_Text_Calendar_Month", {Text});
}

void RecordingHost::Draw_ImageList_ListImages(std::int16_t Index, std::int32_t hDC, double X, std::int32_t Y,
                                              std::int32_t Style) {
    Record("Draw_ImageList_ListImages", {Index, hDC, X, Y, Style});
}

HostValue RecordingHost::Get_Combo_Calendar_DayType_SelectedItem() {
    return Record("Get_Combo_Calendar_DayType_SelectedItem", {});
}

HostValue RecordingHost::Get_Combo_Calendar_DayType_SelectedItem_Index() {
    return Record("Get_Combo_Calendar_DayType_SelectedItem_Index", {});
}

HostValue RecordingHost::Get_Combo_Calendar_DayType_ComboItems(std::int16_t Entry) {
    return Record("Get_Combo_Calendar_DayType_ComboItems", {Entry});
}

} // namespace velmar
