#include "editor_host/ScheduleHost.h"

#include "common/Errors.h"
#include "common/Numeric.h"
#include "editor_host/HostImageList.h"

namespace velmar {

namespace {

// "Set_VScroll_Schedule_Max" sets the member "VScroll_Schedule_Max".
std::string_view MemberOf(const HostCallback& callback) {
    return callback.Name.substr(callback.Name.find('_') + 1);
}

bool IsSet(const HostCallback& callback) {
    return callback.Name.starts_with("Set_");
}

const HostValue& OnlyArgument(const HostCallback& callback, HostWindow::Arguments args) {
    if (args.empty()) {
        throw InvalidArgumentError(std::string(callback.Name) + " needs a value");
    }
    return args[0];
}

std::string TruthText(bool value) {
    return std::to_string(ToTruth(value));
}

} // namespace

ScheduleHost::ScheduleHost(const IDrawingSurface& picture, IHostImageList& images) {
    using C = ScheduleHostControls;
    AnswerNumber(host::Set_VScroll_Schedule_Top, &C::VScrollTop);
    AnswerNumber(host::Get_Picture_TimeSchedule_Frame_ScaleWidth, &C::FrameScaleWidth);
    AnswerNumber(host::Get_VScroll_Schedule_Width, &C::VScrollWidth);
    AnswerNumber(host::Set_VScroll_Schedule_Left, &C::VScrollLeft);
    AnswerNumber(host::Get_Picture_TimeSchedule_Frame_ScaleHeight, &C::FrameScaleHeight);
    AnswerNumber(host::Set_VScroll_Schedule_Height, &C::VScrollHeight);
    AnswerNumber(host::Set_VScroll_Schedule_Max, &C::VScrollMax);
    AnswerNumber(host::Set_Picture_TimeSchedule_Left, &C::PictureLeft);
    AnswerNumber(host::Set_Picture_TimeSchedule_Top, &C::PictureTop);
    AnswerNumber(host::Get_VScroll_Schedule_Left, &C::VScrollLeft);
    AnswerNumber(host::Set_Picture_TimeSchedule_Width, &C::PictureWidth);
    AnswerNumber(host::Set_Picture_TimeSchedule_Height, &C::PictureHeight);
    AnswerText(host::Set_Text_Schedule_Time, &C::TimeText);
    AnswerText(host::Set_Text_Schedule_Period_Start, &C::PeriodStartText);
    AnswerText(host::Set_Text_Schedule_Period_Stop, &C::PeriodStopText);
    AnswerText(host::Get_Text_Schedule_Period_Start, &C::PeriodStartText);
    AnswerText(host::Get_Text_Schedule_Period_Stop, &C::PeriodStopText);
    AnswerTruth(host::Set_Menu_TimeSchedulePopup_Grouped_MonFri_Checked, &C::GroupedMonFriChecked);
    AnswerTruth(host::Set_Menu_TimeSchedulePopup_Grouped_Checked, &C::GroupedChecked);
    AnswerTruth(host::Set_Menu_TimeSchedulePopup_Paste_Enabled, &C::PasteEnabled);
    AnswerTruth(host::Set_Menu_TimeSchedulePopup_Delete_Enabled, &C::DeleteEnabled);
    AnswerTruth(host::Get_Menu_TimeSchedulePopup_Grouped_MonFri_Checked, &C::GroupedMonFriChecked);
    AnswerTruth(host::Get_Check_TimeSchedule_ViewDayType, &C::ViewDayTypeChecked);
    Answer(std::string(host::Get_ImageList_ImageHeight.Name),
           [&images](Arguments) { return HostValue(std::int32_t{images.ImageHeight()}); });
    Answer(std::string(host::Get_ImageList_ImageWidth.Name),
           [&images](Arguments) { return HostValue(std::int32_t{images.ImageWidth()}); });
    AnswerImageList(*this, picture, images);
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

void ScheduleHost::AnswerNumber(const HostCallback& callback, std::int32_t ScheduleHostControls::*member) {
    if (IsSet(callback)) {
        Answer(std::string(callback.Name), [this, &callback, member](Arguments args) {
            // Numbers as the grid passes them; a real control holds whole pixels.
            m_Controls.*member = HostInt32(OnlyArgument(callback, args));
            Changed(MemberOf(callback));
            return HostValue();
        });
    } else {
        Answer(std::string(callback.Name),
               [this, member](Arguments) { return HostValue(m_Controls.*member); });
    }
}

void ScheduleHost::AnswerText(const HostCallback& callback, std::string ScheduleHostControls::*member) {
    if (IsSet(callback)) {
        Answer(std::string(callback.Name), [this, &callback, member](Arguments args) {
            m_Controls.*member = HostText(OnlyArgument(callback, args));
            Changed(MemberOf(callback));
            return HostValue();
        });
    } else {
        Answer(std::string(callback.Name),
               [this, member](Arguments) { return HostValue(m_Controls.*member); });
    }
}

void ScheduleHost::AnswerTruth(const HostCallback& callback, bool ScheduleHostControls::*member) {
    if (IsSet(callback)) {
        Answer(std::string(callback.Name), [this, &callback, member](Arguments args) {
            // A reference argument is read at the call; the host keeps the value.
            m_Controls.*member = HostTruth(OnlyArgument(callback, args));
            Changed(MemberOf(callback));
            return HostValue();
        });
    } else {
        Answer(std::string(callback.Name),
               [this, member](Arguments) { return HostValue(ToTruth(m_Controls.*member)); });
    }
}

void ScheduleHost::Changed(std::string_view member) const {
    if (OnChanged) {
        OnChanged(member);
    }
}

} // namespace velmar
