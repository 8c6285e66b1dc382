#pragma once

#include <QApplication>

namespace velmar {

// The editor's application object. Every operation on a file reports its own
// failures; an exception that still reaches the event loop (from painting or
// a widget's handler) is shown in a message instead of ending the editor and
// losing every unsaved tab.
class EditorApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace velmar
