#include "window/qt/QtIcons.h"

#include <QIconEngine>
#include <QPainter>
#include <array>

namespace velmar {

namespace {

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

QIcon ProgramIcon() {
    return QIcon(new BuiltInIconEngine(QStringLiteral("velmar-active-profiles")));
}

QIcon WarningProgramIcon() {
    return QIcon(new BuiltInIconEngine(QStringLiteral("velmar-active-profiles-warning")));
}

} // namespace velmar
