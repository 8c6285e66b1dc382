#include "editor/CalendarTab.h"

#include "calendar/CalendarGrid.h"
#include "common/Errors.h"
#include "editor/FailureText.h"
#include "editor/PictureBox.h"
#include "editor_host/FileLimits.h"
#include "editor_host/ICalendar.h"
#include "platform/FileReplace.h"
#include "platform/RegularFile.h"
#include "platform/qt/QtDateServices.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <array>

namespace velmar {

namespace {

constexpr int kFirstSpecialEntry = 9; // entries 9..24: codes 8..23, images 1..16

} // namespace

CalendarTab::CalendarTab(const std::string& path, EditorLanguage language, QWidget* parent)
    : ComponentTab(CalendarEditor::kMonthViewWidth, CalendarEditor::kMonthViewHeight, parent),
      m_Language(language) {
    m_Images = std::make_unique<QtHostImageList>(m_Surface, CalendarImages());
    m_Editor = std::make_unique<CalendarEditor>(m_Surface, *m_Images);
    m_Editor->Calendar().SetDateServices(std::make_shared<QtDateServices>());
    m_Editor->Host().Controls().DayTypeItems = DayTypeComboItems(language);
    if (!path.empty()) {
        const FileBytes bytes = OpenCalendar(path, m_Editor->Calendar());
        m_Editor->LoadCodes(m_Editor->Codes());
        m_File = EditedFile(path, bytes);
    }
    BuildWidgets();
    m_Editor->Host().OnChanged = [this](CalendarHostMember member) {
        if (member == CalendarHostMember::Text_Calendar_Month) {
            m_Month->setText(QString::fromStdString(m_Editor->Host().Controls().MonthText));
        }
    };
    const QDate today = QDate::currentDate();
    ShowMonth(std::clamp(today.year(), 2000, 2039), today.month());
}

void CalendarTab::BuildWidgets() {
    auto* layout = new QVBoxLayout(this);

    auto* navigation = new QHBoxLayout;
    struct Step {
        const char* Name;
        QString Text;
        QString Tip;
        int Months;
    };
    const std::array<Step, 4> steps{{
        {"previousYearButton", QStringLiteral("<<"), tr("Previous year (Shift+PageUp)"), -12},
        {"previousMonthButton", QStringLiteral("<"), tr("Previous month (PageUp)"), -1},
        {"nextMonthButton", QStringLiteral(">"), tr("Next month (PageDown)"), 1},
        {"nextYearButton", QStringLiteral(">>"), tr("Next year (Shift+PageDown)"), 12},
    }};
    m_Month = new QLabel(this);
    m_Month->setObjectName(QStringLiteral("monthLabel"));
    m_Month->setAlignment(Qt::AlignCenter);
    m_Month->setMinimumWidth(140);
    ZoomTexts(m_Month);
    std::vector<QWidget*> controls;
    for (const auto& step : steps) {
        auto* button = new QPushButton(step.Text, this);
        button->setObjectName(QString::fromLatin1(step.Name));
        button->setToolTip(step.Tip);
        button->setAccessibleName(step.Tip);
        const int months = step.Months;
        connect(button, &QPushButton::clicked, this, [this, months] { StepMonth(months); });
        navigation->addWidget(button);
        controls.push_back(button);
        if (months == -1) {
            navigation->addWidget(m_Month);
        }
    }
    navigation->addStretch(1);
    layout->addLayout(navigation);

    layout->addWidget(MakePicture("calendarPicture", "calendarScrollArea", tr("Calendar month"),
                                  tr("Arrow keys move between dates, Space paints the selected day type, "
                                     "PageUp and PageDown change the month")),
                      1);
    m_Scroll->setAccessibleName(tr("Calendar month scroll area"));

    auto* dayTypeRow = new QHBoxLayout;
    auto* dayTypeLabel = new QLabel(tr("&Day type:"), this);
    m_DayTypes = new QComboBox(this);
    m_DayTypes->setObjectName(QStringLiteral("dayTypeCombo"));
    dayTypeLabel->setBuddy(m_DayTypes);
    const auto& items = m_Editor->Host().Controls().DayTypeItems;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const int entry = static_cast<int>(i) + 1;
        QIcon icon;
        if (entry >= kFirstSpecialEntry) {
            const QImage& image = m_Images->Images().at(static_cast<std::size_t>(entry - kFirstSpecialEntry));
            icon = QIcon(QPixmap::fromImage(image.scaled(16, 16)));
        }
        m_DayTypes->addItem(icon, QString::fromStdString(items[i]));
    }
    m_DayTypes->setCurrentIndex(-1);
    connect(m_DayTypes, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_Editor->Select(static_cast<std::int16_t>(index + 1)); });
    dayTypeRow->addWidget(dayTypeLabel);
    dayTypeRow->addWidget(m_DayTypes, 1);
    layout->addLayout(dayTypeRow);

    auto* axisRow = new QHBoxLayout;
    m_TimeAxis = new QCheckBox(tr("&Time axis"), this);
    m_TimeAxis->setObjectName(QStringLiteral("timeAxisCheck"));
    connect(m_TimeAxis, &QCheckBox::toggled, this, [this](bool on) {
        m_Editor->Calendar().m_ShowTimeAxis = on ? -1 : 0;
        Repaint();
    });
    auto* profileButton = new QPushButton(tr("&Profile..."), this);
    profileButton->setObjectName(QStringLiteral("timeAxisProfileButton"));
    connect(profileButton, &QPushButton::clicked, this, [this] {
        const std::string path = ChooseFile ? ChooseFile("profile") : std::string();
        if (path.empty()) {
            return;
        }
        try {
            ShowScheduleOf(path);
        } catch (const std::exception& error) {
            if (ShowError) {
                ShowError(FailureText(error, "show the profile", path));
            }
        }
    });
    m_ScheduleLabel = new QLabel(tr("no profile"), this);
    m_ScheduleLabel->setObjectName(QStringLiteral("timeAxisProfileLabel"));
    axisRow->addWidget(m_TimeAxis);
    axisRow->addWidget(profileButton);
    axisRow->addWidget(m_ScheduleLabel, 1);
    layout->addLayout(axisRow);

    auto* holidayRow = new QHBoxLayout;
    auto* holidayButton = new QPushButton(tr("&Holidays..."), this);
    holidayButton->setObjectName(QStringLiteral("holidaysButton"));
    connect(holidayButton, &QPushButton::clicked, this, [this] {
        const std::string path = ChooseFile ? ChooseFile("holidays") : std::string();
        if (path.empty()) {
            return;
        }
        try {
            LoadHolidays(path);
        } catch (const std::exception& error) {
            if (ShowError) {
                ShowError(FailureText(error, "read the holidays of", path));
            }
        }
    });
    m_HolidaysLabel = new QLabel(tr("no holidays"), this);
    m_HolidaysLabel->setObjectName(QStringLiteral("holidaysLabel"));
    holidayRow->addWidget(holidayButton);
    holidayRow->addWidget(m_HolidaysLabel, 1);
    layout->addLayout(holidayRow);
    controls.insert(controls.end(),
                    {m_Scroll, m_Picture, m_DayTypes, m_TimeAxis, profileButton, holidayButton});
    SetTabOrder(controls);
}

