#include "platform/qt/QtImageSurface.h"

#include "common/Errors.h"
#include "platform/PixelLine.h"

#include <QBuffer>
#include <QByteArray>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPointer>
#include <QSaveFile>
#include <QString>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

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
    : m_Image(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32), m_Width(std::max(width, 0)),
      m_Height(std::max(height, 0)), m_Background(background), m_Font(font) {
    m_Font.setStyleStrategy(QFont::NoAntialias);
    Clear();
}

long long QtImageSurface::Scaled(long long coordinate) const {
    return std::llround(static_cast<double>(coordinate) * m_Scale);
}

void QtImageSurface::FillPictureRect(long long left, long long top, long long right, long long bottom,
                                     QRgb rgb) {
    const long long imageLeft = std::clamp<long long>(Scaled(left), 0, m_Image.width());
    const long long imageRight = std::clamp<long long>(Scaled(right), 0, m_Image.width());
    const long long imageTop = std::clamp<long long>(Scaled(top), 0, m_Image.height());
    const long long imageBottom = std::clamp<long long>(Scaled(bottom), 0, m_Image.height());
    uchar* const bits = m_Image.bits();
    const qsizetype stride = m_Image.bytesPerLine();
    for (long long row = imageTop; row < imageBottom; ++row) {
        auto* line = reinterpret_cast<QRgb*>(bits + row * stride);
        std::fill(line + imageLeft, line + imageRight, rgb);
    }
}

void QtImageSurface::SetScale(double scale) {
    if (!(scale > 0) || !std::isfinite(scale)) {
        throw InvalidArgumentError("a surface's scale must be above 0");
    }
    if (scale == m_Scale) {
        return;
    }
    m_Scale = scale;
    m_Stamps.clear();
    m_Metrics.reset();
    m_Image =
        QImage(static_cast<int>(Scaled(m_Width)), static_cast<int>(Scaled(m_Height)), QImage::Format_RGB32);
    Clear();
}

void QtImageSurface::Line(double x1, double y1, double x2, double y2, Colour colour) {
    if (m_Image.isNull()) {
        return;
    }
    const QRgb rgb = qRgb(RedOf(colour), GreenOf(colour), BlueOf(colour));
    if (m_Scale != 1) {
        // The picture's pixels of the line, each as a block of image pixels.
        ForEachSurfaceLineRun(
            x1, y1, x2, y2, m_Width, m_Height,
            [&](long long y, long long first, long long end) { FillPictureRect(first, y, end, y + 1, rgb); });
        return;
    }
    uchar* const bits = m_Image.bits();
    const qsizetype stride = m_Image.bytesPerLine();
    ForEachSurfaceLineRun(x1, y1, x2, y2, m_Image.width(), m_Image.height(),
                          [&](long long y, long long first, long long end) {
                              auto* row = reinterpret_cast<QRgb*>(bits + y * stride);
                              std::fill(row + first, row + end, rgb);
                          });
}

void QtImageSurface::SetFontBold(bool bold) {
    if (m_Font.bold() != bold) {
        m_Font.setBold(bold);
        m_Metrics.reset();
    }
}

QFont QtImageSurface::ScaledFont() const {
    if (m_Scale == 1) {
        return m_Font;
    }
    QFont font = m_Font;
    if (font.pixelSize() > 0) {
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(font.pixelSize() * m_Scale))));
    } else {
        font.setPointSizeF(font.pointSizeF() * m_Scale);
    }
    return font;
}

const QFontMetricsF& QtImageSurface::Metrics() {
    if (!m_Metrics) {
        m_Metrics.emplace(m_Font, &m_Image);
    }
    return *m_Metrics;
}

float QtImageSurface::TextWidth(std::string_view text) {
    const QFontMetricsF& metrics = Metrics();
    qreal widest = 0;
    for (const QString& line : ToQString(text).split(QLatin1Char('\n'))) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    return static_cast<float>(widest);
}

float QtImageSurface::TextHeight(std::string_view text) {
    const auto lines = 1 + std::count(text.begin(), text.end(), '\n');
    return static_cast<float>(Metrics().height() * static_cast<qreal>(lines));
}

