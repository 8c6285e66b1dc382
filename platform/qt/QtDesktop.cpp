#include "platform/qt/QtDesktop.h"

#include "common/Errors.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCryptographicHash>
#include <QCursor>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QIconEngine>
#include <QLabel>
#include <QLocalSocket>
#include <QPainter>
#include <QPointer>
#include <QRadialGradient>
#include <QSessionManager>
#include <QShortcut>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTreeWidget>
#include <algorithm>
#include <array>
#include <chrono>
#include <thread>

#ifndef _WIN32
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace velmar {

namespace {

// The ball drawn with the painter of the surface it is shown on, so that a
// surface with a device pixel ratio of 2 gets a ball drawn at twice the pixels
// rather than a 14-pixel picture stretched.
class BallIconEngine : public QIconEngine {
public:
    explicit BallIconEngine(const QColor& colour) : m_Colour(colour) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode /*mode*/, QIcon::State /*state*/) override {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        // Laid out on the 14-pixel grid of the list's images.
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / double(kSmallImageSize), rect.height() / double(kSmallImageSize));
        QRadialGradient shade(QPointF(5.0, 5.0), 8.0);
        shade.setColorAt(0.0, m_Colour.lighter(170));
        shade.setColorAt(1.0, m_Colour.darker(115));
        painter->setPen(QPen(m_Colour.darker(160), 1.0));
        painter->setBrush(shade);
        painter->drawEllipse(QRectF(1.5, 1.5, 11.0, 11.0));
        painter->restore();
    }

    // QIcon asks for the pixmap in device pixels (logical size times ratio).
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }

    QSize actualSize(const QSize& size, QIcon::Mode /*mode*/, QIcon::State /*state*/) override {
        return size;
    }
    QIconEngine* clone() const override { return new BallIconEngine(m_Colour); }

private:
    QColor m_Colour;
};

// The program's icon as PNG renderings of every size built into the program
// (":/icons/hicolor/NxN/apps/NAME.png"), named as the icon theme names it.
// Reading them costs nothing until a size is drawn, where a theme lookup
// (QIcon::fromTheme) would cost the start-up several milliseconds, and an
// SVG more. The name goes with it, so that a StatusNotifierItem host draws
// the icon from its own theme where that has it, and the renderings where not.
class BuiltInIconEngine : public QIconEngine {
public:
    explicit BuiltInIconEngine(const QString& name) : m_Name(name) {
        for (const int size : kBuiltInIconSizes) {
            m_Renderings.addFile(QStringLiteral(":/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(name),
                                 QSize(size, size));
        }
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        m_Renderings.paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return m_Renderings.pixmap(size, 1.0, mode, state);
    }
    // `size` is in device pixels, the logical size times `scale`.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
        return scale > 0 ? m_Renderings.pixmap(size / scale, scale, mode, state)
                         : m_Renderings.pixmap(size, 1.0, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return m_Renderings.actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return m_Renderings.availableSizes(mode, state);
    }
    QString iconName() override { return m_Name; }
    QString key() const override { return QStringLiteral("velmar-built-in"); }
    QIconEngine* clone() const override { return new BuiltInIconEngine(*this); }

private:
    // The sizes rendered into dist/icons/hicolor (dist/CMakeLists.txt).
    static constexpr std::array kBuiltInIconSizes = {VELMAR_ICON_SIZES};

    QString m_Name;
    QIcon m_Renderings;
};

} // namespace

QIcon DrawBallIcon(const QColor& colour) {
    return QIcon(new BallIconEngine(colour));
}

QIcon ProgramIcon() {
    return QIcon(new BuiltInIconEngine(QStringLiteral("velmar-active-profiles")));
}

QIcon WarningProgramIcon() {
    return QIcon(new BuiltInIconEngine(QStringLiteral("velmar-active-profiles-warning")));
}

QtImageList::QtImageList() {
    m_Images[0] = DrawBallIcon(QColor(215, 30, 30));
    m_Images[1] = DrawBallIcon(QColor(30, 175, 50));
}