void CalendarTab::DrawCursor(QPainter& painter) {
    const std::int32_t day = m_Editor->CursorDay();
    if (day < 0) {
        return;
    }
    const std::int32_t cell = day + m_Editor->Calendar().m_FirstWeekDayInActualMonth;
    QPen pen(palette().color(QPalette::Highlight), 2);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(month::BoxLeft(cell % month::kColumns) + month::kBoxInset,
                     month::BoxTop(cell / month::kColumns) + month::kBoxInset, month::kBoxInnerWidth,
                     month::kBoxInnerHeight);
}

void CalendarTab::Redraw() {
    Repaint();
}

void CalendarTab::Repaint() {
    m_Surface.Clear();
    m_Editor->Paint();
    m_Picture->update();
}

void CalendarTab::ShowMonth(int year, int month) {
    m_Editor->ShowMonth(year, month);
    m_Picture->update();
    DescribeCursor();
}

void CalendarTab::StepMonth(int months) {
    m_Editor->StepMonth(months);
    m_Picture->update();
    DescribeCursor();
}

void CalendarTab::ShowScheduleOf(const std::string& profilePath) {
    if (profilePath.empty()) {
        m_Editor->Calendar().m_AssociatedTimeSchedule = nullptr;
        m_ScheduleLabel->setText(tr("no profile"));
    } else {
        const ProfileFileContents profile = ReadProfileFile(profilePath);
        m_Editor->Calendar().m_AssociatedTimeSchedule = profile.Schedule;
        m_ScheduleLabel->setText(
            QString::fromStdString(profile.Record.Name + " (" + FileNameOf(profilePath) + ")"));
        m_TimeAxis->setChecked(true);
    }
    Repaint();
}

