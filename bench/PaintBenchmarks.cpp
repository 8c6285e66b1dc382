// The editor components drawn on the Qt image surface, against their budgets:
// the 23-row schedule grid laid out and painted, one row repainted during a
// drag, and the calendar month with its time axis.

#include "bench/BenchSupport.h"
#include "calendar/Calendar.h"
#include "calendar/ICalendarHost.h"
#include "common/Numeric.h"
#include "common/SharedTables.h"
#include "platform/qt/QtImageSurface.h"
#include "schedule/PeriodArray.h"
#include "schedule/TimeSchedule.h"
#include "schedule_view/IScheduleHost.h"
#include "schedule_view/TimeScheduleView.h"

#include <QGuiApplication>
#include <QImage>
#include <array>
#include <map>
#include <memory>
#include <string>

namespace velmar::bench {
namespace {

constexpr int kRows = 23;
constexpr int kPeriodsPerRow = 10;
constexpr int kImageSize = 14;

// Text needs a GUI application; the offscreen platform serves without a display.
void EnsureGuiApplication() {
    if (QGuiApplication::instance() == nullptr) {
        static int argc = 1;
        static std::string name = "velmar-bench";
        static std::array<char*, 2> argv = {name.data(), nullptr};
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        // Never destroyed: at exit it would outlive the font cache that its
        // destructor clears of the surface's own faces, and crash.
        static auto* application = new QGuiApplication(argc, argv.data());
        static_cast<void>(application);
    }
}

// A host window with a fixed frame and an image list of 16 small images. It
// stores nothing: what the components hand over is dropped.
class BenchHost : public IScheduleHost, public ICalendarHost {
public:
    explicit BenchHost(QtImageSurface& surface) : m_Surface(surface) {
        for (int n = 0; n < 16; ++n) {
            QImage image(kImageSize, kImageSize, QImage::Format_RGB32);
            image.fill(qRgb(40 + 12 * n, 90, 200 - 8 * n));
            m_Images[static_cast<std::size_t>(n)] = image;
        }
    }

    void Set_VScroll_Schedule_Top(std::int16_t /*Top*/) override {}
    HostValue Get_Picture_TimeSchedule_Frame_ScaleWidth() override { return std::int16_t{340}; }
    HostValue Get_VScroll_Schedule_Width() override { return std::int16_t{16}; }
    void Set_VScroll_Schedule_Left(const HostValue& /*Left*/) override {}
    HostValue Get_Picture_TimeSchedule_Frame_ScaleHeight() override { return std::int16_t{600}; }
    void Set_VScroll_Schedule_Height(const HostValue& /*Height*/) override {}
    void Set_VScroll_Schedule_Max(std::int16_t /*Max*/) override {}
    void Set_Picture_TimeSchedule_Left(std::int16_t /*Left*/) override {}
    void Set_Picture_TimeSchedule_Top(std::int16_t /*Top*/) override {}
    HostValue Get_VScroll_Schedule_Left() override { return std::int16_t{324}; }
    void Set_Picture_TimeSchedule_Width(const HostValue& /*Width*/) override {}
    void Set_Picture_TimeSchedule_Height(std::int32_t /*Height*/) override {}
    HostValue Get_ImageList_ImageHeight() override { return std::int16_t{kImageSize}; }
    HostValue Get_ImageList_ImageWidth() override { return std::int16_t{kImageSize}; }
    void Draw_ImageList_ListImages(std::int32_t Index, std::int32_t /*hDC*/, const HostValue& X,
                                   std::int32_t& Y) override {
        Draw(Index, HostInt32(X), Y);
    }
    HostValue Get_Check_TimeSchedule_ViewDayType() override { return std::int16_t{0}; }
    void Set_Text_Schedule_Time(const std::string& /*Text*/) override {}
    void Set_Text_Schedule_Period_Start(const std::string& /*Text*/) override {}
    void Set_Text_Schedule_Period_Stop(const std::string& /*Text*/) override {}
    HostValue Get_Text_Schedule_Period_Start() override { return {}; }
    HostValue Get_Text_Schedule_Period_Stop() override { return {}; }
    void Set_Menu_TimeSchedulePopup_Grouped_MonFri_Checked(std::int32_t& /*Checked*/) override {}
    void Set_Menu_TimeSchedulePopup_Grouped_Checked(std::int16_t& /*Checked*/) override {}
    void Set_Menu_TimeSchedulePopup_Paste_Enabled(std::int16_t /*Enabled*/) override {}
    void Set_Menu_TimeSchedulePopup_Delete_Enabled(std::int16_t /*Enabled*/) override {}
    HostValue Get_Menu_TimeSchedulePopup_Grouped_MonFri_Checked() override { return std::int16_t{0}; }

