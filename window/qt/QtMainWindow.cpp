#include "window/qt/QtMainWindow.h"

#include "window/qt/QtIcons.h"
#include "window/qt/QtImageList.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>

namespace velmar {

namespace {

// The theme's error colour: Qt's palette has no role for it, so it is a red
// chosen to keep its contrast against the theme's window colour.
QColor ErrorColour(const QPalette& palette) {
    return palette.color(QPalette::Window).lightness() < 128 ? QColor(255, 110, 100) : QColor(190, 0, 0);
}

} // namespace

QtMainWindow::QtMainWindow(const QtImageList& images, Contents contents)
    : m_Images(images), m_List([this]() -> QTreeWidget& { return ListWidget(); }, images),
      m_Icon(std::make_shared<QtPicture>(ProgramIcon())) {
    setObjectName("VelmarActiveProfiles_Main");
    setWindowIcon(m_Icon->Icon());
    if (contents == Contents::Now) {
        MakeContents();
    }
}

QTreeWidget& QtMainWindow::ListWidget() {
    MakeContents();
    return *m_ListWidget;
}

void QtMainWindow::MakeContents() {
    if (ContentsMade()) {
        return;
    }
    m_Inner = new QWidget(this);
    m_ListWidget = new QTreeWidget(m_Inner);
    m_StatusLabel = new QLabel(this);
    m_ListWidget->setObjectName("List_ActiveProfiles");
    m_ListWidget->setAccessibleName(QStringLiteral("Profiles"));
    m_ListWidget->setColumnCount(1);
    m_ListWidget->setHeaderLabels({QObject::tr("Profile")});
    m_ListWidget->setRootIsDecorated(false);
    m_ListWidget->setUniformRowHeights(true);
    m_ListWidget->setIconSize(QSize(m_Images.ImageWidth(), m_Images.ImageHeight()));
    m_ListWidget->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_ListWidget->setSelectionMode(QAbstractItemView::SingleSelection);
    m_ListWidget->header()->setStretchLastSection(false);

    m_Quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this);
    QObject::connect(m_Quit, &QShortcut::activated, this, [this] { RequestClose(CloseReason::ProgramCode); });
    for (const QKeySequence& keys : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        auto* close = new QShortcut(keys, this);
        QObject::connect(close, &QShortcut::activated, this, [this] { Close(CloseReason::UserClose); });
    }
    m_StatusLabel->setObjectName("Label_Status");
    m_StatusLabel->setTextFormat(Qt::PlainText);
    m_StatusLabel->setContentsMargins(4, 2, 4, 2);
    m_StatusLabel->setGeometry(0, 0, 0, StatusHeight());

    // What was asked of the window before.
    if (m_InnerSize.isValid()) {
        resize(m_InnerSize.width(), m_InnerSize.height() + StatusHeight());
    }
    if (m_CommandMenu != nullptr) {
        AddMenuBar(*m_CommandMenu);
    }
    LayOut();
}

void QtMainWindow::SetCommandMenu(QMenu& menu) {
    m_CommandMenu = &menu;
    if (ContentsMade()) {
        AddMenuBar(menu);
    }
}

void QtMainWindow::AddMenuBar(QMenu& menu) {
    m_ListWidget->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(
        m_ListWidget, &QWidget::customContextMenuRequested, this,
        [this, &menu](const QPoint& at) { menu.popup(m_ListWidget->viewport()->mapToGlobal(at)); });

    // The bar's menu holds the very actions of the command menu, so that both
    // show the same state and raise the same commands.
    const int innerWidth = InnerWidth();
    const int innerHeight = InnerHeight();
    delete m_MenuBar;
    m_MenuBar = new QMenuBar(this);
    m_MenuBar->setObjectName("Menu_Commands");
    QMenu* commands = m_MenuBar->addMenu(QObject::tr("&Profiles"));
    commands->addActions(menu.actions());
    commands->setToolTipsVisible(true);
    // Two shortcuts for one key would make Qt ignore both.
    delete m_Quit;
    m_Quit = nullptr;
    if (!isMinimized()) {
        SetInnerSize(innerWidth, innerHeight);
    }
    LayOut();
}

