#include "platform/qt/QtImageSurface.h"

#include "common/Errors.h"
#include "platform/PixelLine.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPointer>
#include <QString>
#include <algorithm>

namespace velmar {

namespace {

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Makes the DejaVu Sans faces carried as resources known to the font
// database, once per QGuiApplication. Without one there is no font database
// (and no text to draw); the next call tries again.
void RegisterCarriedFaces() {
    static QPointer<QCoreApplication> registeredFor;
    QCoreApplication* application = QGuiApplication::instance();
    if (application == nullptr || registeredFor == application) {
        return;
    }
    registeredFor = application;
    for (const char* face : {":/velmar/fonts/DejaVuSans.ttf", ":/velmar/fonts/DejaVuSans-Bold.ttf"}) {
        QFontDatabase::addApplicationFont(QString::fromLatin1(face));
    }
}

} // namespace

QColor ToQColor(Colour colour) {
    return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

Colour FromQColor(const QColor& colour) {
    return Rgb(colour.red(), colour.green(), colour.blue());
}

QFont QtImageSurface::DefaultFont() {
    RegisterCarriedFaces();
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    // Exact pixels: the same text always gives the same pixels, whatever the desktop's settings.
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

QtImageSurface::QtImageSurface(int width, int height, Colour background, const QFont& font)
    : m_Image(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32), m_Background(background),
      m_Font(font) {
    m_Font.setStyleStrategy(QFont::NoAntialias);
    Clear();
}

void QtImageSurface::Line(double x1, double y1, double x2, double y2, Colour colour) {
    const QRgb rgb = ToQColor(colour).rgb();
    ForEachSurfaceLinePixel(x1, y1, x2, y2, m_Image.width(), m_Image.height(), [&](long long x, long long y) {
        m_Image.setPixel(static_cast<int>(x), static_cast<int>(y), rgb);
    });
}

float QtImageSurface::TextWidth(std::string_view text) {
    const QFontMetricsF metrics(m_Font, &m_Image);
    qreal widest = 0;
    for (const QString& line : ToQString(text).split(QLatin1Char('\n'))) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    return static_cast<float>(widest);
}

float QtImageSurface::TextHeight(std::string_view text) {
    const QFontMetricsF metrics(m_Font, &m_Image);
    const auto lines = 1 + std::count(text.begin(), text.end(), '\n');
    return static_cast<float>(metrics.height() * static_cast<qreal>(lines));
}

void QtImageSurface::Print(std::string_view text, bool endLine) {
    const QString qtext = ToQString(text);
    const QFontMetricsF metrics(m_Font, &m_Image);
    {
        QPainter painter(&m_Image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setFont(m_Font);
        painter.setPen(ToQColor(m_ForeColor));
        // The text's top left corner is at (CurrentX, CurrentY); Qt places the baseline.
        painter.drawText(QPointF(m_CurrentX, m_CurrentY + metrics.ascent()), qtext);
    }
    if (endLine) {
        m_CurrentX = 0;
        m_CurrentY += static_cast<float>(metrics.height());
    } else {
        m_CurrentX += static_cast<float>(metrics.horizontalAdvance(qtext));
    }
}

void QtImageSurface::FillRect(double x, double y, double width, double height, Colour colour) {
    PixelRect rect;
    if (!ClipRectangle(x, y, width, height, m_Image.width(), m_Image.height(), rect)) {
        return;
    }
    QPainter painter(&m_Image);
    painter.fillRect(QRect(static_cast<int>(rect.Left), static_cast<int>(rect.Top),
                           static_cast<int>(rect.Right - rect.Left),
                           static_cast<int>(rect.Bottom - rect.Top)),
                     ToQColor(colour));
}

Colour QtImageSurface::Pixel(int x, int y) const {
    if (x < 0 || x >= m_Image.width() || y < 0 || y >= m_Image.height()) {
        throw OutOfRangeError("pixel (" + std::to_string(x) + ", " + std::to_string(y) +
                              ") outside the image");
    }
    return FromQColor(QColor(m_Image.pixel(x, y)));
}

void QtImageSurface::DrawImage(const QImage& image, int x, int y) {
    QPainter painter(&m_Image);
    painter.drawImage(QPoint(x, y), image);
}

void QtImageSurface::Clear() {
    m_Image.fill(ToQColor(m_Background));
}

void QtImageSurface::Resize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == m_Image.width() && height == m_Image.height()) {
        return;
    }
    QImage resized(width, height, QImage::Format_RGB32);
    resized.fill(ToQColor(m_Background));
    {
        QPainter painter(&resized);
        painter.drawImage(QPoint(0, 0), m_Image);
    }
    m_Image = std::move(resized);
}

void QtImageSurface::SavePng(const std::string& path) const {
    if (!m_Image.save(QString::fromStdString(path), "PNG")) {
        throw FileError("cannot write the PNG file " + path);
    }
}

} // namespace velmar
