#include "editor/ScheduleTab.h"

#include "common/Errors.h"
#include "common/Numeric.h"
#include "editor/PictureBox.h"
#include "editor_host/ICalendar.h"
#include "schedule_view/ScheduleGrid.h"

#include <QCheckBox>
#include <QEvent>
#include <QFontMetrics>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <array>
#include <cmath>

namespace velmar {

namespace {

constexpr int kHourLabelStep = 3; // labels 00, 03, .. 24
constexpr int kTickHeight = 3;

// The hours above the grid, each label centred on its hour line, at the
// grid's zoom and scrolled with it, in a font that the tab sizes for the zoom.
// The grid itself carries no hour texts; the host draws them.
class HourRuler : public QWidget {
public:
    explicit HourRuler(QWidget* parent) : QWidget(parent) { FitHeight(); }
    int Offset = 0;   // x of the picture box's left edge in this widget, unscrolled
    int Scrolled = 0; // how far the grid is scrolled to the left
    int Zoom = 1;

protected:
    void changeEvent(QEvent* event) override {
        if (event->type() == QEvent::FontChange) {
            FitHeight();
        }
        QWidget::changeEvent(event);
    }

    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        const QFontMetrics metrics(font());
        for (int hour = 0; hour <= grid::kHours; hour += kHourLabelStep) {
            const int x =
                Offset - Scrolled + Zoom * (grid::kGridLeft + grid::kGridWidth / grid::kHours * hour);
            const QString text = QStringLiteral("%1").arg(hour, 2, 10, QLatin1Char('0'));
            painter.drawText(x - metrics.horizontalAdvance(text) / 2, metrics.ascent(), text);
            painter.drawLine(x, height() - kTickHeight, x, height() - 1);
        }
    }

private:
    // A line of text above the ticks.
    void FitHeight() { setFixedHeight(QFontMetrics(font()).height() + kTickHeight); }
};

QAction* AddAction(QMenu* menu, const char* objectName, const QString& text, bool checkable = false) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(objectName));
    action->setCheckable(checkable);
    return action;
}

} // namespace