const QIcon& QtImageList::Image(std::int16_t number) const {
    if (number < 1 || number > Count()) {
        throw OutOfRangeError("image " + std::to_string(number) + " of the image list");
    }
    return m_Images[number - 1];
}

void QtReportList::ClearRows() {
    m_Widget.clear();
}

void QtReportList::AddRow(const std::string& text, std::int16_t smallImage) {
    const QIcon& image = m_Images.Image(smallImage);
    auto* item = new QTreeWidgetItem(&m_Widget);
    item->setText(0, QString::fromStdString(text));
    item->setIcon(0, image);
    const QString state = smallImage == kImageActive ? QStringLiteral("active") : QStringLiteral("inactive");
    item->setData(0, Qt::AccessibleDescriptionRole, state);
    item->setToolTip(0, state);
}

void QtReportList::Move(int left, int top) {
    m_Widget.move(left, top);
}

void QtReportList::SetWidth(int width) {
    if (width < 0) {
        throw InvalidArgumentError("list width " + std::to_string(width));
    }
    m_Widget.resize(width, m_Widget.height());
}

void QtReportList::SetHeight(int height) {
    if (height < 0) {
        throw InvalidArgumentError("list height " + std::to_string(height));
    }
    m_Widget.resize(m_Widget.width(), height);
}

void QtReportList::SetColumnWidth(int column, int width) {
    if (column < 1 || column > m_Widget.columnCount() || width < 0) {
        throw InvalidArgumentError("width " + std::to_string(width) + " of column " + std::to_string(column));
    }
    m_Widget.setColumnWidth(column - 1, width);
}

namespace {

// The theme's error colour: Qt's palette has no role for it, so it is a red
// chosen to keep its contrast against the theme's window colour.
QColor ErrorColour(const QPalette& palette) {
    return palette.color(QPalette::Window).lightness() < 128 ? QColor(255, 110, 100) : QColor(190, 0, 0);
}

} // namespace

QtMainWindow::QtMainWindow(const QtImageList& images)
    : m_ListWidget(new QTreeWidget(this)), m_StatusLabel(new QLabel(this)), m_List(*m_ListWidget, images),
      m_Icon(std::make_shared<QtPicture>(ProgramIcon())) {
    setObjectName("VelmarActiveProfiles_Main");
    setWindowIcon(m_Icon->Icon());
    m_ListWidget->setObjectName("List_ActiveProfiles");
    m_ListWidget->setAccessibleName(QStringLiteral("Profiles"));
    m_ListWidget->setColumnCount(1);
    m_ListWidget->setHeaderLabels({QStringLiteral("Profile")});
    m_ListWidget->setRootIsDecorated(false);
    m_ListWidget->setUniformRowHeights(true);
    m_ListWidget->setIconSize(QSize(images.ImageWidth(), images.ImageHeight()));
    m_ListWidget->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_ListWidget->setSelectionMode(QAbstractItemView::SingleSelection);
    m_ListWidget->header()->setStretchLastSection(false);

    auto* quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this);
    QObject::connect(quit, &QShortcut::activated, this, [this] { RequestClose(CloseReason::ProgramCode); });
    m_StatusLabel->setObjectName("Label_Status");
    m_StatusLabel->setTextFormat(Qt::PlainText);
    m_StatusLabel->setContentsMargins(4, 2, 4, 2);
    m_StatusLabel->setGeometry(0, 0, 0, StatusHeight());
}

int QtMainWindow::StatusHeight() const {
    return m_StatusLabel->fontMetrics().height() + 4;
}

