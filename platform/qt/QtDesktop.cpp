#include "platform/qt/QtDesktop.h"

#include "common/Errors.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QRadialGradient>
#include <QSocketNotifier>
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

QPixmap DrawBallImage(const QColor& colour) {
    QPixmap pixmap(kSmallImageSize, kSmallImageSize);
    pixmap.fill(Qt::white);
    {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        QRadialGradient shade(QPointF(5.0, 5.0), 8.0);
        shade.setColorAt(0.0, colour.lighter(170));
        shade.setColorAt(1.0, colour.darker(115));
        painter.setPen(QPen(colour.darker(160), 1.0));
        painter.setBrush(shade);
        painter.drawEllipse(QRectF(1.5, 1.5, 11.0, 11.0));
    }
    // White is the transparent colour; the ball itself holds no pure white.
    pixmap.setMask(pixmap.createMaskFromColor(Qt::white, Qt::MaskInColor));
    return pixmap;
}

QIcon DrawProgramIcon() {
    QIcon icon;
    for (const int size : {16, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 16.0, size / 16.0);
        painter.setPen(QPen(QColor(20, 50, 110), 1.0));
        painter.setBrush(QColor(40, 100, 190));
        painter.drawEllipse(QRectF(0.5, 0.5, 15.0, 15.0));
        painter.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(8.0, 8.0), QPointF(8.0, 3.5));
        painter.drawLine(QPointF(8.0, 8.0), QPointF(11.0, 9.5));
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(60, 200, 80));
        painter.drawEllipse(QRectF(9.5, 9.5, 6.0, 6.0));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QIcon DrawWarningIcon(const QIcon& icon) {
    QIcon warning;
    for (const int size : {16, 32}) {
        QPixmap pixmap = icon.pixmap(size, size);
        if (pixmap.isNull()) {
            pixmap = QPixmap(size, size);
            pixmap.fill(Qt::transparent);
        }
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 16.0, size / 16.0);
        const std::array<QPointF, 3> triangle = {QPointF(11.5, 6.5), QPointF(16.0, 15.5), QPointF(7.0, 15.5)};
        painter.setPen(QPen(QColor(90, 50, 0), 0.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(QColor(255, 176, 0));
        painter.drawPolygon(triangle.data(), static_cast<int>(triangle.size()));
        painter.setPen(QPen(QColor(40, 20, 0), 1.2, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(11.5, 9.3), QPointF(11.5, 12.2));
        painter.drawPoint(QPointF(11.5, 14.0));
        painter.end();
        warning.addPixmap(pixmap);
    }
    return warning;
}

QtImageList::QtImageList() {
    m_Images[0] = QIcon(DrawBallImage(QColor(215, 30, 30)));
    m_Images[1] = QIcon(DrawBallImage(QColor(30, 175, 50)));
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
      m_Icon(std::make_shared<QtPicture>(DrawProgramIcon())) {
    setObjectName("VelmarActiveProfiles_Main");
    setWindowIcon(m_Icon->Icon());
    m_ListWidget->setObjectName("List_ActiveProfiles");
    m_ListWidget->setColumnCount(1);
    m_ListWidget->setHeaderLabels({QStringLiteral("Profile")});
    m_ListWidget->setRootIsDecorated(false);
    m_ListWidget->setUniformRowHeights(true);
    m_ListWidget->setIconSize(QSize(images.ImageWidth(), images.ImageHeight()));
    m_ListWidget->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_ListWidget->setSelectionMode(QAbstractItemView::SingleSelection);
    m_ListWidget->header()->setStretchLastSection(false);
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
    m_Tray.setIcon(m_Warning ? DrawWarningIcon(icon) : icon);
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

void QtWait::Sleep(std::int32_t milliseconds) {
    if (milliseconds > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
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
}
#else
void InstallStopSignals(std::function<void()> /*onStop*/) {
    // Windows ends a program through the session or the task manager, which
    // arrive as close requests.
}
#endif

} // namespace velmar