std::string FileNameOf(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

ScheduleTab::ScheduleTab(const std::string& path, QWidget* parent)
    : ComponentTab(1, 1, parent), m_Opened(OpenProfile(path)), m_File(path, m_Opened.Bytes) {
    m_Images = std::make_unique<QtHostImageList>(m_Surface, ScheduleImages());
    m_Editor = std::make_unique<ScheduleEditor>(m_Opened.Contents.Schedule, m_Surface, *m_Images);
    BuildWidgets();
    m_Editor->Host().OnChanged = [this](ScheduleHostMember member) { OnHostChanged(member); };
    ShowProfile();
    Relayout();
    DescribeCursor();
}

ScheduleTab::~ScheduleTab() {
    m_Editor->Host().OnChanged = nullptr;
}

void ScheduleTab::BuildWidgets() {
    auto* layout = new QVBoxLayout(this);

    auto* profile = new QFormLayout;
    m_Name = new QLineEdit(this);
    m_Name->setObjectName(QStringLiteral("profileNameEdit"));
    m_Name->setReadOnly(true);
    m_Active = new QCheckBox(tr("Active now (set by the alarm server)"), this);
    m_Active->setObjectName(QStringLiteral("profileActiveCheck"));
    m_Active->setEnabled(false);
    profile->addRow(tr("Profile:"), m_Name);
    profile->addRow(QString(), m_Active);
    layout->addLayout(profile);

    auto* ruler = new HourRuler(this);
    ruler->setObjectName(QStringLiteral("hourRuler"));
    m_Ruler = ruler;
    layout->addWidget(m_Ruler);

    layout->addWidget(
        MakePicture(
            "schedulePicture", "scheduleScrollArea", tr("Schedule grid"),
            tr("Up and Down choose a day, Left and Right a period edge, Shift with Left or Right moves "
               "the edge by five minutes, Insert adds 08:00-17:00, Delete removes the period, the Menu "
               "key opens the menu")),
        1);
    m_Scroll->setAccessibleName(tr("Schedule grid scroll area"));
    ruler->Offset = m_Scroll->frameWidth();
    connect(m_Scroll->horizontalScrollBar(), &QScrollBar::valueChanged, this, [ruler](int value) {
        ruler->Scrolled = value;
        ruler->update();
    });

    auto* times = new QHBoxLayout;
    m_TimeUnderPointer = new QLabel(this);
    m_TimeUnderPointer->setObjectName(QStringLiteral("timeUnderPointerLabel"));
    ZoomTexts(m_Ruler);
    ZoomTexts(m_TimeUnderPointer);
    FitTimeUnderPointer();
    m_Start = new QLineEdit(this);
    m_Start->setObjectName(QStringLiteral("periodStartEdit"));
    m_Stop = new QLineEdit(this);
    m_Stop->setObjectName(QStringLiteral("periodStopEdit"));
    for (QLineEdit* box : {m_Start, m_Stop}) {
        box->setMaximumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("000:000000")));
        connect(box, &QLineEdit::returnPressed, this, [this] { ApplyTimes(); });
    }
    m_Apply = new QPushButton(tr("&Apply"), this);
    m_Apply->setObjectName(QStringLiteral("applyTimesButton"));
    connect(m_Apply, &QPushButton::clicked, this, [this] { ApplyTimes(); });
    auto* startLabel = new QLabel(tr("S&tart:"), this);
    startLabel->setBuddy(m_Start);
    auto* stopLabel = new QLabel(tr("St&op:"), this);
    stopLabel->setBuddy(m_Stop);
    times->addWidget(new QLabel(tr("Pointer:"), this));
    times->addWidget(m_TimeUnderPointer);
    times->addSpacing(12);
    times->addWidget(startLabel);
    times->addWidget(m_Start);
    times->addWidget(stopLabel);
    times->addWidget(m_Stop);
    times->addWidget(m_Apply);
    times->addStretch(1);
    m_ViewDayTypes = new QCheckBox(tr("Day-type &names"), this);
    m_ViewDayTypes->setObjectName(QStringLiteral("viewDayTypeCheck"));
    connect(m_ViewDayTypes, &QCheckBox::toggled, this, [this](bool on) {
        m_Editor->Host().Controls().ViewDayTypeChecked = on;
        m_Editor->Paint();
        m_Picture->update();
    });
    times->addWidget(m_ViewDayTypes);
    layout->addLayout(times);
    SetTabOrder({m_Name, m_Active, m_Scroll, m_Picture, m_Start, m_Stop, m_Apply, m_ViewDayTypes});

    m_Popup = new QMenu(this);
    m_Popup->setObjectName(QStringLiteral("schedulePopupMenu"));
    struct Item {
        const char* Name;
        QString Text;
        ScheduleCommand Command;
        bool Checkable;
    };
    const std::array<Item, 7> items{{
        {"popupDelete", tr("&Delete"), ScheduleCommand::Delete, false},
        {"popupFill", tr("&Fill 00:00-24:00"), ScheduleCommand::FillWholeDay, false},
        {"popupCopy", tr("&Copy"), ScheduleCommand::Copy, false},
        {"popupPaste", tr("&Paste"), ScheduleCommand::Paste, false},
        {"popupGroup", tr("&Group"), ScheduleCommand::Group, true},
        {"popupGroupMonFri", tr("Group &Monday-Friday"), ScheduleCommand::GroupMonFri, true},
        {"popupDefault", tr("D&efault"), ScheduleCommand::Default, false},
    }};
    for (const auto& item : items) {
        QAction* action = AddAction(m_Popup, item.Name, item.Text, item.Checkable);
        const ScheduleCommand command = item.Command;
        connect(action, &QAction::triggered, this, [this, command] { RunWithoutPress(command); });
    }
}

void ScheduleTab::AfterPress(int button, float x, float y) {
    if (button == 2) {
        PreparePopup();
        m_Popup->popup(m_Picture->mapToGlobal(m_Picture->WidgetPoint(x, y)));
    }
}

