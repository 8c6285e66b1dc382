#include "window/qt/QtIcons.h"

#include <QIconEngine>
#include <QPaintDevice>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <array>

namespace velmar {

namespace {

// The program's icon as PNG renderings of every size built into the program
// (":/icons/hicolor/NxN/apps/NAME.png"), named as the icon theme names it.
// A rendering is read when a size is first drawn, and only the one that size
// needs: a theme lookup (QIcon::fromTheme) would cost the start-up several
// milliseconds, an SVG more, and even QIcon::addFile opens every file to learn
// its format. The name goes with it, so that a StatusNotifierItem host draws
// the icon from its own theme where that has it, and the renderings where not.
class BuiltInIconEngine : public QIconEngine {
public:
    explicit BuiltInIconEngine(const QString& name) : m_Name(name) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const qreal scale = painter->device() != nullptr ? painter->device()->devicePixelRatioF() : 1.0;
        Renderings(rect.size() * scale).paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Renderings(size).pixmap(size, 1.0, mode, state);
    }
    // `size` is in device pixels, the logical size times `scale`.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
        return scale > 0 ? Renderings(size).pixmap(size / scale, scale, mode, state)
                         : Renderings(size).pixmap(size, 1.0, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Renderings(size).actualSize(size, mode, state);
    }
    // Every size built in, as for the renderings of the normal mode and the
    // off state alone, which is what they are.
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        QList<QSize> sizes;
        if (mode == QIcon::Normal && state == QIcon::Off) {
            for (const int size : kBuiltInIconSizes) {
                sizes.append(QSize(size, size));
            }
        }
        return sizes;
    }
    QString iconName() override { return m_Name; }
    QString key() const override { return QStringLiteral("velmar-built-in"); }
    QIconEngine* clone() const override { return new BuiltInIconEngine(*this); }

private:
    // The sizes rendered into dist/icons/hicolor (dist/CMakeLists.txt).
    static constexpr std::array kBuiltInIconSizes = {VELMAR_ICON_SIZES};

    // The renderings read so far, with the one that suits `devicePixels` among
    // them: as QIcon chooses, the smallest that is at least as large, else the
    // largest.
    const QIcon& Renderings(const QSize& devicePixels) {
        const int wanted = std::max(devicePixels.width(), devicePixels.height());
        int best = 0;
        for (const int size : kBuiltInIconSizes) {
            const bool bigEnough = size >= wanted;
            const bool bestBigEnough = best >= wanted;
            if (best == 0 || (bigEnough && (!bestBigEnough || size < best)) ||
                (!bigEnough && !bestBigEnough && size > best)) {
                best = size;
            }
        }
        if (best != 0 && !m_Read.contains(best)) {
            m_Read.append(best);
            m_Renderings.addPixmap(
                QPixmap(QStringLiteral(":/icons/hicolor/%1x%1/apps/%2.png").arg(best).arg(m_Name), "PNG"));
        }
        return m_Renderings;
    }

    QString m_Name;
    QList<int> m_Read;
    QIcon m_Renderings;
};

} // namespace

QIcon ProgramIcon() {
    return QIcon(new BuiltInIconEngine(QStringLiteral("velmar-active-profiles")));
}

QIcon WarningProgramIcon() {
    return QIcon(new BuiltInIconEngine(QStringLiteral("velmar-active-profiles-warning")));
}

} // namespace velmar
