#include "editor/PictureBox.h"

#include "platform/qt/QtImageSurface.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

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

} // namespace

PictureBox::PictureBox(QtImageSurface& surface, QWidget* parent) : QWidget(parent), m_Surface(surface) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    SyncSize();
}

void PictureBox::SyncSize() {
    setFixedSize(m_Surface.Width(), m_Surface.Height());
    update();
}

QSize PictureBox::sizeHint() const {
    return {m_Surface.Width(), m_Surface.Height()};
}

void PictureBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), m_Surface.Image());
    if (OnOverlay) {
        OnOverlay(painter);
    }
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    const int button = ButtonOf(event->button());
    if (button != 0 && OnPress) {
        OnPress(button, static_cast<float>(event->position().x()), static_cast<float>(event->position().y()));
    }
    AfterEvent();
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    if (OnMove) {
        OnMove(static_cast<float>(event->position().x()), static_cast<float>(event->position().y()));
    }
    AfterEvent();
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    if (ButtonOf(event->button()) != 0 && OnRelease) {
        OnRelease(static_cast<float>(event->position().x()), static_cast<float>(event->position().y()));
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
