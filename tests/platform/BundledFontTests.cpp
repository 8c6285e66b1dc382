// Renders must come out the same on every machine: the image surface draws
// with the DejaVu Sans it carries, not with whatever fonts the system has.
// This suite runs in a process of its own with every system font hidden
// (an empty fontconfig configuration; Windows has no DejaVu Sans anyway).

#include "platform/qt/QtImageSurface.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QRawFont>
#include <array>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace velmar {
namespace {

class BundledFontTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (QGuiApplication::instance() != nullptr) {
            return;
        }
        const std::string config = ::testing::TempDir() + "velmar-no-system-fonts.conf";
        std::ofstream(config) << "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n";
        qputenv("FONTCONFIG_FILE", QByteArray::fromStdString(config));
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static std::string name = "velmar_bundled_font_tests";
        static std::array<char*, 2> argv = {name.data(), nullptr};
        s_App = std::make_unique<QGuiApplication>(argc, argv.data());
    }
    // The application goes before the program's static objects do.
    static void TearDownTestSuite() { s_App.reset(); }

    static inline std::unique_ptr<QGuiApplication> s_App;
};

TEST_F(BundledFontTest, RegularAndBoldAreDejaVuSansWithoutSystemFonts) {
    for (const bool bold : {false, true}) {
        QFont font = QtImageSurface::DefaultFont();
        font.setBold(bold);
        const QFontInfo info(font);
        EXPECT_EQ(info.family().toStdString(), "DejaVu Sans") << "bold " << bold;
        EXPECT_EQ(info.pixelSize(), 11);
        // A real bold face, not one the renderer thickens on its own.
        EXPECT_EQ(QRawFont::fromFont(font).styleName().toStdString(), bold ? "Bold" : "Book");
    }
}

TEST_F(BundledFontTest, TextIsDrawn) {
    QtImageSurface s(80, 20, Rgb(255, 255, 255));
    s.SetForeColor(Rgb(0, 0, 0));
    s.Print("Aktiva profiler:");
    int inked = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 80; ++x) {
            inked += s.Pixel(x, y) == Rgb(0, 0, 0) ? 1 : 0;
        }
    }
    EXPECT_GT(inked, 40);
    EXPECT_GT(s.TextWidth("Aktiva profiler:"), 60.0F);
}

} // namespace
} // namespace velmar
