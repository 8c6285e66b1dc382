#pragma once

// The contract between the editor components and the windows that host them:
// every name the schedule grid and the calendar month view call on their host,
// with the kinds of the arguments they pass. The components call only through
// these constants (HostWindow::Call checks the arguments against them), and
// every host answers the names of the component it hosts.
//
// A "Set_" name assigns its argument to the named member of the named control,
// a "Get_" name returns that member, and "Draw_ImageList_ListImages" draws image
// n (1-based) of the host's image list at (x, y) on the surface whose device
// context it is given.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace velmar {

constexpr std::size_t kMaxHostArguments = 5;

// What a component passes for one argument.
enum class HostArgument : std::uint8_t {
    Text,             // a text
    Int16,            // a 16-bit integer; booleans are 16-bit -1 and 0
    Int32,            // a 32-bit integer
    Integer,          // a 16-bit or 32-bit integer
    Int16Reference,   // a reference to the component's 16-bit variable
    Int32Reference,   // a reference to the component's 32-bit variable
    Int32OrReference, // a 32-bit integer or a reference to one
    Number,           // an integer or floating-point number
    AsReturned,       // a value exactly as a "Get_" name returned it
};

struct HostCallback {
    std::string_view Name;
    std::array<HostArgument, kMaxHostArguments> Arguments{};
    std::size_t Required = 0; // arguments every call passes
    std::size_t Allowed = 0;  // arguments a call may pass; those beyond Required are optional
};

// The names, as the components call them. Their spelling is the contract.
namespace host {

using enum HostArgument;

// The schedule grid's layout pass.
inline constexpr HostCallback Set_VScroll_Schedule_Top{"Set_VScroll_Schedule_Top", {Int16}, 1, 1};
inline constexpr HostCallback Get_Picture_TimeSchedule_Frame_ScaleWidth{
    "Get_Picture_TimeSchedule_Frame_ScaleWidth", {}, 0, 0};
inline constexpr HostCallback Get_VScroll_Schedule_Width{"Get_VScroll_Schedule_Width", {}, 0, 0};
// The frame's inner width less the scroll bar's width.
inline constexpr HostCallback Set_VScroll_Schedule_Left{"Set_VScroll_Schedule_Left", {Number}, 1, 1};
inline constexpr HostCallback Get_Picture_TimeSchedule_Frame_ScaleHeight{
    "Get_Picture_TimeSchedule_Frame_ScaleHeight", {}, 0, 0};
inline constexpr HostCallback Set_VScroll_Schedule_Height{"Set_VScroll_Schedule_Height", {AsReturned}, 1, 1};
// (rows - 7) * 4, negative with fewer than seven rows.
inline constexpr HostCallback Set_VScroll_Schedule_Max{"Set_VScroll_Schedule_Max", {Int16}, 1, 1};
inline constexpr HostCallback Set_Picture_TimeSchedule_Left{"Set_Picture_TimeSchedule_Left", {Int16}, 1, 1};
inline constexpr HostCallback Set_Picture_TimeSchedule_Top{"Set_Picture_TimeSchedule_Top", {Int16}, 1, 1};
inline constexpr HostCallback Get_VScroll_Schedule_Left{"Get_VScroll_Schedule_Left", {}, 0, 0};
inline constexpr HostCallback Set_Picture_TimeSchedule_Width{
    "Set_Picture_TimeSchedule_Width", {AsReturned}, 1, 1};
// rows * 25 + 4.
inline constexpr HostCallback Set_Picture_TimeSchedule_Height{
    "Set_Picture_TimeSchedule_Height", {Int32}, 1, 1};

// The schedule grid's painting.
inline constexpr HostCallback Get_ImageList_ImageHeight{"Get_ImageList_ImageHeight", {}, 0, 0};
inline constexpr HostCallback Get_ImageList_ImageWidth{"Get_ImageList_ImageWidth", {}, 0, 0};
// Image n (1-based), device context, x, y; the calendar adds a style, always 1.
// The schedule passes y by reference, the calendar by value.
inline constexpr HostCallback Draw_ImageList_ListImages{
    "Draw_ImageList_ListImages", {Integer, Int32, Number, Int32OrReference, Int32}, 4, 5};
// Any non-zero value shows the day types' long names.
inline constexpr HostCallback Get_Check_TimeSchedule_ViewDayType{
    "Get_Check_TimeSchedule_ViewDayType", {}, 0, 0};

// The schedule grid's mouse editing and editing operations.
inline constexpr HostCallback Set_Text_Schedule_Time{"Set_Text_Schedule_Time", {Text}, 1, 1};
inline constexpr HostCallback Set_Text_Schedule_Period_Start{"Set_Text_Schedule_Period_Start", {Text}, 1, 1};
inline constexpr HostCallback Set_Text_Schedule_Period_Stop{"Set_Text_Schedule_Period_Stop", {Text}, 1, 1};
inline constexpr HostCallback Get_Text_Schedule_Period_Start{"Get_Text_Schedule_Period_Start", {}, 0, 0};
inline constexpr HostCallback Get_Text_Schedule_Period_Stop{"Get_Text_Schedule_Period_Stop", {}, 0, 0};
inline constexpr HostCallback Set_Menu_TimeSchedulePopup_Grouped_MonFri_Checked{
    "Set_Menu_TimeSchedulePopup_Grouped_MonFri_Checked", {Int32Reference}, 1, 1};
inline constexpr HostCallback Set_Menu_TimeSchedulePopup_Grouped_Checked{
    "Set_Menu_TimeSchedulePopup_Grouped_Checked", {Int16Reference}, 1, 1};
inline constexpr HostCallback Set_Menu_TimeSchedulePopup_Paste_Enabled{
    "Set_Menu_TimeSchedulePopup_Paste_Enabled", {Int16}, 1, 1};
inline constexpr HostCallback Set_Menu_TimeSchedulePopup_Delete_Enabled{
    "Set_Menu_TimeSchedulePopup_Delete_Enabled", {Int16}, 1, 1};
inline constexpr HostCallback Get_Menu_TimeSchedulePopup_Grouped_MonFri_Checked{
    "Get_Menu_TimeSchedulePopup_Grouped_MonFri_Checked", {}, 0, 0};

// The calendar month view.
inline constexpr HostCallback Set_Text_Calendar_Month{"Set_Text_Calendar_Month", {Text}, 1, 1};
// Nothing when no entry is selected.
inline constexpr HostCallback Get_Combo_Calendar_DayType_SelectedItem{
    "Get_Combo_Calendar_DayType_SelectedItem", {}, 0, 0};
// The selected entry's number, 1-based; entry k stands for day-type code k - 1.
inline constexpr HostCallback Get_Combo_Calendar_DayType_SelectedItem_Index{
    "Get_Combo_Calendar_DayType_SelectedItem_Index", {}, 0, 0};
// The text of entry n (1-based).
inline constexpr HostCallback Get_Combo_Calendar_DayType_ComboItems{
    "Get_Combo_Calendar_DayType_ComboItems", {Int16}, 1, 1};

} // namespace host

