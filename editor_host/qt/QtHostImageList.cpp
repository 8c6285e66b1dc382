#include "editor_host/qt/QtHostImageList.h"

#include "platform/qt/QtImageSurface.h"

#include <QColor>
#include <QPainter>
#include <array>
#include <utility>

namespace velmar {

namespace {

constexpr int kImageCount = 16;

} // namespace

QtHostImageList::QtHostImageList(QtImageSurface& surface, std::vector<QImage> images)
    : m_Surface(surface), m_Images(std::move(images)) {}

void QtHostImageList::Draw(int index, int x, int y) {
    m_Surface.DrawImage(m_Images.at(static_cast<std::size_t>(index - 1)), x, y);
}

std::vector<QImage> ScheduleImages() {
    constexpr int kSize = 14;
    std::vector<QImage> images;
    for (int index = 1; index <= kImageCount; ++index) {
        QImage image(kSize, kSize, QImage::Format_RGB32);
        const QColor fill = QColor::fromHsv((index - 1) * 360 / kImageCount, 200, 230);
        image.fill(fill);
        QPainter painter(&image);
        painter.setPen(fill.darker(170));
        painter.drawRect(0, 0, kSize - 1, kSize - 1);
        for (int bit = 0; bit < 4; ++bit) {
            if (((index - 1) >> bit) & 1) {
                painter.drawPoint(3 + 2 * (3 - bit), kSize - 4);
            }
        }
        painter.end();
        images.push_back(image);
    }
    return images;
}

std::vector<QImage> CalendarImages() {
    constexpr int kSize = 8;
    static constexpr std::array<Colour, kImageCount> kColours{
        Rgb(230, 25, 75),  Rgb(60, 180, 75),   Rgb(255, 190, 0),  Rgb(0, 130, 200),
        Rgb(245, 130, 48), Rgb(145, 30, 180),  Rgb(70, 200, 220), Rgb(240, 50, 230),
        Rgb(160, 200, 40), Rgb(250, 150, 170), Rgb(0, 128, 128),  Rgb(170, 110, 40),
        Rgb(128, 0, 0),    Rgb(100, 100, 255), Rgb(128, 128, 0),  Rgb(0, 0, 128),
    };
    std::vector<QImage> images;
    for (int n = 0; n < kImageCount; ++n) {
        QImage image(kSize, kSize, QImage::Format_RGB32);
        image.fill(ToQColor(kColours[static_cast<std::size_t>(n)]));
        const QRgb frame = qRgb(40, 40, 40);
        for (int i = 0; i < kSize; ++i) {
            image.setPixel(i, 0, frame);
            image.setPixel(i, kSize - 1, frame);
            image.setPixel(0, i, frame);
            image.setPixel(kSize - 1, i, frame);
        }
        image.setPixel(1 + n % 6, 1 + n / 6 * 2, qRgb(255, 255, 255));
        images.push_back(image);
    }
    return images;
}

} // namespace velmar
