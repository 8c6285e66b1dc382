#pragma once

#include "editor_host/EditedFiles.h"

#include <QWidget>
#include <functional>
#include <string>

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
    virtual std::string ExportICalendar() const = 0;
    // The file dialog's filter for Save as.
    virtual std::string FileFilter() const = 0;
    // The widget that takes the keyboard when the tab is shown.
    virtual QWidget* EditingWidget() = 0;

    // Called after every change of the document or of what can be undone.
    std::function<void()> OnChanged;

protected:
    void Changed() const {
        if (OnChanged) {
            OnChanged();
        }
    }
};

// The file name part of a path.
std::string FileNameOf(const std::string& path);

} // namespace velmar