// Every name the schedule grid calls, and every name the calendar month view calls.
inline constexpr std::array kScheduleHostCallbacks = {
    &host::Set_VScroll_Schedule_Top,
    &host::Get_Picture_TimeSchedule_Frame_ScaleWidth,
    &host::Get_VScroll_Schedule_Width,
    &host::Set_VScroll_Schedule_Left,
    &host::Get_Picture_TimeSchedule_Frame_ScaleHeight,
    &host::Set_VScroll_Schedule_Height,
    &host::Set_VScroll_Schedule_Max,
    &host::Set_Picture_TimeSchedule_Left,
    &host::Set_Picture_TimeSchedule_Top,
    &host::Get_VScroll_Schedule_Left,
    &host::Set_Picture_TimeSchedule_Width,
    &host::Set_Picture_TimeSchedule_Height,
    &host::Get_ImageList_ImageHeight,
    &host::Get_ImageList_ImageWidth,
    &host::Draw_ImageList_ListImages,
    &host::Get_Check_TimeSchedule_ViewDayType,
    &host::Set_Text_Schedule_Time,
    &host::Set_Text_Schedule_Period_Start,
    &host::Set_Text_Schedule_Period_Stop,
    &host::Get_Text_Schedule_Period_Start,
    &host::Get_Text_Schedule_Period_Stop,
    &host::Set_Menu_TimeSchedulePopup_Grouped_MonFri_Checked,
    &host::Set_Menu_TimeSchedulePopup_Grouped_Checked,
    &host::Set_Menu_TimeSchedulePopup_Paste_Enabled,
    &host::Set_Menu_TimeSchedulePopup_Delete_Enabled,
    &host::Get_Menu_TimeSchedulePopup_Grouped_MonFri_Checked,
};

inline constexpr std::array kCalendarHostCallbacks = {
    &host::Set_Text_Calendar_Month,
    &host::Draw_ImageList_ListImages,
    &host::Get_Combo_Calendar_DayType_SelectedItem,
    &host::Get_Combo_Calendar_DayType_SelectedItem_Index,
    &host::Get_Combo_Calendar_DayType_ComboItems,
};

} // namespace velmar
