#pragma once

#include "editor/EditorTab.h"
#include "editor_host/EditedFiles.h"
#include "editor_host/ScheduleEditor.h"
#include "editor_host/qt/QtHostImageList.h"
#include "platform/qt/QtImageSurface.h"

#include <QCoreApplication>
#include <memory>
#include <optional>
#include <string_view>

class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollArea;

namespace velmar {

class PictureBox;

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
class ScheduleTab : public EditorTab {
    // Texts translated in the context the translation files name.
    Q_DECLARE_TR_FUNCTIONS(velmar::ScheduleTab)

public:
    // Opens a profile file; FileError when it cannot be edited (see OpenProfile).
    explicit ScheduleTab(const std::string& path, QWidget* parent = nullptr);
    ~ScheduleTab() override;

    std::string DisplayName() const override;
    const EditedFile& File() const override { return m_File; }
    bool Modified() const override;
    ReplaceResult Save(const std::string& path, bool overDiskChanges, const ReplaceOptions& options) override;
    void Revert() override;
    bool Undo() override;
    bool Redo() override;
    bool CanUndo() override { return m_Editor->History().CanUndo(); }
    bool CanRedo() override { return m_Editor->History().CanRedo(); }
    std::string ExportICalendar(const ICalendarExport& options) const override;
    std::string FileFilter() const override { return "Profile files (Profile_*.dat *.DAT);;All files (*)"; }
    QWidget* EditingWidget() override;

    // Runs a command on the cursor's row (the row last pressed or moved to),
    // with the menu's states as the grid gives them for that row.
    void Run(ScheduleCommand command);
    // The popup menu's items with their enabled and checked states; the grid
    // sets the states on a right press.
    QMenu* PopupMenu() const { return m_Popup; }
    // Sets the popup menu's enabled and checked states from the host's controls.
    void PreparePopup();
    ScheduleEditor& Editor() { return *m_Editor; }
    const OpenedProfile& Opened() const { return m_Opened; }

protected:
    void ShowAtZoom(int zoom) override;
    int PictureWidth() const override;
    int PictureAreaWidth() const override;

private:
    void BuildWidgets();
    void ShowProfile();
    void Relayout();
    void OnHostChanged(ScheduleHostMember member);
    void ApplyTimes();
    bool HandleKey(QKeyEvent* event);
    void ShowPopup(const QPoint& globalPosition);
    void RunWithoutPress(ScheduleCommand command);
    void AfterEdit();
    // The cursor's row or date, as screen readers read the picture.
    void DescribeCursor();

    OpenedProfile m_Opened;
    EditedFile m_File;
    QtImageSurface m_Surface;
    std::unique_ptr<QtHostImageList> m_Images;
    std::unique_ptr<ScheduleEditor> m_Editor;

    PictureBox* m_Picture = nullptr;
    QScrollArea* m_Scroll = nullptr;
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