void QtMainWindow::SetStatus(const StatusLine& status) {
    m_Status = status;
    m_StatusLabel->setText(QString::fromStdString(status.Text));
    QStringList lines;
    for (const auto& problem : status.Problems) {
        lines << QString::fromStdString(problem).toHtmlEscaped();
    }
    // Rich text with every name escaped, so that no name is taken for markup.
    m_StatusLabel->setToolTip(lines.isEmpty() ? QString()
                                              : "<p style='white-space:pre'>" + lines.join("<br>") + "</p>");
    QPalette palette = this->palette();
    if (!status.Problems.empty()) {
        palette.setColor(QPalette::WindowText, ErrorColour(palette));
    }
    m_StatusLabel->setPalette(palette);
}

void QtMainWindow::Create() {
    if (m_Events != nullptr) {
        m_Events->Form_Load();
    }
}

bool QtMainWindow::RequestClose(CloseReason reason) {
    return Close(reason);
}

bool QtMainWindow::Close(CloseReason reason) {
    if (m_Unloaded) {
        return true;
    }
    if (m_Events != nullptr && m_Events->Form_QueryUnload(reason)) {
        return false;
    }
    EnsureUnloaded();
    return true;
}

void QtMainWindow::EnsureUnloaded() {
    if (m_Unloaded) {
        return;
    }
    m_Unloaded = true;
    if (m_Events != nullptr) {
        m_Events->Form_Unload();
    }
    hide();
    if (OnUnloaded) {
        OnUnloaded();
    }
}

void QtMainWindow::SetCaption(const std::string& caption) {
    setWindowTitle(QString::fromStdString(caption));
}

std::string QtMainWindow::Caption() const {
    return windowTitle().toStdString();
}

void QtMainWindow::SetInnerSize(int width, int height) {
    resize(width, height + StatusHeight());
}

// A minimised window has no inner area. The status line lies below it.
int QtMainWindow::InnerWidth() const {
    return isMinimized() ? 0 : width();
}
int QtMainWindow::InnerHeight() const {
    return isMinimized() ? 0 : std::max(height() - StatusHeight(), 0);
}

void QtMainWindow::Show() {
    show();
    raise();
    activateWindow();
}

void QtMainWindow::Hide() {
    if (m_InStateChange) {
        // Hiding while Qt delivers a state change can be undone by the rest of
        // that change (showMinimized shows the window after setting its
        // state); hide once it is over, if the window is still minimised.
        QTimer::singleShot(0, this, [this] {
            if (isMinimized()) {
                hide();
            }
        });
        return;
    }
    hide();
}

void QtMainWindow::SetState(WindowState state) {
    Qt::WindowStates states = windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (state == WindowState::Minimized) {
        states |= Qt::WindowMinimized;
    } else if (state == WindowState::Maximized) {
        states |= Qt::WindowMaximized;
    }
    setWindowState(states);
}

WindowState QtMainWindow::State() const {
    if (isMinimized()) {
        return WindowState::Minimized;
    }
    if (isMaximized()) {
        return WindowState::Maximized;
    }
    return WindowState::Normal;
}

void QtMainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int statusHeight = StatusHeight();
    m_StatusLabel->setGeometry(0, std::max(height() - statusHeight, 0), width(), statusHeight);
    RaiseResize();
}

void QtMainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        m_InStateChange = true;
        RaiseResize();
        m_InStateChange = false;
    }
}

void QtMainWindow::closeEvent(QCloseEvent* event) {
    // A close the user starts (title bar, window menu) arrives spontaneously;
    // while the session manager saves the session (log-off, shutdown) the
    // close belongs to the session, whatever its source. A close from the
    // program's code is not spontaneous.
    CloseReason reason = CloseReason::ProgramCode;
    if (qApp != nullptr && qApp->isSavingSession()) {
        reason = CloseReason::SessionEnd;
    } else if (event->spontaneous()) {
        reason = CloseReason::UserClose;
    }
    if (Close(reason)) {
        event->accept();
    } else {
        event->ignore();
    }
}

void QtMainWindow::RaiseResize() {
    if (m_Events != nullptr && !m_Unloaded) {
        m_Events->Form_Resize();
    }
}