void ScheduleTab::DrawCursor(QPainter& painter) {
    const std::int32_t dayType = m_Editor->CursorDayType();
    if (dayType < 0) {
        return;
    }
    const int row = m_Editor->Schedule().GetAxisIndex(static_cast<std::int16_t>(dayType));
    QPen pen(palette().color(QPalette::Highlight));
    pen.setStyle(Qt::DashLine);
    painter.setPen(pen);
    painter.drawRect(1, grid::BandTop(row) - 2, grid::kGridRight + 1, grid::kBandLines + 3);
    if (const auto edge = m_Editor->CursorEdge()) {
        const auto& [period, stop] = *edge;
        const double minute = stop ? period->m_StopMinute + 1 : period->m_StartMinute;
        const int x = grid::kGridLeft + static_cast<int>(RoundHalfEven(minute / grid::kMinutesPerPixel));
        const int top = grid::BandTop(row);
        painter.setPen(QPen(QColor(200, 0, 0), 1));
        const std::array<QPoint, 3> marker{{{x, top - 1}, {x - 3, top - 5}, {x + 3, top - 5}}};
        painter.setBrush(QColor(200, 0, 0));
        painter.drawPolygon(marker.data(), static_cast<int>(marker.size()));
        painter.drawLine(x, top, x, top + grid::kBandLines - 1);
    }
}

void ScheduleTab::ShowProfile() {
    m_Name->setText(QString::fromStdString(m_Opened.Contents.Record.Name));
    m_Active->setChecked(m_Opened.Contents.Record.Active != 0);
}

void ScheduleTab::Relayout() {
    m_Editor->Layout();
    m_Editor->Paint();
    m_Picture->SyncSize();
}

void ScheduleTab::FitTimeUnderPointer() {
    m_TimeUnderPointer->setMinimumWidth(
        m_TimeUnderPointer->fontMetrics().horizontalAdvance(QStringLiteral("00:00 ")));
}

void ScheduleTab::Redraw() {
    Relayout();
    FitTimeUnderPointer();
    if (auto* ruler = dynamic_cast<HourRuler*>(m_Ruler)) {
        ruler->Zoom = Zoom();
        ruler->update();
    }
}

void ScheduleTab::OnHostChanged(ScheduleHostMember member) {
    const ScheduleHostControls& controls = m_Editor->Host().Controls();
    switch (member) {
    case ScheduleHostMember::Picture_TimeSchedule_Width:
    case ScheduleHostMember::Picture_TimeSchedule_Height:
        if (controls.PictureWidth > 0 && controls.PictureHeight > 0) {
            m_Surface.Resize(controls.PictureWidth, controls.PictureHeight);
            m_Picture->SyncSize();
        }
        break;
    case ScheduleHostMember::Text_Schedule_Time:
        m_TimeUnderPointer->setText(QString::fromStdString(controls.TimeText));
        break;
    case ScheduleHostMember::Text_Schedule_Period_Start:
        m_Start->setText(QString::fromStdString(controls.PeriodStartText));
        break;
    case ScheduleHostMember::Text_Schedule_Period_Stop:
        m_Stop->setText(QString::fromStdString(controls.PeriodStopText));
        break;
    default:
        // The scroll bar, the picture's place and the menu states are read
        // where they are used.
        break;
    }
}

void ScheduleTab::ApplyTimes() {
    m_Editor->ApplyTimes(m_Start->text().toStdString(), m_Stop->text().toStdString());
    AfterEdit();
}

void ScheduleTab::PreparePopup() {
    const ScheduleHostControls& controls = m_Editor->Host().Controls();
    auto action = [this](const char* name) {
        return m_Popup->findChild<QAction*>(QString::fromLatin1(name));
    };
    action("popupDelete")->setEnabled(controls.DeleteEnabled);
    action("popupPaste")->setEnabled(controls.PasteEnabled);
    action("popupGroup")->setChecked(controls.GroupedChecked);
    action("popupGroupMonFri")->setChecked(controls.GroupedMonFriChecked);
}

void ScheduleTab::Run(ScheduleCommand command) {
    if (command != ScheduleCommand::AddPeriod && command != ScheduleCommand::DeletePeriod) {
        if (!m_Editor->PressMenuOnCursorRow()) {
            return;
        }
        PreparePopup();
    }
    RunWithoutPress(command);
}