    void Set_Text_Calendar_Month(const std::string& /*Text*/) override {}
    void Draw_ImageList_ListImages(std::int16_t Index, std::int32_t /*hDC*/, double X, std::int32_t Y,
                                   std::int32_t /*Style*/) override {
        Draw(Index, RoundToInt32(X), Y);
    }
    HostValue Get_Combo_Calendar_DayType_SelectedItem() override { return {}; }
    HostValue Get_Combo_Calendar_DayType_SelectedItem_Index() override { return {}; }
    HostValue Get_Combo_Calendar_DayType_ComboItems(std::int16_t /*Entry*/) override { return {}; }

private:
    void Draw(std::int32_t index, std::int32_t x, std::int32_t y) {
        m_Surface.DrawImage(m_Images.at(static_cast<std::size_t>(index - 1)), x, y);
    }

    QtImageSurface& m_Surface;
    std::array<QImage, 16> m_Images;
};

// Every day type in use with ten periods, one row each (the calendar's layout).
void FillSchedule(cTimeSchedule& schedule) {
    std::string text;
    for (int d = 0; d < kDayTypeCount; ++d) {
        text += IntegerToChars(-1); // in use
        text += IntegerToChars(0);  // not grouped
        text += IntegerToChars(kPeriodsPerRow);
        for (int i = 0; i < kPeriodsPerRow; ++i) {
            text += IntegerToChars(static_cast<std::int16_t>(i * 140 + d));
            text += IntegerToChars(static_cast<std::int16_t>(i * 140 + d + 90));
        }
        text += IntegerToChars(0);
    }
    text += IntegerToChars(-1); // one row per day type in use
    schedule.ExtractPeriodArray(text);
}

void SetDayTypeNames() {
    const auto names = std::to_array<const char*>({"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"});
    for (int d = 0; d < 7; ++d) {
        DayTypeNames[d] = names[static_cast<std::size_t>(d)];
    }
}

// The application and the day-type names, ready before any surface exists.
struct PaintSetting {
    PaintSetting() {
        EnsureGuiApplication();
        SetDayTypeNames();
    }
};

// The grid of kRows filled rows on an image surface, with the host around it.
struct Grid : PaintSetting {
    Grid() : surface(324, kRows * 25 + 4), host(surface), view(schedule) { FillSchedule(schedule); }
    void LayoutAndPaint() {
        view.RecalculateAndPrepareToPaint(host, surfaceVariable, &surface);
        view.Paint(host, surfaceVariable);
    }

    QtImageSurface surface;
    BenchHost host;
    cTimeSchedule schedule;
    TimeScheduleView view;
    IDrawingSurface* surfaceVariable = nullptr;
};

void GridLayoutAndPaint(benchmark::State& state) {
    Grid grid;
    for (auto _ : state) {
        grid.LayoutAndPaint();
    }
    SetBudget(state, 0.5);
}

// A drag of the first period's stop edge back and forth by one minute: every
// move repaints the row, as the editor does while the user drags.
void RowRepaintDuringDrag(benchmark::State& state) {
    Grid grid;
    grid.LayoutAndPaint();
    const float y = 10;
    const float stopEdge = 30.0F + 90.0F / 5.0F; // the first period of day type 0 stops at 01:30
    grid.view.MouseDown(grid.host, grid.surfaceVariable, 1, 0, stopEdge, y);
    if (grid.schedule.DragMode() == 0) {
        state.SkipWithError("the press did not start a drag");
        return;
    }
    bool right = false;
    for (auto _ : state) {
        right = !right;
        grid.view.MouseMove(grid.host, grid.surfaceVariable, 1, 0, stopEdge + (right ? 1.0F : 0.0F), y);
    }
    grid.view.MouseUp(grid.host, grid.surfaceVariable, 1, 0, stopEdge, y);
    SetBudget(state, 0.05);
}

// December 2026 with a time axis: 31 date boxes, each walking its day type's periods.
void CalendarMonthWithTimeAxis(benchmark::State& state) {
    EnsureGuiApplication();
    SetDayTypeNames();
    QtImageSurface surface(320, 175);
    BenchHost host(surface);
    auto schedule = std::make_shared<cTimeSchedule>();
    FillSchedule(*schedule);
    cCalendar calendar;
    calendar.m_SelectedMonth = 12;
    calendar.m_SelectedYear = 2026;
    calendar.m_ShowTimeAxis = -1;
    calendar.m_AssociatedTimeSchedule = schedule;
    calendar.RecalculateAndPrepareToPaint(host, &surface);
    // A few dates with a named day type and a few with an image.
    for (int d = 0; d < 31; d += 5) {
        calendar.SetDayType(calendar.m_ActualMonthOffset + d, static_cast<std::int16_t>(d % 2 == 0 ? 6 : 9));
    }
    for (auto _ : state) {
        calendar.RecalculateAndPrepareToPaint(host, &surface);
        calendar.Paint(host, &surface);
    }
    SetBudget(state, 0.5);
}

BENCHMARK(GridLayoutAndPaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(RowRepaintDuringDrag)->Unit(benchmark::kMicrosecond);
BENCHMARK(CalendarMonthWithTimeAxis)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace velmar::bench
