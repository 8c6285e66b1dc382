#include "tools/velmar-profiles/QtPictures.h"

#include <QGuiApplication>
#include <array>
#include <cstdio>
#include <string>

namespace velmar::tool {

namespace {

QtMessageHandler PreviousMessageHandler = nullptr;

// The headless platform warns on standard error when XDG_RUNTIME_DIR is not
// set, as in most command-line and CI runs; that is no concern for drawing a
// PNG and would spoil the tool's one-line errors. Other messages pass on.
void DropRuntimeFolderNotice(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"))) {
        return;
    }
    if (PreviousMessageHandler != nullptr) {
        PreviousMessageHandler(type, context, message);
    } else {
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    }
}

} // namespace

void EnsureGuiApplication() {
    if (QGuiApplication::instance() != nullptr) {
        return;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    PreviousMessageHandler = qInstallMessageHandler(DropRuntimeFolderNotice);
    // Qt keeps argc and argv for the life of the application, hence static.
    static int argc = 1;
    static std::array<char, 16> name{"velmar-profiles"};
    static std::array<char*, 2> argv{name.data(), nullptr};
    static auto* application = new QGuiApplication(argc, argv.data());
    (void)application;
}

} // namespace velmar::tool