const QtImageSurface::TextStamp& QtImageSurface::Stamp(std::string_view text, qreal fractionX,
                                                       qreal fractionY) {
    std::string key(text);
    key.push_back('\0');
    key.push_back(m_Font.bold() ? 'b' : 'r');
    key.append(reinterpret_cast<const char*>(&fractionX), sizeof fractionX);
    key.append(reinterpret_cast<const char*>(&fractionY), sizeof fractionY);
    if (const auto found = m_Stamps.find(key); found != m_Stamps.end()) {
        return found->second;
    }
    // Texts a component prints are few (labels, day numbers); a host that prints
    // ever new ones only costs a fresh start of the cache now and then.
    constexpr std::size_t kMostStamps = 4096;
    if (m_Stamps.size() >= kMostStamps) {
        m_Stamps.clear();
    }
    const QString qtext = ToQString(text);
    const QFontMetricsF& metrics = Metrics();
    TextStamp stamp;
    stamp.Advance = metrics.horizontalAdvance(qtext);
    // Room for glyphs that reach beyond their advance or the line's ascent and descent.
    const int margin = static_cast<int>(std::ceil(metrics.height())) + 2;
    stamp.Left = -margin;
    stamp.Top = -margin - static_cast<int>(std::ceil(metrics.ascent()));
    const int width = 2 * margin + static_cast<int>(std::ceil(stamp.Advance));
    const int height = -stamp.Top + margin + static_cast<int>(std::ceil(metrics.descent()));
    stamp.Mask = QImage(static_cast<int>(std::ceil(width * m_Scale)),
                        static_cast<int>(std::ceil(height * m_Scale)), QImage::Format_ARGB32_Premultiplied);
    stamp.Mask.fill(Qt::transparent);
    {
        QPainter painter(&stamp.Mask);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        // At a scale the glyphs are drawn by a font of the scaled size, not
        // enlarged, and placed by that font's own advances: the small font's
        // hinted advances, scaled, would leave uneven gaps between letters.
        painter.setFont(ScaledFont());
        painter.setPen(Qt::black);
        painter.drawText(QPointF((-stamp.Left + fractionX) * m_Scale, (-stamp.Top + fractionY) * m_Scale),
                         qtext);
    }
    return m_Stamps.emplace(std::move(key), std::move(stamp)).first->second;
}

void QtImageSurface::Print(std::string_view text, bool endLine) {
    const QFontMetricsF& metrics = Metrics();
    // The text's top left corner is at (CurrentX, CurrentY); Qt places the baseline.
    const QPointF origin(m_CurrentX, m_CurrentY + metrics.ascent());
    const qreal wholeX = std::floor(origin.x());
    const qreal wholeY = std::floor(origin.y());
    if (std::isfinite(wholeX) && std::isfinite(wholeY) && std::abs(wholeX) < 1e6 && std::abs(wholeY) < 1e6 &&
        !m_Image.isNull()) {
        const TextStamp& stamp = Stamp(text, origin.x() - wholeX, origin.y() - wholeY);
        const QRgb ink = qRgb(RedOf(m_ForeColor), GreenOf(m_ForeColor), BlueOf(m_ForeColor));
        const int left = static_cast<int>(Scaled(static_cast<long long>(wholeX) + stamp.Left));
        const int top = static_cast<int>(Scaled(static_cast<long long>(wholeY) + stamp.Top));
        const int firstY = std::max(0, -top);
        const int endY = std::min(stamp.Mask.height(), m_Image.height() - top);
        const int firstX = std::max(0, -left);
        const int endX = std::min(stamp.Mask.width(), m_Image.width() - left);
        uchar* const bits = m_Image.bits();
        const qsizetype stride = m_Image.bytesPerLine();
        for (int y = firstY; y < endY; ++y) {
            const auto* mask = reinterpret_cast<const QRgb*>(stamp.Mask.constScanLine(y));
            auto* row = reinterpret_cast<QRgb*>(bits + (top + y) * stride) + left;
            for (int x = firstX; x < endX; ++x) {
                if (qAlpha(mask[x]) != 0) {
                    row[x] = ink;
                }
            }
        }
        if (!endLine) {
            m_CurrentX += static_cast<float>(stamp.Advance);
        }
    } else if (!endLine) {
        // Far off the image nothing is drawn, but the position still moves on.
        m_CurrentX += static_cast<float>(metrics.horizontalAdvance(ToQString(text)));
    }
    if (endLine) {
        m_CurrentX = 0;
        m_CurrentY += static_cast<float>(metrics.height());
    }
}

