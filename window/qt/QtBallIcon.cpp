#include "window/ReportList.h"
#include "window/qt/QtIcons.h"

#include <QIconEngine>
#include <QPainter>
#include <QRadialGradient>

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

} // namespace

QIcon DrawBallIcon(const QColor& colour) {
    return QIcon(new BallIconEngine(colour));
}

} // namespace velmar
