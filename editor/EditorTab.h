#pragma once

#include "editor/PictureBox.h"
#include "editor_host/EditedFiles.h"
#include "editor_host/ICalendar.h"
#include "editor_host/qt/QtHostImageList.h"
#include "platform/qt/QtImageSurface.h"

#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QKeyEvent;
class QPainter;
class QScrollArea;

namespace velmar {

// One open file in the editor window: a profile's schedule or a calendar.
class EditorTab : public QWidget {
public:
    using QWidget::QWidget;

    // The file's name for the title and the tab, "Untitled calendar" for a new one.
    virtual std::string DisplayName() const = 0;
    virtual const EditedFile& File() const = 0;
    // Unsaved changes.
    virtual bool Modified() const = 0;
    // Writes the document to `path` (ReplaceFile). With `overDiskChanges`,
    // the file as it is on disk now is the base (its bytes outside what the
    // document owns stay as they are now), else the file as it was opened.
    // FileError when the write fails (ReadOnlyFileError for a read-only file
    // unless `options` allow it); the document is then unchanged.
    virtual ReplaceResult Save(const std::string& path, bool overDiskChanges,
                               const ReplaceOptions& options) = 0;
    // Reads the file again, dropping the changes. FileError when it cannot be read.
    virtual void Revert() = 0;
    virtual bool Undo() = 0;
    virtual bool Redo() = 0;
    virtual bool CanUndo() = 0;
    virtual bool CanRedo() = 0;
    // The document as an iCalendar text, for File > Export.
    virtual std::string ExportICalendar(const ICalendarExport& options) const = 0;
    // The file dialog's filter for Save as.
    virtual std::string FileFilter() const = 0;
    // The widget that takes the keyboard when the tab is shown: the picture.
    QWidget* EditingWidget() const { return m_Picture; }

    // The picture's zoom, 1 to 4, kept by the tab while the editor runs.
    // Until one is set, the tab starts at the largest zoom at which the whole
    // picture fits its width.
    int Zoom() const { return m_Zoom; }
    void SetZoom(int zoom);
    void StepZoom(int steps);
    // The largest zoom at which the picture fits the tab's width now.
    void ZoomToFit();

    // Called after every change of the document or of what can be undone.
    std::function<void()> OnChanged;

protected:
    // Puts the picture box into a scroll area, where the tab shows it, and
    // names both for tests and screen readers. The caller adds the area to
    // its layout.
    QScrollArea* PlacePicture(PictureBox* picture, const char* name, const char* areaName,
                              const QString& accessibleName, const QString& whatsThis);
    // The widget's texts follow the zoom: its font is the tab's, its size
    // times the zoom (the hours above the grid, the month's caption, the
    // time under the pointer).
    void ZoomTexts(QWidget* widget);
    // Tab and Backtab go through `controls` in this order: the order in which
    // they are seen, top to bottom and left to right, the scroll area before
    // the picture in it.
    void SetTabOrder(const std::vector<QWidget*>& controls);
    // Draws the picture again, after the picture box took a new zoom.
    virtual void Redraw() = 0;
    // The picture's width in its own pixels.
    virtual int PictureWidth() const = 0;
    // The cursor's row or date, as screen readers read the picture.
    virtual std::string CursorDescription() const = 0;
    // Shows an edit: the picture, the cursor's description and the change.
    void AfterEdit();
    // Gives screen readers the cursor's description; Qt tells them of the change.
    void DescribeCursor();
    void showEvent(QShowEvent* event) override;

    void Changed() const {
        if (OnChanged) {
            OnChanged();
        }
    }

    PictureBox* m_Picture = nullptr;
    QScrollArea* m_Scroll = nullptr;

private:
    // The width there is for the picture on the screen.
    int PictureAreaWidth() const;
    // Gives the widgets of ZoomTexts their font at the zoom.
    void ApplyZoomedFonts();

    std::vector<QPointer<QWidget>> m_ZoomedTexts;
    int m_Zoom = 1;
    bool m_ZoomChosen = false;
};

// A tab that hosts an editor component (`Component`: ScheduleEditor or
// CalendarEditor) on a picture box: owns the drawing surface, the images and
// the component, hands the box's mouse events to the component, and undoes
// and redoes through the component's history.
template <class Component> class ComponentTab : public EditorTab {
public:
    bool Modified() const override { return m_Editor->History().Modified(); }
    bool Undo() override { return AfterHistoryStep(m_Editor->Undo()); }
    bool Redo() override { return AfterHistoryStep(m_Editor->Redo()); }
    bool CanUndo() override { return m_Editor->History().CanUndo(); }
    bool CanRedo() override { return m_Editor->History().CanRedo(); }
    Component& Editor() { return *m_Editor; }

protected:
    // A surface of the component's size in its own pixels; the derived tab
    // makes the images and the component.
    ComponentTab(int width, int height, QWidget* parent) : EditorTab(parent), m_Surface(width, height) {}

    // Makes the picture box in its scroll area (see PlacePicture) and wires
    // it to the component, HandleKey, AfterPress and DrawCursor.
    QScrollArea* MakePicture(const char* name, const char* areaName, const QString& accessibleName,
                             const QString& whatsThis) {
        auto* picture = new PictureBox(m_Surface, this);
        picture->OnPress = [this](int button, float x, float y) {
            m_Editor->MouseDown(static_cast<std::int16_t>(button), x, y);
            AfterPress(button, x, y);
        };
        picture->OnMove = [this](float x, float y) { m_Editor->MouseMove(x, y); };
        picture->OnRelease = [this](float x, float y) {
            m_Editor->MouseUp(x, y);
            AfterEdit();
        };
        picture->OnKey = [this](QKeyEvent* event) { return HandleKey(event); };
        picture->OnZoomSteps = [this](int steps) { StepZoom(steps); };
        picture->OnOverlay = [this](QPainter& painter) {
            if (m_Picture->hasFocus()) {
                DrawCursor(painter);
            }
        };
        return PlacePicture(picture, name, areaName, accessibleName, whatsThis);
    }

    // A key on the picture; true when it was used.
    virtual bool HandleKey(QKeyEvent* event) = 0;
    // After the component saw a mouse press (button 1 left, 2 right).
    virtual void AfterPress(int /*button*/, float /*x*/, float /*y*/) {}
    // Draws the keyboard cursor over the picture, in its own pixels, while
    // the picture has the focus.
    virtual void DrawCursor(QPainter& painter) = 0;

    int PictureWidth() const override { return m_Surface.Width(); }
    std::string CursorDescription() const override { return m_Editor->CursorDescription(); }

    QtImageSurface m_Surface;
    std::unique_ptr<QtHostImageList> m_Images;
    std::unique_ptr<Component> m_Editor;

private:
    bool AfterHistoryStep(bool stepped) {
        // An undone or redone edit may change the picture's size.
        m_Picture->SyncSize();
        AfterEdit();
        return stepped;
    }
};

// The file name part of a path.
std::string FileNameOf(const std::string& path);

} // namespace velmar