QtTimer::QtTimer() {
    m_Timer.setTimerType(Qt::CoarseTimer);
    QObject::connect(&m_Timer, &QTimer::timeout, [this] {
        if (m_Handler) {
            m_Handler();
        }
    });
}

void QtTimer::SetInterval(std::int32_t milliseconds) {
    m_Timer.setInterval(milliseconds);
}

void QtTimer::SetEnabled(bool enabled) {
    if (enabled) {
        m_Timer.start();
    } else {
        m_Timer.stop();
    }
}

QtTrayIcon::QtTrayIcon() {
    QObject::connect(&m_Tray, &QSystemTrayIcon::activated, [this](QSystemTrayIcon::ActivationReason reason) {
        if ((reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) && m_Activated) {
            m_Activated();
        }
    });
    QObject::connect(m_Menu.addAction(QStringLiteral("Show profiles")), &QAction::triggered, [this] {
        if (m_Activated) {
            m_Activated();
        }
    });
    QObject::connect(m_Menu.addAction(QStringLiteral("Quit")), &QAction::triggered, [this] {
        if (m_Quit) {
            m_Quit();
        }
    });
    m_Tray.setContextMenu(&m_Menu);
}

void QtTrayIcon::SetTrayIcon(PicturePtr picture) {
    if (picture == m_Picture) {
        return;
    }
    m_Picture = std::move(picture);
    ShowIcon();
}

void QtTrayIcon::SetWarning(bool warning) {
    if (warning == m_Warning) {
        return;
    }
    m_Warning = warning;
    ShowIcon();
}

void QtTrayIcon::ShowIcon() {
    const auto* qtPicture = dynamic_cast<const QtPicture*>(m_Picture.get());
    const QIcon icon = qtPicture != nullptr ? qtPicture->Icon() : QIcon();
    m_Tray.setIcon(m_Warning ? WarningProgramIcon() : icon);
}

void QtTrayIcon::SetIconVisible(std::int16_t visible) {
    m_Tray.setVisible(visible != 0);
}

void QtTrayIcon::SetToolTipText(const std::string& text) {
    const QString tip = QString::fromStdString(text);
    if (tip != m_Tray.toolTip()) {
        m_Tray.setToolTip(tip);
    }
}

QtOneShotTimer::QtOneShotTimer() {
    m_Timer.setSingleShot(true);
    QObject::connect(&m_Timer, &QTimer::timeout, [this] {
        // Taken out first: the handler may start the timer again.
        std::function<void()> handler = std::move(m_Handler);
        m_Handler = nullptr;
        if (handler) {
            handler();
        }
    });
}

void QtOneShotTimer::Start(std::int32_t milliseconds, std::function<void()> handler) {
    m_Handler = std::move(handler);
    m_Timer.start(std::max(milliseconds, 0));
}

void QtBusyPointer::SetBusy(bool busy) {
    if (busy == m_Busy) {
        return;
    }
    m_Busy = busy;
    if (busy) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QGuiApplication::restoreOverrideCursor();
    }
}

void SetDesktopIdentity() {
    QCoreApplication::setApplicationName(QStringLiteral("Velmar Active Profiles"));
    QGuiApplication::setDesktopFileName(QStringLiteral("velmar-active-profiles"));
}

void InstallSessionHandling() {
    // Qt asks for both at a checkpoint as well as at a log-off; neither ends
    // the program. At a log-off the session manager then sends Die, which Qt
    // turns into the application's quit.
    const auto neverRestart = [](QSessionManager& manager) {
        manager.setRestartHint(QSessionManager::RestartNever);
    };
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, qApp, neverRestart, Qt::DirectConnection);
    QObject::connect(qApp, &QGuiApplication::saveStateRequest, qApp, neverRestart, Qt::DirectConnection);
}

namespace {

constexpr const char* kShowRequest = "show\n";
constexpr const char* kShownAnswer = "shown\n";

QString InstanceFolder(const QString& runtimeFolder) {
    if (!runtimeFolder.isEmpty()) {
        return runtimeFolder;
    }
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        folder = QDir::tempPath();
    }
    return folder;
}

} // namespace

