// The built-in hosts of the schedule grid and the calendar month view: they
// answer every operation of their component from controls a window can bind
// to its widgets.

#include "common/Errors.h"
#include "editor_host/CalendarHost.h"
#include "editor_host/ScheduleHost.h"
#include "tests/editor_host/FakeImageList.h"
#include "tests/support/RecordingSurface.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace velmar::test {
namespace {

TEST(ScheduleHost, SetNamesFillTheControlsAndSayWhichChanged) {
    RecordingSurface picture(10, 10);
    FakeImageList images;
    ScheduleHost host(picture, images);
    std::vector<std::string> changed;
    host.OnChanged = [&](ScheduleHostMember member) { changed.emplace_back(MemberName(member)); };
    std::int32_t monFri = -1;
    std::int16_t grouped = 1; // any non-zero flag checks the item
    host.Set_VScroll_Schedule_Max(std::int16_t{-16});
    host.Set_Picture_TimeSchedule_Width(2.5); // a number as a host returned it
    host.Set_Text_Schedule_Period_Start(std::string("07:30"));
    host.Set_Menu_TimeSchedulePopup_Grouped_MonFri_Checked(monFri);
    monFri = 0; // NOLINT(clang-analyzer-deadcode.DeadStores): the host keeps the value it was given
    host.Set_Menu_TimeSchedulePopup_Grouped_Checked(grouped);
    host.Set_Menu_TimeSchedulePopup_Paste_Enabled(std::int16_t{0});

    const ScheduleHostControls& c = host.Controls();
    EXPECT_EQ(c.VScrollMax, -16);
    EXPECT_EQ(c.PictureWidth, 2); // halves to even
    EXPECT_EQ(c.PeriodStartText, "07:30");
    EXPECT_TRUE(c.GroupedMonFriChecked);
    EXPECT_TRUE(c.GroupedChecked);
    EXPECT_FALSE(c.PasteEnabled);
    EXPECT_EQ(changed, (std::vector<std::string>{"VScroll_Schedule_Max", "Picture_TimeSchedule_Width",
                                                 "Text_Schedule_Period_Start",
                                                 "Menu_TimeSchedulePopup_Grouped_MonFri_Checked",
                                                 "Menu_TimeSchedulePopup_Grouped_Checked",
                                                 "Menu_TimeSchedulePopup_Paste_Enabled"}));
    const auto named = host.NamedValues();
    EXPECT_EQ(named.at(1), (std::pair<std::string, std::string>{"Text_Schedule_Period_Start", "07:30"}));
    EXPECT_EQ(named.at(3).second, "-1");
}

TEST(ScheduleHost, GetNamesAnswerWhatTheUserSetInTheControls) {
    RecordingSurface picture(10, 10);
    FakeImageList images;
    ScheduleHost host(picture, images);
    host.Controls().FrameScaleWidth = 500;
    host.Controls().PeriodStopText = "17:00";
    host.Controls().ViewDayTypeChecked = true;
    EXPECT_EQ(HostInt32(host.Get_Picture_TimeSchedule_Frame_ScaleWidth()), 500);
    EXPECT_EQ(HostText(host.Get_Text_Schedule_Period_Stop()), "17:00");
    EXPECT_EQ(HostInt16(host.Get_Check_TimeSchedule_ViewDayType()), -1);
    EXPECT_EQ(HostInt16(host.Get_Menu_TimeSchedulePopup_Grouped_MonFri_Checked()), 0);
    EXPECT_EQ(HostInt32(host.Get_ImageList_ImageWidth()), FakeImageList::kSize);
    // The scroll bar's default place: the frame's right edge less its width.
    EXPECT_EQ(HostInt32(host.Get_VScroll_Schedule_Left()), 324);
}

TEST(HostImageLists, DrawOnlyTheirImagesOnlyOnTheirPictureBox) {
    RecordingSurface picture(10, 10);
    FakeImageList images;
    ScheduleHost schedule(picture, images);
    CalendarHost calendar(picture, images);
    std::int32_t y = 7;
    const std::int32_t dc = picture.hDC();
    schedule.Draw_ImageList_ListImages(std::int32_t{2}, dc, std::int32_t{12}, y);
    calendar.Draw_ImageList_ListImages(std::int16_t{16}, dc, 60.5, std::int32_t{72}, std::int32_t{1});
    EXPECT_EQ(images.Drawn, (std::vector<std::string>{"2 at 12,7", "16 at 60,72"}));
    EXPECT_THROW(schedule.Draw_ImageList_ListImages(std::int32_t{17}, dc, std::int32_t{0}, y), HostCallError);
    EXPECT_THROW(schedule.Draw_ImageList_ListImages(std::int32_t{0}, dc, std::int32_t{0}, y), HostCallError);
    EXPECT_THROW(
        calendar.Draw_ImageList_ListImages(std::int16_t{1}, dc + 1, 0.0, std::int32_t{0}, std::int32_t{1}),
        HostCallError);
    EXPECT_EQ(images.Drawn.size(), 2U);
}

TEST(CalendarHost, TheComboBoxAnswersItsEntriesAndTheSelection) {
    RecordingSurface picture(10, 10);
    FakeImageList images;
    CalendarHost host(picture, images);
    EXPECT_TRUE(HostIsNothing(host.Get_Combo_Calendar_DayType_SelectedItem()));
    EXPECT_EQ(HostInt16(host.Get_Combo_Calendar_DayType_SelectedItem_Index()), 0);
    // Entry k stands for code k - 1; the default entries are the codes.
    EXPECT_EQ(HostText(host.Get_Combo_Calendar_DayType_ComboItems(std::int16_t{1})), "0");
    EXPECT_EQ(HostText(host.Get_Combo_Calendar_DayType_ComboItems(std::int16_t{24})), "23");
    EXPECT_THROW(host.Get_Combo_Calendar_DayType_ComboItems(std::int16_t{25}), HostCallError);

    host.Controls().DayTypeItems.at(4) = "Holiday";
    host.Controls().DayTypeSelected = 5;
    EXPECT_EQ(HostText(host.Get_Combo_Calendar_DayType_SelectedItem()), "Holiday");
    EXPECT_EQ(HostInt16(host.Get_Combo_Calendar_DayType_SelectedItem_Index()), 5);

    std::string caption;
    host.OnChanged = [&](CalendarHostMember member) {
        caption = std::string(MemberName(member)) + ": " + host.Controls().MonthText;
    };
    host.Set_Text_Calendar_Month(std::string("oktober 2000"));
    EXPECT_EQ(caption, "Text_Calendar_Month: oktober 2000");
}

} // namespace
} // namespace velmar::test
