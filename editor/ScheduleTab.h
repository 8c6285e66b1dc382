#pragma once

#include "editor/EditorTab.h"
#include "editor_host/EditedFiles.h"
#include "editor_host/ScheduleEditor.h"

#include <QCoreApplication>
#include <memory>
#include <optional>
#include <string_view>

class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace velmar {

// The commands of the grid's popup menu, also in the window's Edit menu.
enum class ScheduleCommand {
    Delete,
    FillWholeDay,
    Copy,
    Paste,
    Group,
    GroupMonFri,
    Default,
    AddPeriod,
    DeletePeriod,
};

// A profile's weekly schedule in the grid editor, hosted through the host
// contract: the picture box in a scroll area with the hours above it, the
// time boxes with their Apply button, the popup menu, and the profile's name
// and active flag (read only).
class ScheduleTab : public ComponentTab<ScheduleEditor> {
    // Texts translated in the context the translation files name.
    Q_DECLARE_TR_FUNCTIONS(velmar::ScheduleTab)

public:
    // Opens a profile file; FileError when it cannot be edited (see OpenProfile).
    explicit ScheduleTab(const std::string& path, QWidget* parent = nullptr);
    ~ScheduleTab() override;

    std::string DisplayName() const override;
    const EditedFile& File() const override { return m_File; }
    ReplaceResult Save(const std::string& path, bool overDiskChanges, const ReplaceOptions& options) override;
    void Revert() override;
    std::string ExportICalendar(const ICalendarExport& options) const override;
    std::string FileFilter() const override { return "Profile files (Profile_*.dat *.DAT);;All files (*)"; }

    // Runs a command on the cursor's row (the row last pressed or moved to),
    // with the menu's states as the grid gives them for that row.
    void Run(ScheduleCommand command);
    // The popup menu's items with their enabled and checked states; the grid
    // sets the states on a right press.
    QMenu* PopupMenu() const { return m_Popup; }
    // Sets the popup menu's enabled and checked states from the host's controls.
    void PreparePopup();
    const OpenedProfile& Opened() const { return m_Opened; }

protected:
    void Redraw() override;
    bool HandleKey(QKeyEvent* event) override;
    void AfterPress(int button, float x, float y) override;
    void DrawCursor(QPainter& painter) override;

private:
    void BuildWidgets();
    void ShowProfile();
    void Relayout();
    // Room for "00:00" in the pointer's time at its font.
    void FitTimeUnderPointer();
    void OnHostChanged(ScheduleHostMember member);
    void ApplyTimes();
    void RunWithoutPress(ScheduleCommand command);

    OpenedProfile m_Opened;
    EditedFile m_File;

    QWidget* m_Ruler = nullptr;
    QLineEdit* m_Name = nullptr;
    QCheckBox* m_Active = nullptr;
    QLabel* m_TimeUnderPointer = nullptr;
    QLineEdit* m_Start = nullptr;
    QLineEdit* m_Stop = nullptr;
    QPushButton* m_Apply = nullptr;
    QCheckBox* m_ViewDayTypes = nullptr;
    QMenu* m_Popup = nullptr;
};

} // namespace velmar