void ScheduleTab::RunWithoutPress(ScheduleCommand command) {
    switch (command) {
    case ScheduleCommand::Delete:
        m_Editor->Delete();
        break;
    case ScheduleCommand::FillWholeDay:
        m_Editor->FillWholeDay();
        break;
    case ScheduleCommand::Copy:
        m_Editor->Copy();
        break;
    case ScheduleCommand::Paste:
        m_Editor->Paste();
        break;
    case ScheduleCommand::Group:
        m_Editor->Group();
        break;
    case ScheduleCommand::GroupMonFri:
        m_Editor->GroupMonFri();
        break;
    case ScheduleCommand::Default:
        m_Editor->SetDefault();
        m_Picture->SyncSize();
        break;
    case ScheduleCommand::AddPeriod:
        m_Editor->Key(EditorKey::Insert);
        break;
    case ScheduleCommand::DeletePeriod:
        m_Editor->Key(EditorKey::Delete);
        break;
    }
    AfterEdit();
}

bool ScheduleTab::HandleKey(QKeyEvent* event) {
    const bool shift = (event->modifiers() & Qt::ShiftModifier) != 0;
    std::optional<EditorKey> key;
    switch (event->key()) {
    case Qt::Key_Up:
        key = EditorKey::Up;
        break;
    case Qt::Key_Down:
        key = EditorKey::Down;
        break;
    case Qt::Key_Left:
        key = shift ? EditorKey::ShiftLeft : EditorKey::Left;
        break;
    case Qt::Key_Right:
        key = shift ? EditorKey::ShiftRight : EditorKey::Right;
        break;
    case Qt::Key_Insert:
        key = EditorKey::Insert;
        break;
    case Qt::Key_Delete:
        key = EditorKey::Delete;
        break;
    case Qt::Key_Menu:
    case Qt::Key_F10:
        if (event->key() == Qt::Key_F10 && !shift) {
            return false;
        }
        if (m_Editor->PressMenuOnCursorRow()) {
            PreparePopup();
            const int row =
                m_Editor->Schedule().GetAxisIndex(static_cast<std::int16_t>(m_Editor->CursorDayType()));
            m_Popup->popup(m_Picture->mapToGlobal(
                m_Picture->WidgetPoint(grid::kGridLeft, grid::BandTop(row) + grid::kBandLines)));
        }
        return true;
    default:
        return false;
    }
    m_Editor->Key(*key);
    AfterEdit();
    return true;
}

std::string ScheduleTab::DisplayName() const {
    return FileNameOf(m_File.Path());
}

ReplaceResult ScheduleTab::Save(const std::string& path, bool overDiskChanges,
                                const ReplaceOptions& options) {
    OpenedProfile base = overDiskChanges ? OpenProfile(m_File.Path()) : m_Opened;
    FileBytes bytes = ProfileWithSchedule(base, m_Editor->Schedule());
    const std::size_t recordSize = ScheduleRecordBytes(m_Editor->Schedule()).size();
    ReplaceResult result = m_File.Save(path, bytes, options);
    base.Contents.ScheduleEnd = base.Contents.ScheduleStart + recordSize;
    base.Bytes = std::move(bytes);
    base.Contents.Schedule = m_Opened.Contents.Schedule;
    m_Opened = std::move(base);
    m_Editor->History().MarkSaved();
    ShowProfile();
    Changed();
    return result;
}

void ScheduleTab::Revert() {
    OpenedProfile reopened = OpenProfile(m_File.Path());
    const std::string state = reopened.Contents.Schedule->ComposePeriodArray();
    m_Editor->Schedule().ExtractPeriodArray(state);
    m_Editor->View().ClearSelection(m_Editor->Host());
    reopened.Contents.Schedule = m_Opened.Contents.Schedule;
    m_File = EditedFile(m_File.Path(), reopened.Bytes);
    m_Opened = std::move(reopened);
    Relayout();
    m_Editor->History().Reset(m_Editor->Schedule().ComposePeriodArray());
    ShowProfile();
    AfterEdit();
}

std::string ScheduleTab::ExportICalendar(const ICalendarExport& options) const {
    return ScheduleToICalendar(m_Editor->Schedule(), m_Opened.Contents.Record.Name, options);
}

} // namespace velmar