void QtImageSurface::FillRect(double x, double y, double width, double height, Colour colour) {
    PixelRect rect;
    if (!ClipRectangle(x, y, width, height, m_Width, m_Height, rect)) {
        return;
    }
    const QRgb rgb = qRgb(RedOf(colour), GreenOf(colour), BlueOf(colour));
    if (m_Scale != 1) {
        FillPictureRect(rect.Left, rect.Top, rect.Right, rect.Bottom, rgb);
        return;
    }
    uchar* const bits = m_Image.bits();
    const qsizetype stride = m_Image.bytesPerLine();
    for (long long row = rect.Top; row < rect.Bottom; ++row) {
        auto* line = reinterpret_cast<QRgb*>(bits + row * stride);
        std::fill(line + rect.Left, line + rect.Right, rgb);
    }
}

Colour QtImageSurface::Pixel(int x, int y) const {
    if (x < 0 || x >= m_Width || y < 0 || y >= m_Height) {
        throw OutOfRangeError("pixel (" + std::to_string(x) + ", " + std::to_string(y) +
                              ") outside the image");
    }
    return FromQColor(QColor(m_Image.pixel(static_cast<int>(Scaled(x)), static_cast<int>(Scaled(y)))));
}

void QtImageSurface::DrawImage(const QImage& image, int x, int y) {
    if (m_Scale != 1) {
        QPainter painter(&m_Image);
        painter.drawImage(QRectF(static_cast<qreal>(Scaled(x)), static_cast<qreal>(Scaled(y)),
                                 static_cast<qreal>(image.width()) * m_Scale,
                                 static_cast<qreal>(image.height()) * m_Scale),
                          image);
        return;
    }
    if (image.format() != QImage::Format_RGB32) {
        // Transparency or another pixel format: Qt blends and converts.
        QPainter painter(&m_Image);
        painter.drawImage(QPoint(x, y), image);
        return;
    }
    const int firstY = std::max(0, -y);
    const int endY = std::min(image.height(), m_Image.height() - y);
    const int firstX = std::max(0, -x);
    const int endX = std::min(image.width(), m_Image.width() - x);
    if (firstX >= endX) {
        return;
    }
    for (int row = firstY; row < endY; ++row) {
        const auto* source = reinterpret_cast<const QRgb*>(image.constScanLine(row));
        auto* target = reinterpret_cast<QRgb*>(m_Image.scanLine(y + row));
        std::copy(source + firstX, source + endX, target + x + firstX);
    }
}

void QtImageSurface::Clear() {
    m_Image.fill(ToQColor(m_Background));
}

void QtImageSurface::Resize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == m_Width && height == m_Height) {
        return;
    }
    m_Width = width;
    m_Height = height;
    QImage resized(static_cast<int>(Scaled(width)), static_cast<int>(Scaled(height)), QImage::Format_RGB32);
    resized.fill(ToQColor(m_Background));
    {
        QPainter painter(&resized);
        painter.drawImage(QPoint(0, 0), m_Image);
    }
    m_Image = std::move(resized);
}

void QtImageSurface::SavePng(const std::string& path) const {
    // Encoded in memory first, then written to a temporary file beside the
    // target, which replaces the target only once the write and the close
    // succeeded. QImage::save to a file reports success for a picture cut off
    // by a full disk.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!m_Image.save(&buffer, "PNG")) {
        throw FileError("cannot encode the PNG file " + path);
    }
    QSaveFile file(QString::fromStdString(path));
    const auto fail = [&path, &file](const std::string& reason) {
        file.cancelWriting();
        throw FileError("cannot write the PNG file " + path + ": " + reason);
    };
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        fail(file.errorString().toStdString());
    }
    errno = 0;
    if (file.write(png) != png.size()) {
        // The system's reason (a full disk, a file too large); Qt's text for a
        // failed write does not always carry it.
        const int reason = errno;
        fail(reason != 0 ? std::strerror(reason) : file.errorString().toStdString());
    }
    if (!file.commit()) {
        fail(file.errorString().toStdString());
    }
}

} // namespace velmar
