#include "editor/PictureBox.h"

#include "editor_host/EditorZoom.h"
#include "platform/qt/QtImageSurface.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QShowEvent>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>

namespace velmar {

namespace {

int ButtonOf(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

// Screen readers meet a picture box as a canvas, a drawing the user works on,
// rather than as a filler between controls. Its name and description are the
// widget's.
QAccessibleInterface* PictureBoxAccessible(const QString& className, QObject* object) {
    auto* picture = dynamic_cast<PictureBox*>(object);
    if (picture == nullptr || className != QLatin1String("QWidget")) {
        return nullptr;
    }
    return new QAccessibleWidget(picture, QAccessible::Canvas);
}

} // namespace

PictureBox::PictureBox(QtImageSurface& surface, QWidget* parent) : QWidget(parent), m_Surface(surface) {
    static const bool accessibleAsCanvas = [] {
        QAccessible::installFactory(PictureBoxAccessible);
        return true;
    }();
    (void)accessibleAsCanvas;
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    SyncSize();
}

void PictureBox::SyncSize() {
    setFixedSize(ZoomedSize());
    update();
}

void PictureBox::SetZoom(int zoom) {
    m_Zoom = std::clamp(zoom, kSmallestZoom, kLargestZoom);
    m_Surface.SetScale(m_Zoom * devicePixelRatioF());
    SyncSize();
}

void PictureBox::FollowDevicePixelRatio() {
    const double scale = m_Zoom * devicePixelRatioF();
    if (m_Surface.Scale() == scale) {
        return;
    }
    m_Surface.SetScale(scale);
    if (OnRescaled) {
        OnRescaled();
    }
    update();
}

bool PictureBox::event(QEvent* event) {
    // Qt sends this to every widget of a window that moved to another screen.
    if (event->type() == QEvent::ScreenChangeInternal) {
        FollowDevicePixelRatio();
    }
    return QWidget::event(event);
}

void PictureBox::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The window may open on a screen other than the one the zoom was set for.
    FollowDevicePixelRatio();
}

QPoint PictureBox::WidgetPoint(double x, double y) const {
    return {static_cast<int>(x * m_Zoom), static_cast<int>(y * m_Zoom)};
}

QSize PictureBox::ZoomedSize() const {
    return {m_Surface.Width() * m_Zoom, m_Surface.Height() * m_Zoom};
}

QSize PictureBox::sizeHint() const {
    return ZoomedSize();
}

void PictureBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QImage& image = m_Surface.Image();
    if (m_Zoom == 1 && m_Surface.Scale() == 1) {
        painter.drawImage(QPoint(0, 0), image);
    } else {
        // The image has as many pixels as the screen shows here: no enlargement.
        painter.drawImage(QRectF(0, 0, m_Surface.Width() * m_Zoom, m_Surface.Height() * m_Zoom), image);
        painter.scale(m_Zoom, m_Zoom);
    }
    if (OnOverlay) {
        OnOverlay(painter);
    }
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    const int button = ButtonOf(event->button());
    if (button != 0 && OnPress) {
        OnPress(button, static_cast<float>(PicturePosition(event->position().x(), m_Zoom)),
                static_cast<float>(PicturePosition(event->position().y(), m_Zoom)));
    }
    AfterEvent();
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    if (OnMove) {
        OnMove(static_cast<float>(PicturePosition(event->position().x(), m_Zoom)),
               static_cast<float>(PicturePosition(event->position().y(), m_Zoom)));
    }
    AfterEvent();
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    if (ButtonOf(event->button()) != 0 && OnRelease) {
        OnRelease(static_cast<float>(PicturePosition(event->position().x(), m_Zoom)),
                  static_cast<float>(PicturePosition(event->position().y(), m_Zoom)));
    }
    AfterEvent();
}

void PictureBox::keyPressEvent(QKeyEvent* event) {
    if (OnKey && OnKey(event)) {
        event->accept();
        AfterEvent();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PictureBox::wheelEvent(QWheelEvent* event) {
    if ((event->modifiers() & Qt::ControlModifier) == 0 || !OnZoomSteps) {
        // Scrolls the area the picture is in.
        QWidget::wheelEvent(event);
        return;
    }
    event->accept();
    if (const int steps = WheelZoomSteps(m_PendingWheel, event->angleDelta().y()); steps != 0) {
        OnZoomSteps(steps);
    }
}

bool PictureBox::focusNextPrevChild(bool next) {
    // Tab and Backtab leave the picture box as from any other control.
    return QWidget::focusNextPrevChild(next);
}

void PictureBox::AfterEvent() {
    setCursor(m_Surface.MousePointer() == kPointerSizeWE ? Qt::SizeHorCursor : Qt::ArrowCursor);
    const std::string tip = m_Surface.ToolTipText();
    if (tip != m_ShownTip) {
        m_ShownTip = tip;
        setToolTip(QString::fromStdString(tip));
        if (tip.empty()) {
            QToolTip::hideText();
        } else if (underMouse()) {
            QToolTip::showText(QCursor::pos(), QString::fromStdString(tip), this);
        }
    }
    update();
}

} // namespace velmar