void CalendarTab::LoadHolidays(const std::string& icsPath) {
    const FileBytes bytes = ReadRegularFile(icsPath, kICalendarFileKind);
    const HolidayImport holidays =
        ReadHolidays(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    ShowHolidays(holidays);
    QString summary = tr("%n holiday date(s) from %1", nullptr, holidays.Dates)
                          .arg(QString::fromStdString(FileNameOf(icsPath)));
    if (holidays.LaterEvents > 0) {
        summary += tr("; %n later event(s) with dates already labelled", nullptr, holidays.LaterEvents);
    }
    const std::int32_t skipped = holidays.TimedEvents + holidays.CancelledEvents + holidays.UndatedEvents;
    if (skipped > 0) {
        summary += tr("; %n timed, cancelled or undated event(s) skipped", nullptr, skipped);
    }
    m_HolidaysLabel->setText(summary);
    Repaint();
}

void CalendarTab::PaintAtCursor() {
    if (m_Editor->CursorDay() < 0) {
        m_Editor->Key(EditorKey::Right);
    }
    m_Editor->Key(EditorKey::Space);
    AfterEdit();
}

bool CalendarTab::HandleKey(QKeyEvent* event) {
    const bool shift = (event->modifiers() & Qt::ShiftModifier) != 0;
    switch (event->key()) {
    case Qt::Key_Left:
        m_Editor->Key(EditorKey::Left);
        break;
    case Qt::Key_Right:
        m_Editor->Key(EditorKey::Right);
        break;
    case Qt::Key_Up:
        m_Editor->Key(EditorKey::Up);
        break;
    case Qt::Key_Down:
        m_Editor->Key(EditorKey::Down);
        break;
    case Qt::Key_Space:
        m_Editor->Key(EditorKey::Space);
        break;
    case Qt::Key_PageUp:
        StepMonth(shift ? -12 : -1);
        break;
    case Qt::Key_PageDown:
        StepMonth(shift ? 12 : 1);
        break;
    default:
        return false;
    }
    AfterEdit();
    return true;
}

std::string CalendarTab::DisplayName() const {
    return m_File.HasPath() ? FileNameOf(m_File.Path()) : tr("Untitled calendar").toStdString();
}

ReplaceResult CalendarTab::Save(const std::string& path, bool overDiskChanges,
                                const ReplaceOptions& options) {
    // The tail of a longer file stays: the file's as opened, or as it is now
    // when the user saves over changes on disk or over another file.
    FileBytes previous;
    if (path == m_File.Path() && !overDiskChanges) {
        previous = m_File.Bytes();
    } else if (QFileInfo::exists(QString::fromStdString(path))) {
        previous = ReadRegularFile(path, kCalendarFileKind);
    }
    ReplaceResult result = m_File.Save(path, CalendarWithCodes(m_Editor->Calendar(), previous), options);
    m_Editor->History().MarkSaved();
    Changed();
    return result;
}

void CalendarTab::Revert() {
    if (!m_File.HasPath()) {
        m_Editor->LoadCodes(std::string(static_cast<std::size_t>(kCalendarFileBytes), '\0'));
    } else {
        cCalendar read;
        const FileBytes bytes = OpenCalendar(m_File.Path(), read);
        m_Editor->LoadCodes(std::string(bytes.begin(), bytes.begin() + kCalendarFileBytes));
        m_File = EditedFile(m_File.Path(), bytes);
    }
    Repaint();
    Changed();
}

std::string CalendarTab::ExportICalendar(const ICalendarExport& options) const {
    const auto& names = TextsIn(m_Language).Long;
    return CalendarToICalendar(m_Editor->Calendar(), std::vector<std::string>(names.begin(), names.end()),
                               options);
}

} // namespace velmar
