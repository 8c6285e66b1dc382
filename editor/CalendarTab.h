#pragma once

#include "editor/EditorTab.h"
#include "editor_host/CalendarEditor.h"
#include "editor_host/DayTypeTexts.h"
#include "editor_host/EditedFiles.h"

#include <QCoreApplication>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace velmar {

// A calendar in the month view, hosted through the host contract: month and
// year buttons (and PageUp/PageDown), the day-type combo box with names and
// images, the time axis with the schedule of a profile chosen to show, and
// holiday labels from an iCalendar file.
class CalendarTab : public ComponentTab<CalendarEditor> {
    // Texts translated in the context the translation files name.
    Q_DECLARE_TR_FUNCTIONS(velmar::CalendarTab)

public:
    // A new calendar (every date by its weekday) when `path` is empty, else
    // the calendar file; FileError when it cannot be read (see OpenCalendar).
    CalendarTab(const std::string& path, EditorLanguage language, QWidget* parent = nullptr);

    std::string DisplayName() const override;
    const EditedFile& File() const override { return m_File; }
    ReplaceResult Save(const std::string& path, bool overDiskChanges, const ReplaceOptions& options) override;
    void Revert() override;
    std::string ExportICalendar(const ICalendarExport& options) const override;
    std::string FileFilter() const override { return "Calendar files (*.dat *.cal);;All files (*)"; }

    // Shows a month; the cursor keeps its day number where the month has it.
    void ShowMonth(int year, int month);
    void StepMonth(int months);
    // The time axis of every date with the schedule of a profile file;
    // FileError when it cannot be read. An empty path shows no schedule.
    void ShowScheduleOf(const std::string& profilePath);
    // Holiday labels from an iCalendar file, one per all-day event date;
    // FileError or InvalidArgumentError when it cannot be read.
    void LoadHolidays(const std::string& icsPath);
    // Paints the selected day type onto the cursor's date.
    void PaintAtCursor();

protected:
    void Redraw() override;
    bool HandleKey(QKeyEvent* event) override;
    void DrawCursor(QPainter& painter) override;

private:
    void BuildWidgets();
    void Repaint();

    EditorLanguage m_Language;
    EditedFile m_File;
    std::string m_ScheduleName;

    QLabel* m_Month = nullptr;
    QComboBox* m_DayTypes = nullptr;
    QCheckBox* m_TimeAxis = nullptr;
    QLabel* m_ScheduleLabel = nullptr;
    QLabel* m_HolidaysLabel = nullptr;

public:
    // Asks for a file by its kind ("profile", "holidays"); set by the window.
    std::function<std::string(const std::string& kind)> ChooseFile;
    // Reports an error to the user; set by the window.
    std::function<void(const std::string& message)> ShowError;
};

} // namespace velmar