int QtMainWindow::MenuHeight() const {
    return m_MenuBar != nullptr && !m_MenuBar->isNativeMenuBar() ? m_MenuBar->sizeHint().height() : 0;
}

int QtMainWindow::StatusHeight() const {
    return m_StatusLabel->fontMetrics().height() + 4;
}

void QtMainWindow::SetStatus(const StatusLine& status) {
    MakeContents();
    m_Status = status;
    ShowStatusText();
    QStringList lines;
    for (const auto& problem : status.Problems) {
        lines << QString::fromStdString(problem).toHtmlEscaped();
    }
    if (!status.Folder.empty()) {
        lines << QString::fromStdString(status.Folder).toHtmlEscaped();
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

void QtMainWindow::ShowStatusText() {
    QString text = QString::fromStdString(m_Status.Text);
    if (!m_Status.Folder.empty()) {
        // The folder takes the room the rest leaves, shortened in the middle,
        // where two folders of one machine differ least often.
        const QString separator = QStringLiteral(" \u00B7 ");
        const QFontMetrics metrics = m_StatusLabel->fontMetrics();
        const QMargins margins = m_StatusLabel->contentsMargins();
        const int room =
            width() - margins.left() - margins.right() - metrics.horizontalAdvance(text + separator) - 2;
        const QString folder =
            metrics.elidedText(QString::fromStdString(m_Status.Folder), Qt::ElideMiddle, std::max(room, 0));
        // With no room left the folder is named in the line's tooltip only.
        if (!folder.isEmpty()) {
            text += separator + folder;
        }
    }
    m_StatusLabel->setText(text);
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
    m_InnerSize = QSize(width, height);
    if (ContentsMade()) {
        resize(width, MenuHeight() + height + StatusHeight());
        LayOut();
    }
}

// A minimised window has no inner area. The menu bar lies above it, the
// status line below. Before the contents are made, the inner area is the one
// asked for.
int QtMainWindow::InnerWidth() const {
    if (isMinimized()) {
        return 0;
    }
    return ContentsMade() || !m_InnerSize.isValid() ? width() : m_InnerSize.width();
}
int QtMainWindow::InnerHeight() const {
    if (isMinimized()) {
        return 0;
    }
    if (!ContentsMade()) {
        return m_InnerSize.isValid() ? m_InnerSize.height() : height();
    }
    return std::max(height() - MenuHeight() - StatusHeight(), 0);
}

void QtMainWindow::Show() {
    MakeContents();
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

bool QtMainWindow::Active() const {
    // Long enough for the click that took the focus away to arrive.
    constexpr qint64 kFocusJustLost = 500; // milliseconds
    return isVisible() && (isActiveWindow() ||
                           (m_SinceDeactivated.isValid() && m_SinceDeactivated.elapsed() < kFocusJustLost));
}

void QtMainWindow::SetState(WindowState state) {
    MakeContents();
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
    LayOut();
    RaiseResize();
}

void QtMainWindow::LayOut() {
    if (!ContentsMade()) {
        return;
    }
    const int menuHeight = MenuHeight();
    const int statusHeight = StatusHeight();
    if (m_MenuBar != nullptr) {
        m_MenuBar->setGeometry(0, 0, width(), menuHeight);
    }
    m_Inner->setGeometry(0, menuHeight, width(), std::max(height() - menuHeight - statusHeight, 0));
    m_StatusLabel->setGeometry(0, std::max(height() - statusHeight, 0), width(), statusHeight);
    ShowStatusText();
}

void QtMainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange) {
        if (isActiveWindow()) {
            m_SinceDeactivated.invalidate();
        } else {
            m_SinceDeactivated.start();
        }
    }
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

} // namespace velmar
