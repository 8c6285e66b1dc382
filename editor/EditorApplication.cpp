#include "editor/EditorApplication.h"

#include "editor/FailureText.h"

#include <QMessageBox>
#include <cstdio>

namespace velmar {

bool EditorApplication::notify(QObject* receiver, QEvent* event) {
    std::string problem;
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        problem = FailureText(error, "go on with that", {});
    } catch (...) {
        problem = "an unknown error ended an operation";
    }
    std::fprintf(stderr, "velmar-editor: %s\n", problem.c_str());
    QMessageBox::warning(activeWindow(), QStringLiteral("Velmar Editor"), QString::fromStdString(problem));
    return false;
}

} // namespace velmar
