#pragma once

// The questions and messages of the editor window, behind an interface so
// that tests answer them instead of a person.

#include <string>

class QWidget;

namespace velmar {

class EditorDialogs {
public:
    enum class ChangedOnDisk { Reload, SaveAnyway, Cancel };
    enum class Unsaved { Save, Discard, Cancel };
    enum class ReadOnly { SaveAnyway, SaveAs, Cancel };

    virtual ~EditorDialogs() = default;
    // A file to open or to save to; empty when the user cancelled.
    virtual std::string OpenFileName(const std::string& title, const std::string& filter) = 0;
    virtual std::string SaveFileName(const std::string& title, const std::string& filter,
                                     const std::string& suggested) = 0;
    // The file was rewritten on disk since it was opened or saved.
    virtual ChangedOnDisk AskChangedOnDisk(const std::string& path) = 0;
    // A document with unsaved changes is about to be closed.
    virtual Unsaved AskUnsaved(const std::string& name) = 0;
    // The file to save to is read-only.
    virtual ReadOnly AskReadOnly(const std::string& path) = 0;
    virtual void ShowError(const std::string& message) = 0;
};

// The dialogs of a desktop: file choosers and message boxes over `parent`.
class QtEditorDialogs : public EditorDialogs {
public:
    explicit QtEditorDialogs(QWidget* parent) : m_Parent(parent) {}
    std::string OpenFileName(const std::string& title, const std::string& filter) override;
    std::string SaveFileName(const std::string& title, const std::string& filter,
                             const std::string& suggested) override;
    ChangedOnDisk AskChangedOnDisk(const std::string& path) override;
    Unsaved AskUnsaved(const std::string& name) override;
    ReadOnly AskReadOnly(const std::string& path) override;
    void ShowError(const std::string& message) override;

private:
    QWidget* m_Parent;
};

} // namespace velmar
