#pragma once

#include "calendar/ICalendarHost.h"
#include "common/HostValue.h"
#include "schedule_view/IScheduleHost.h"

#include <functional>
#include <initializer_list>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmar {

// A host of both editor components for tests: every operation is recorded in
// order with its name and arguments, and answered by the handler registered
// for its name with Answer. An operation without a handler raises
// HostCallError, as a host that lacks it would; with `answerEverything` it is
// answered with nothing instead (a "Get_" then yields an empty value). A
// handler that throws becomes HostCallError at the call.
class RecordingHost : public IScheduleHost, public ICalendarHost {
public:
    using Arguments = std::span<const HostValue>;
    using Handler = std::function<HostValue(Arguments)>;

    struct RecordedCall {
        std::string Name;
        std::vector<HostValue> Arguments; // as passed (references as pointers)
        std::vector<HostValue> Values;    // references replaced by the value they held at the call
    };

    explicit RecordingHost(bool answerEverything = false) : m_AnswerEverything(answerEverything) {}

    // Registers (or replaces) the handler of an operation.
    void Answer(std::string name, Handler handler);

    const std::vector<RecordedCall>& Calls() const { return m_Calls; }
    void ClearCalls() { m_Calls.clear(); }
    // Names of the calls in order, for compact assertions.
    std::vector<std::string> CallNames() const;

    // The names of every operation of each host interface.
    static const std::vector<std::string>& ScheduleOperations();
    static const std::vector<std::string>& CalendarOperations();

    // IScheduleHost
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

    // ICalendarHost
    void Set_Text_Calendar_Month(const std::string& Text) override;
    void Draw_ImageList_ListImages(std::int16_t Index, std::int32_t hDC, double X, std::int32_t Y,
                                   std::int32_t Style) override;
    HostValue Get_Combo_Calendar_DayType_SelectedItem() override;
    HostValue Get_Combo_Calendar_DayType_SelectedItem_Index() override;
    HostValue Get_Combo_Calendar_DayType_ComboItems(std::int16_t Entry) override;

private:
    // Records the call and answers it.
    HostValue Record(std::string_view name, std::initializer_list<HostValue> arguments);

    bool m_AnswerEverything;
    std::map<std::string, Handler, std::less<>> m_Handlers;
    std::vector<RecordedCall> m_Calls;
};

} // namespace velmar
