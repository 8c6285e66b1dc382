// The program's icons and the list's marks at every scale of the screen. The
// application comes from the suite's environment (QtDesktopTests.cpp).

#include "tests/support/TestFiles.h"
#include "window/qt/QtIcons.h"
#include "window/qt/QtImageList.h"

#include <QPainter>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace velmar {
namespace {

// Pixels of the middle row that are neither transparent nor opaque: the
// antialiased rim of a ball drawn at this size, wider when a smaller picture
// was stretched.
int SoftPixelsOnTheMiddleRow(const QImage& image) {
    int soft = 0;
    for (int x = 0; x < image.width(); ++x) {
        const int alpha = qAlpha(image.pixel(x, image.height() / 2));
        soft += alpha > 0 && alpha < 255 ? 1 : 0;
    }
    return soft;
}

TEST(QtIcons, ListMarksAreDrawnForTheDevicePixelRatio) {
    const QtImageList images;
    for (const std::int16_t number : {kImageInactive, kImageActive}) {
        for (const qreal ratio : {1.0, 1.25, 1.5, 2.0, 3.0}) {
            const QPixmap pixmap =
                images.Image(number).pixmap(QSize(kSmallImageSize, kSmallImageSize), ratio);
            const int device = qRound(kSmallImageSize * ratio);
            EXPECT_EQ(pixmap.size(), QSize(device, device)) << ratio;
            EXPECT_DOUBLE_EQ(pixmap.devicePixelRatio(), ratio);
            const QImage image = pixmap.toImage();
            EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << "corner transparent at " << ratio;
            EXPECT_EQ(qAlpha(image.pixel(device / 2, device / 2)), 255) << "ball opaque at " << ratio;
            EXPECT_LE(SoftPixelsOnTheMiddleRow(image), 4) << "a sharp rim at " << ratio;

            if (ratio != std::floor(ratio)) {
                continue; // a fractional device size is rounded: 17.5 pixels become 18
            }
            // The list paints the icon into a rectangle of logical pixels on a
            // scaled surface: the same picture.
            QImage painted(device, device, QImage::Format_ARGB32_Premultiplied);
            painted.setDevicePixelRatio(ratio);
            painted.fill(Qt::transparent);
            {
                QPainter painter(&painted);
                images.Image(number).paint(&painter, QRect(0, 0, kSmallImageSize, kSmallImageSize));
            }
            EXPECT_EQ(painted.convertToFormat(image.format()), image) << "painted at " << ratio;
        }
    }
}

constexpr std::array<int, 8> kThemeSizes = {16, 22, 24, 32, 48, 64, 128, 256};

// Amber: the warning mark's colour.
bool IsAmber(QRgb pixel) {
    return qRed(pixel) > 200 && qGreen(pixel) > 120 && qGreen(pixel) < 200 && qBlue(pixel) < 60;
}

int AmberPixels(const QIcon& icon) {
    const QImage image = icon.pixmap(QSize(32, 32), 1.0).toImage();
    int amber = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            amber += IsAmber(image.pixel(x, y)) ? 1 : 0;
        }
    }
    return amber;
}

TEST(QtIcons, BuiltInProgramIconsCoverTheThemeSizesAndScaleTwo) {
    QIcon::setThemeName(QString());
    for (const QIcon& icon : {ProgramIcon(), WarningProgramIcon()}) {
        ASSERT_FALSE(icon.isNull());
        for (const int size : kThemeSizes) {
            EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size))) << size;
            // At scale factor 2 the picture is the one made for twice the size.
            const QPixmap pixmap = icon.pixmap(QSize(size, size), 2.0);
            EXPECT_EQ(pixmap.size(), QSize(2 * size, 2 * size).boundedTo(QSize(256, 256))) << size;
        }
    }
    EXPECT_EQ(AmberPixels(ProgramIcon()), 0);
    EXPECT_GT(AmberPixels(WarningProgramIcon()), 20) << "the warning variant carries an amber mark";
}

TEST(QtIcons, TheBuiltInRenderingsAreDrawnAndCarryTheThemeName) {
    // A theme of its own whose two icons are solid colours: looking it up
    // would cost the start-up a theme search, so the program draws its own
    // renderings and leaves the theme to desktops that draw tray icons by name.
    const test::TempDir themes;
    const auto apps = themes.Path() / "velmar-test" / "16x16" / "apps";
    std::filesystem::create_directories(apps);
    std::ofstream(themes.Path() / "velmar-test" / "index.theme")
        << "[Icon Theme]\nName=velmar-test\nDirectories=16x16/apps\n\n[16x16/apps]\nSize=16\nType=Fixed\n";
    const auto solid = [&apps](const char* name, QRgb colour) {
        QImage image(16, 16, QImage::Format_ARGB32);
        image.fill(colour);
        return image.save(QString::fromStdString((apps / name).string()));
    };
    ASSERT_TRUE(solid("velmar-active-profiles.png", qRgb(255, 0, 255)));
    ASSERT_TRUE(solid("velmar-active-profiles-warning.png", qRgb(0, 255, 255)));

    const QStringList previousPaths = QIcon::themeSearchPaths();
    QIcon::setThemeSearchPaths({QString::fromStdString(themes.Path().string())});
    QIcon::setThemeName("velmar-test");
    const auto centre = [](const QIcon& icon) {
        return icon.pixmap(QSize(16, 16), 1.0).toImage().pixel(8, 8);
    };
    const QIcon program = ProgramIcon();
    const QIcon warning = WarningProgramIcon();
    EXPECT_EQ(program.name(), "velmar-active-profiles") << "the tray can hand the name to the desktop";
    EXPECT_EQ(warning.name(), "velmar-active-profiles-warning");
    EXPECT_NE(centre(program), qRgb(255, 0, 255));
    EXPECT_NE(centre(warning), qRgb(0, 255, 255));
    EXPECT_EQ(AmberPixels(program), 0);
    EXPECT_GT(AmberPixels(warning), 20);
    QIcon::setThemeName(QString());
    QIcon::setThemeSearchPaths(previousPaths);
}

} // namespace
} // namespace velmar