QtSingleInstance::QtSingleInstance(const std::string& canonicalFolder, const QString& runtimeFolder)
    : m_Lock([&] {
          const QByteArray key =
              QCryptographicHash::hash(QByteArray::fromStdString(canonicalFolder), QCryptographicHash::Sha256)
                  .toHex()
                  .left(20);
          return InstanceFolder(runtimeFolder) + "/velmar-active-profiles-" + QString::fromLatin1(key) +
                 ".lock";
      }()) {
    const QString key = m_Lock.fileName().section('/', -1).chopped(5);
#ifdef _WIN32
    // Named pipes are shared by every session of the machine: the user's name
    // keeps them apart.
    m_ServerName = key + "-" + qEnvironmentVariable("USERNAME");
#else
    m_ServerName = m_Lock.fileName().chopped(5) + ".socket";
#endif
    // An instance runs for days: only a lock whose process is gone is stale,
    // never an old one (Qt would otherwise take a lock older than 30 seconds
    // for stale wherever the file system holds no native lock on it).
    m_Lock.setStaleLockTime(0);
    m_Server.setSocketOptions(QLocalServer::UserAccessOption);
    QObject::connect(&m_Server, &QLocalServer::newConnection, [this] {
        while (QLocalSocket* socket = m_Server.nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
                if (!socket->canReadLine()) {
                    return;
                }
                if (socket->readLine() == kShowRequest) {
                    if (OnShowRequested) {
                        OnShowRequested();
                    }
                    socket->write(kShownAnswer);
                    socket->flush();
                }
                socket->disconnectFromServer();
            });
        }
    });
}

QtSingleInstance::State QtSingleInstance::Acquire() {
    QDir().mkpath(QFileInfo(m_Lock.fileName()).absolutePath());
    if (!m_Lock.tryLock(0)) {
        if (m_Lock.error() == QLockFile::LockFailedError) {
            return State::Running;
        }
        m_Problem = "cannot create the lock file " + m_Lock.fileName().toStdString();
        return State::Unchecked;
    }
    // A socket left by a killed instance would block the name; the lock says
    // that nobody else uses it.
    QLocalServer::removeServer(m_ServerName);
    if (!m_Server.listen(m_ServerName)) {
        m_Problem =
            "cannot listen on " + m_ServerName.toStdString() + ": " + m_Server.errorString().toStdString();
        return State::Unchecked;
    }
    return State::First;
}

bool QtSingleInstance::AskRunningToShow(int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(m_ServerName);
        if (socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) {
            socket.write(kShowRequest);
            socket.flush();
            while (!socket.canReadLine() &&
                   socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
            }
            if (socket.canReadLine() && socket.readLine() == kShownAnswer) {
                return true;
            }
        }
        // Not listening yet (it is still starting), or gone meanwhile.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

#ifndef _WIN32
namespace {

std::array<int, 2> g_StopSockets = {-1, -1};

extern "C" void OnDesktopStopSignal(int /*signal*/) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(g_StopSockets[0], &byte, 1);
    errno = saved;
}

} // namespace

void InstallStopSignals(std::function<void()> onStop) {
    if (g_StopSockets[0] >= 0) {
        return;
    }
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_StopSockets.data()) != 0) {
        throw HostCallError("cannot create the signal socket pair");
    }
    for (const int fd : g_StopSockets) {
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
    auto* notifier = new QSocketNotifier(g_StopSockets[1], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, [onStop = std::move(onStop)] {
        std::array<char, 64> drain{};
        while (::read(g_StopSockets[1], drain.data(), drain.size()) > 0) {
        }
        onStop();
    });
    struct sigaction action {};
    action.sa_handler = OnDesktopStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}
#else
void InstallStopSignals(std::function<void()> /*onStop*/) {
    // Windows ends a program through the session or the task manager, which
    // arrive as close requests.
}
#endif

} // namespace velmar
