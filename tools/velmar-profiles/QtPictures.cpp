#include "tools/velmar-profiles/QtPictures.h"

#include <QGuiApplication>
#include <algorithm>
#include <array>
#include <charconv>
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

double PictureScale(const ParsedArguments& args) {
    const auto text = args.Value("--scale");
    if (!text) {
        return 1;
    }
    // Digits with at most one point, nothing else: no sign, exponent or "inf".
    const bool plain = !text->empty() && text->find_first_not_of("0123456789.") == std::string::npos &&
                       std::count(text->begin(), text->end(), '.') <= 1 && text->front() != '.' &&
                       text->back() != '.';
    double scale = 0;
    if (plain) {
        const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), scale);
        if (error != std::errc() || end != text->data() + text->size()) {
            scale = 0;
        }
    }
    if (!(scale >= 1 && scale <= kLargestScale)) {
        throw UsageError("--scale needs a number from 1 to 8");
    }
    return scale;
}

} // namespace velmar::tool
