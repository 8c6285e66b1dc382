#include "app/DesktopFrontEnd.h"

#include "app/ConsoleFrontEnd.h"
#include "app/Launcher.h"
#include "app/QtDesktopServices.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "platform/qt/QtNotifier.h"
#include "platform/qt/QtSession.h"
#include "platform/qt/QtSingleInstance.h"
#include "platform/qt/QtStopSignals.h"
#include "platform/qt/QtTranslations.h"
#include "window/qt/QtBusyPointer.h"
#include "window/qt/QtImageList.h"
#include "window/qt/QtMainWindow.h"
#include "window/qt/QtOneShotTimer.h"
#include "window/qt/QtTimer.h"
#include "window/qt/QtTrayIcon.h"

#include <QApplication>
#include <QLocale>
#include <QTime>
#include <QTimer>
#include <iostream>
#include <optional>
#include <string>

namespace velmar {

namespace {

// The first line of `text` that holds more than spaces, without its line end.
std::string FirstLine(const std::string& text) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(start, end - start);
        if (line.find_first_not_of(" \t\r") != std::string::npos) {
            while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) {
                line.pop_back();
            }
            return line;
        }
        start = end + 1;
    }
    return {};
}

int RunDesktop(const DataFolder& dataFolder, const MonitoringOptions& monitoring,
               const std::string& programFolder, bool notify) {
    // The window is hidden most of the time; the program ends only when the
    // window is unloaded.
    QApplication::setQuitOnLastWindowClosed(false);

    // Two spellings of one folder are one instance.
    const std::string folder = dataFolder.Canonical();
    QtSingleInstance instance(folder);
    const QtSingleInstance::State state = instance.Lock();
    switch (state) {
    case QtSingleInstance::State::First:
        break;
    case QtSingleInstance::State::Running:
        if (instance.AskRunningToShow(10000)) {
            std::cerr << "velmar-active-profiles: already running for " << folder
                      << "; its window is shown\n";
            return 0;
        }
        std::cerr << "velmar-active-profiles: already running for " << folder << ", but it does not answer"
                  << (instance.Problem().empty() ? "" : " (" + instance.Problem() + ")") << '\n';
        return 1;
    case QtSingleInstance::State::Unchecked:
        std::cerr << "velmar-active-profiles: " << instance.Problem()
                  << "; a second start is not prevented\n";
        break;
    }

    // Only the instance that watches the folder serves its metrics; a second
    // start has shown the first one's window by now.
    MonitoringOutputs outputs(monitoring, std::cerr);
    QtImageList images;
    // The window starts hidden: its contents wait until they are needed, so
    // that the icon is drawn first.
    QtMainWindow window(images, QtMainWindow::Contents::WhenUsed);
    QtTimer timer;
    QtTrayIcon tray;
    QtOneShotTimer wait;
    QtBusyPointer busy;
    QtNotifier notifier(tray.Widget(), QCoreApplication::applicationName(),
                        QStringLiteral("velmar-active-profiles"), QStringLiteral("velmar-active-profiles"));
    // The menu's "Quit" is the program's own close request, granted as Ctrl+Q's is.
    QtDesktopServices services(programFolder, window, notifier,
                               [&window] { window.RequestClose(CloseReason::ProgramCode); });
    const QtMonitorWords words;
    VelmarActiveProfiles_Main main({window, window.List(), images, timer, tray, wait, busy, &tray, &services},
                                   dataFolder);
    main.SetWords(words);
    // The window's clock as the user's locale writes it; the console and the
    // machine-read outputs keep theirs.
    main.ClockText = [] { return LocaleClockText(QLocale(), QTime::currentTime()); };
    main.SetNotifyOnChanges(notify);
    window.SetCommandMenu(tray.Menu());
    window.SetEvents(&main);
    outputs.Watch(main);
    window.OnUnloaded = [] { QCoreApplication::quit(); };
    instance.OnShowRequested = [&main] { main.ShowWindow(); };

    InstallStopSignals([&window] { window.RequestClose(CloseReason::ProcessEnd); });
    InstallSessionHandling();
    // However the loop ends (a log-off ends it through the application's
    // quit), the icon goes first.
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, [&window] { window.EnsureUnloaded(); });

    window.Create();
    // Later starts are listened for once the icon is up, a moment after the
    // event loop has embedded and drawn it; meanwhile the lock turns them
    // away, and they ask again until this one answers.
    constexpr int kListenAfterMs = 100;
    if (state == QtSingleInstance::State::First) {
        QTimer::singleShot(kListenAfterMs, [&instance] {
            if (!instance.Listen()) {
                std::cerr << "velmar-active-profiles: " << instance.Problem()
                          << "; a second start is not prevented\n";
            }
        });
    }
    const int status = QApplication::exec();
    window.EnsureUnloaded();
    return status;
}

} // namespace

int RunDesktopFrontEnd(int& argc, char** argv, const DataFolder& folder, const GraphicalSession& session,
                       const MonitoringOptions& monitoring, const std::string& programFolder, bool notify) {
    ChooseQtPlatform(session);
    SetDesktopIdentity();
    std::optional<QApplication> application;
    bool fellBack = false;
    std::string reason;
    {
        // A platform that cannot open its display is reported (by Qt, and by
        // Xlib on its own) before the next one is tried; only the program
        // knows whether that ends on the console, so the reports wait, and
        // are dropped when it does.
        HeldStandardError held;
        application.emplace(argc, argv);
        fellBack = QGuiApplication::platformName() == kFallbackQtPlatform;
        if (fellBack) {
            reason = FirstLine(held.Text());
            application.reset();
        } else {
            held.Release();
        }
    }
    if (fellBack) {
        std::cerr << ConsoleInsteadLine("cannot open " + session.Displays +
                                        (reason.empty() ? std::string() : " (" + reason + ")"))
                  << '\n';
        return RunConsoleFrontEnd(folder, monitoring, std::cout, std::cerr);
    }
    // Every text of the program's own in the user's language, from before the first widget.
    const QtTranslations translations(QLocale(),
                                      TranslationFolders(QCoreApplication::applicationDirPath(),
                                                         QStringLiteral(VELMAR_TRANSLATIONS_SUBDIR)));
    const int status = RunDesktop(folder, monitoring, programFolder, notify);
    EndBeforeQtOnWayland(status);
    return status;
}

} // namespace velmar
