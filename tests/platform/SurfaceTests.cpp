// Pixel surfaces: both the recording surface and the image surface must put a
// line on exactly the same pixels, since tests check pixels on the one and the
// tools render with the other.

#include "common/Errors.h"
#include "tests/support/RecordingSurface.h"

#include <array>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <string>
#include <vector>

// Without Qt only the recording surface is tested.
#ifdef VELMAR_WITH_QT
#include "platform/qt/QtImageSurface.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#endif
#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace velmar {
namespace {

constexpr Colour kWhite = Rgb(255, 255, 255);
constexpr Colour kInk = Rgb(10, 20, 30);

#ifdef VELMAR_WITH_QT
// Text drawing on an image needs the font database of a GUI application.
void EnsureGuiApplication() {
    if (QGuiApplication::instance() == nullptr) {
        static int argc = 1;
        static std::string name = "velmar_surface_tests";
        static std::array<char*, 2> argv = {name.data(), nullptr};
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // Never destroyed: at exit it would outlive the font cache that its
        // destructor clears of the surface's own faces.
        static auto* app = new QGuiApplication(argc, argv.data());
        static_cast<void>(app);
    }
}
#endif

struct PixelSurface {
    std::unique_ptr<IDrawingSurface> surface;
    std::function<Colour(int, int)> pixel;
};

PixelSurface MakeRecording(int w, int h) {
    auto s = std::make_unique<RecordingSurface>(w, h, kWhite);
    auto* raw = s.get();
    return {std::move(s), [raw](int x, int y) { return raw->Pixel(x, y); }};
}

#ifdef VELMAR_WITH_QT
PixelSurface MakeImage(int w, int h) {
    auto s = std::make_unique<QtImageSurface>(w, h, kWhite);
    auto* raw = s.get();
    return {std::move(s), [raw](int x, int y) { return raw->Pixel(x, y); }};
}
const auto kSurfaceMakers = std::to_array({&MakeRecording, &MakeImage});
#else
const auto kSurfaceMakers = std::to_array({&MakeRecording});
#endif

class PixelSurfaceTest : public ::testing::TestWithParam<PixelSurface (*)(int, int)> {};

// The coloured pixels of a 40 x 24 surface after one operation, as (x, y) pairs.
std::vector<std::pair<int, int>> Inked(const PixelSurface& s, int w, int h) {
    std::vector<std::pair<int, int>> found;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (s.pixel(x, y) != kWhite) {
                found.emplace_back(x, y);
            }
        }
    }
    return found;
}

TEST_P(PixelSurfaceTest, LinesIncludeTheStartAndExcludeTheEndPixel) {
    using Pixels = std::vector<std::pair<int, int>>;
    struct Case {
        const char* what;
        double x1, y1, x2, y2;
        Pixels expected;
    };
    const auto cases = std::to_array<Case>({
        {"rightwards", 3, 2, 7, 2, {{3, 2}, {4, 2}, {5, 2}, {6, 2}}},
        {"leftwards", 7, 2, 3, 2, {{4, 2}, {5, 2}, {6, 2}, {7, 2}}},
        {"downwards", 5, 1, 5, 4, {{5, 1}, {5, 2}, {5, 3}}},
        {"upwards", 5, 4, 5, 1, {{5, 2}, {5, 3}, {5, 4}}},
        {"length one", 9, 9, 10, 9, {{9, 9}}},
        {"length zero", 9, 9, 9, 9, {}},
        {"halves round to even", 2.5, 3.5, 5.5, 3.5, {{2, 4}, {3, 4}, {4, 4}, {5, 4}}},
        {"diagonal", 0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}}},
        {"clipped at both ends", -50, 23, 1000, 23, {}},
        {"entirely outside", -5, -1, 30, -1, {}},
    });
    for (const auto& c : cases) {
        auto s = GetParam()(40, 24);
        s.surface->Line(c.x1, c.y1, c.x2, c.y2, kInk);
        auto inked = Inked(s, 40, 24);
        if (std::string(c.what) == "clipped at both ends") {
            ASSERT_EQ(inked.size(), 40u) << c.what;
            EXPECT_EQ(inked.front(), std::make_pair(0, 23));
            EXPECT_EQ(inked.back(), std::make_pair(39, 23));
            continue;
        }
        EXPECT_EQ(inked, c.expected) << c.what;
        for (const auto& [x, y] : inked) {
            EXPECT_EQ(s.pixel(x, y), kInk) << c.what;
        }
    }
}

TEST_P(PixelSurfaceTest, LineByEndsRelativeToTheStart) {
    auto s = GetParam()(40, 24);
    s.surface->LineBy(30, 4, 0, 15, kInk);
    EXPECT_EQ(s.pixel(30, 3), kWhite);
    EXPECT_EQ(s.pixel(30, 4), kInk);
    EXPECT_EQ(s.pixel(30, 18), kInk);
    EXPECT_EQ(s.pixel(30, 19), kWhite);
    s.surface->LineBy(20, 0, -5, 0, kInk); // 20, 19, 18, 17, 16
    EXPECT_EQ(Inked(s, 40, 1),
              (std::vector<std::pair<int, int>>{{16, 0}, {17, 0}, {18, 0}, {19, 0}, {20, 0}}));
}

TEST_P(PixelSurfaceTest, FillRectCoversWidthByHeightPixels) {
    auto s = GetParam()(40, 24);
    s.surface->FillRect(2, 3, 4, 2, kInk);
    const auto inked = Inked(s, 40, 24);
    EXPECT_EQ(inked.size(), 8u);
    EXPECT_EQ(inked.front(), std::make_pair(2, 3));
    EXPECT_EQ(inked.back(), std::make_pair(5, 4));
    s.surface->FillRect(35, 20, 100, 100, kInk); // clipped, no failure
    EXPECT_EQ(s.pixel(39, 23), kInk);
}

TEST_P(PixelSurfaceTest, PixelOutsideTheSurfaceIsOutOfRange) {
    auto s = GetParam()(4, 3);
    EXPECT_EQ(s.pixel(3, 2), kWhite);
    EXPECT_THROW(s.pixel(4, 0), OutOfRangeError);
    EXPECT_THROW(s.pixel(0, -1), OutOfRangeError);
}

TEST_P(PixelSurfaceTest, KeepsPointerColourBoldAndToolTip) {
    auto s = GetParam()(4, 3);
    IDrawingSurface& d = *s.surface;
    EXPECT_EQ(d.MousePointer(), kPointerDefault);
    d.SetMousePointer(kPointerSizeWE);
    d.SetForeColor(kInk);
    d.SetFontBold(true);
    d.SetToolTipText("tip");
    d.SetCurrentX(2.5F);
    d.SetCurrentY(1.5F);
    EXPECT_EQ(d.MousePointer(), kPointerSizeWE);
    EXPECT_EQ(d.ForeColor(), kInk);
    EXPECT_TRUE(d.FontBold());
    EXPECT_EQ(d.ToolTipText(), "tip");
    EXPECT_EQ(d.CurrentX(), 2.5F);
    EXPECT_EQ(d.CurrentY(), 1.5F);
    EXPECT_EQ(d.BackColor(), kWhite);
}

INSTANTIATE_TEST_SUITE_P(Surfaces, PixelSurfaceTest, ::testing::ValuesIn(kSurfaceMakers),
                         [](const auto& info) { return info.index == 0 ? "Recording" : "Image"; });

TEST(RecordingSurface, RecordsEveryOperationInOrder) {
    RecordingSurface s(10, 10);
    s.Line(0, 0, 3, 0, Rgb(220, 220, 220));
    s.SetCurrentY(4.5F);
    EXPECT_EQ(s.TextWidth("Mon"), 18.0F);
    s.SetCurrentX(10.0F);
    (void)s.hDC();
    s.Print("Mon");
    s.SetMousePointer(9);
    EXPECT_EQ(s.Describe(),
              (std::vector<std::string>{"Line(0,0,3,0,#dcdcdc)", "CurrentY=4.5", "TextWidth(Mon)",
                                        "CurrentX=10", "hDC", "Print(Mon)@10,4.5", "MousePointer=9"}));
}

TEST(RecordingSurface, FixedTextMetrics) {
    RecordingSurface s(10, 10);
    EXPECT_EQ(s.TextWidth(""), 0.0F);
    EXPECT_EQ(s.TextWidth("Tisdag"), 36.0F);
    EXPECT_EQ(s.TextWidth("S\xC3\xB6n"), 18.0F); // "Sön": characters, not bytes
    EXPECT_EQ(s.TextHeight("8"), 13.0F);
    EXPECT_EQ(s.TextHeight("a\nb"), 26.0F);
    s.Print("abc");
    EXPECT_EQ(s.CurrentX(), 18.0F);
    s.Print("x", true);
    EXPECT_EQ(s.CurrentX(), 0.0F);
    EXPECT_EQ(s.CurrentY(), 13.0F);
    // Print draws no pixels.
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            ASSERT_EQ(s.Pixel(x, y), Rgb(255, 255, 255));
        }
    }
}

#ifdef VELMAR_WITH_QT
TEST(QtImageSurface, TextUsesRealMetricsAndTheForeColour) {
    EnsureGuiApplication();
    QtImageSurface s(120, 30, kWhite);
    const float height = s.TextHeight("8");
    const float width = s.TextWidth("Mon");
    EXPECT_GT(height, 8.0F);
    EXPECT_LT(height, 20.0F);
    EXPECT_GT(width, 10.0F);
    s.SetFontBold(true);
    EXPECT_GE(s.TextWidth("Mon"), width);
    s.SetFontBold(false);
    s.SetForeColor(kInk);
    s.SetCurrentX(4);
    s.SetCurrentY(2);
    s.Print("Mon");
    EXPECT_FLOAT_EQ(s.CurrentX(), 4 + width);
    int inked = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 120; ++x) {
            const Colour c = s.Pixel(x, y);
            // No antialiasing: only the background and the fore colour occur.
            ASSERT_TRUE(c == kWhite || c == kInk) << x << "," << y;
            if (c == kInk) {
                ++inked;
                EXPECT_GE(x, 4);
                EXPECT_LT(x, 4 + static_cast<int>(width) + 1);
                EXPECT_GE(y, 2);
                EXPECT_LT(y, 2 + static_cast<int>(height) + 1);
            }
        }
    }
    EXPECT_GT(inked, 10);
}

// A picture shown zoomed: shapes become blocks of image pixels in the
// picture's coordinates, texts are drawn at the scaled size (sharper than the
// scale-1 picture enlarged) and move the position as at scale 1.
TEST(QtImageSurface, AtAScaleShapesAreBlocksAndTextsAreDrawnAtTheScaledSize) {
    EnsureGuiApplication();
    QtImageSurface s(60, 24, kWhite);
    EXPECT_THROW(s.SetScale(0), InvalidArgumentError);
    s.SetScale(2);
    EXPECT_EQ(s.Width(), 60);
    EXPECT_EQ(s.Height(), 24);
    ASSERT_EQ(s.Image().width(), 120);
    ASSERT_EQ(s.Image().height(), 48);
    s.FillRect(1, 1, 2, 3, kInk);
    s.Line(10, 0, 15, 0, kInk);
    s.Line(50, 30, 55, 30, kInk); // below the picture: nothing
    const auto inked = [&s](int x, int y) { return FromQColor(QColor(s.Image().pixel(x, y))) == kInk; };
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 120; ++x) {
            const bool fill = x >= 2 && x < 6 && y >= 2 && y < 8;
            const bool line = x >= 20 && x < 30 && y < 2;
            ASSERT_EQ(inked(x, y), fill || line) << x << "," << y;
        }
    }
    EXPECT_EQ(s.Pixel(2, 3), kInk); // picture pixels
    EXPECT_EQ(s.Pixel(3, 3), kWhite);

    QtImageSurface plain(60, 24, kWhite);
    QtImageSurface sharp(60, 24, kWhite);
    sharp.SetScale(2);
    for (QtImageSurface* surface : {&plain, &sharp}) {
        surface->SetForeColor(kInk);
        surface->SetCurrentX(4);
        surface->SetCurrentY(2);
        surface->Print("Mon 8");
    }
    EXPECT_FLOAT_EQ(sharp.CurrentX(), plain.CurrentX());
    EXPECT_FLOAT_EQ(sharp.TextWidth("Mon 8"), plain.TextWidth("Mon 8"));
    const QImage enlarged = plain.Image().scaled(120, 48);
    int sharpInk = 0;
    int differing = 0;
    int outside = 0;
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 120; ++x) {
            const bool ink = FromQColor(QColor(sharp.Image().pixel(x, y))) == kInk;
            const bool enlargedInk = FromQColor(QColor(enlarged.pixel(x, y))) == kInk;
            sharpInk += ink ? 1 : 0;
            differing += ink != enlargedInk ? 1 : 0;
            // The glyphs stay where the scale-1 text is, give or take a picture pixel.
            const bool nearText = x >= 6 && x < 2 * (4 + static_cast<int>(plain.TextWidth("Mon 8")) + 1) &&
                                  y >= 2 && y < 2 * (2 + static_cast<int>(plain.TextHeight("8")) + 1);
            outside += ink && !nearText ? 1 : 0;
        }
    }
    EXPECT_GT(sharpInk, 40);
    EXPECT_GT(differing, sharpInk / 10) << "the text is the scale-1 picture enlarged";
    EXPECT_EQ(outside, 0);

    // A resize at a scale keeps the picture's coordinates.
    sharp.Resize(30, 10);
    EXPECT_EQ(sharp.Width(), 30);
    EXPECT_EQ(sharp.Image().width(), 60);
    EXPECT_EQ(sharp.Image().height(), 20);
}

// The widest run of blank columns between the first and the last inked column.
int WidestGap(const QImage& image, QRgb background) {
    std::vector<bool> inked(static_cast<std::size_t>(image.width()), false);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            inked[static_cast<std::size_t>(x)] =
                inked[static_cast<std::size_t>(x)] || image.pixel(x, y) != background;
        }
    }
    int widest = 0;
    int run = 0;
    bool seenInk = false;
    for (const bool ink : inked) {
        if (ink) {
            widest = seenInk ? std::max(widest, run) : widest;
            seenInk = true;
            run = 0;
        } else {
            ++run;
        }
    }
    return widest;
}

// Letters at a scale are spaced as the font of that size spaces them: the
// small font's whole-pixel advances, enlarged, would open gaps ("S at").
TEST(QtImageSurface, AtAScaleLettersAreSpacedAsTheLargerFontSpacesThem) {
    EnsureGuiApplication();
    for (const char* text : {"Sat", "Sun", "Wed"}) {
        QtImageSurface surface(40, 16, kWhite);
        surface.SetScale(3);
        surface.SetForeColor(kInk);
        surface.Print(text);

        QImage expected(surface.Image().size(), QImage::Format_RGB32);
        expected.fill(Qt::white);
        QFont font = QtImageSurface::DefaultFont();
        font.setPixelSize(3 * font.pixelSize());
        QPainter painter(&expected);
        painter.setFont(font);
        painter.drawText(QPointF(0, QFontMetricsF(font).ascent()), QString::fromLatin1(text));
        painter.end();

        EXPECT_NEAR(WidestGap(surface.Image(), surface.Image().pixel(39 * 3, 0)),
                    WidestGap(expected, expected.pixel(39 * 3, 0)), 1)
            << text;
    }
}

TEST(PixelSurfaces, AgreePixelForPixelOnRandomDrawing) {
    // Whole, half and fractional coordinates, inside, across and beyond the edges.
    std::mt19937 random(20240607);
    std::uniform_int_distribution<int> coordinate(-40, 120);
    std::uniform_int_distribution<int> fraction(0, 3);
    std::uniform_int_distribution<int> channel(0, 255);
    auto value = [&] { return coordinate(random) + 0.25 * fraction(random); };
    constexpr int kWidth = 80;
    constexpr int kHeight = 60;
    RecordingSurface recording(kWidth, kHeight, kWhite);
    QtImageSurface image(kWidth, kHeight, kWhite);
    for (int i = 0; i < 2000; ++i) {
        const Colour colour = Rgb(channel(random), channel(random), channel(random));
        const double x = value();
        const double y = value();
        switch (i % 4) {
        case 0: { // horizontal, as the components draw bands
            const double dx = value();
            recording.LineBy(x, y, dx, 0, colour);
            image.LineBy(x, y, dx, 0, colour);
            break;
        }
        case 1: { // vertical
            const double dy = value();
            recording.LineBy(x, y, 0, dy, colour);
            image.LineBy(x, y, 0, dy, colour);
            break;
        }
        case 2: { // any direction
            const double x2 = value();
            const double y2 = value();
            recording.Line(x, y, x2, y2, colour);
            image.Line(x, y, x2, y2, colour);
            break;
        }
        default: {
            const double w = value() / 2;
            const double h = value() / 2;
            recording.FillRect(x, y, w, h, colour);
            image.FillRect(x, y, w, h, colour);
            break;
        }
        }
        if (i % 97 == 0 || i == 1999) {
            for (int py = 0; py < kHeight; ++py) {
                for (int px = 0; px < kWidth; ++px) {
                    ASSERT_EQ(image.Pixel(px, py), recording.Pixel(px, py))
                        << "after operation " << i << " at " << px << "," << py;
                }
            }
        }
    }
}

TEST(QtImageSurface, TextLandsOnThePixelsQtDrawsItOn) {
    EnsureGuiApplication();
    struct Case {
        const char* text;
        bool bold;
        float x;
        float y;
    };
    const auto cases = std::to_array<Case>({
        {"Mon", false, 0, 0},
        {"Mon", false, 3.5F, 2.25F},
        {"Mon", true, 3.5F, 2.25F},
        {"8", false, 10.3F, 7.7F},
        {"31", true, 57.9F, 4.1F},
        {"\xC3\x84pple Wg", false, -3.2F, -4.6F}, // "Äpple Wg", cut at the top left
        {"Inv", true, 70.6F, 20.5F},              // cut at the bottom right
        {"Sun", false, 12.0F, 0.5F},
    });
    constexpr int kWidth = 90;
    constexpr int kHeight = 30;
    for (const auto& c : cases) {
        QtImageSurface surface(kWidth, kHeight, kWhite);
        surface.SetFontBold(c.bold);
        surface.SetForeColor(kInk);
        // Twice at the same place: the second print stamps what the first drew.
        for (int round = 0; round < 2; ++round) {
            surface.SetCurrentX(c.x);
            surface.SetCurrentY(c.y);
            surface.Print(c.text);
        }
        QImage expected(kWidth, kHeight, QImage::Format_RGB32);
        expected.fill(ToQColor(kWhite));
        QFont font = QtImageSurface::DefaultFont();
        font.setBold(c.bold);
        {
            QPainter painter(&expected);
            painter.setRenderHint(QPainter::Antialiasing, false);
            painter.setRenderHint(QPainter::TextAntialiasing, false);
            painter.setFont(font);
            painter.setPen(ToQColor(kInk));
            const QFontMetricsF metrics(font, &expected);
            painter.drawText(QPointF(c.x, c.y + metrics.ascent()), QString::fromUtf8(c.text));
        }
        int inked = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const Colour want = FromQColor(QColor(expected.pixel(x, y)));
                ASSERT_EQ(surface.Pixel(x, y), want) << c.text << " at " << x << "," << y;
                inked += want == kInk ? 1 : 0;
            }
        }
        EXPECT_GT(inked, 0) << c.text;
    }
}

TEST(QtImageSurface, OpaqueImagesAreCopiedAndTransparentOnesBlended) {
    QtImageSurface s(20, 10, kWhite);
    QImage opaque(4, 3, QImage::Format_RGB32);
    opaque.fill(ToQColor(kInk));
    s.DrawImage(opaque, 18, 8);  // clipped at the right and the bottom
    s.DrawImage(opaque, -2, -1); // and at the left and the top
    EXPECT_EQ(s.Pixel(18, 8), kInk);
    EXPECT_EQ(s.Pixel(19, 9), kInk);
    EXPECT_EQ(s.Pixel(17, 8), kWhite);
    EXPECT_EQ(s.Pixel(0, 0), kInk);
    EXPECT_EQ(s.Pixel(1, 1), kInk);
    EXPECT_EQ(s.Pixel(2, 0), kWhite);
    EXPECT_EQ(s.Pixel(0, 2), kWhite);
    QImage clear(4, 4, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    clear.setPixel(1, 1, qRgba(0, 240, 0, 255));
    s.DrawImage(clear, 8, 4);
    EXPECT_EQ(s.Pixel(8, 4), kWhite);
    EXPECT_EQ(s.Pixel(9, 5), Rgb(0, 240, 0));
}

TEST(QtImageSurface, SavesPngWithExactPixels) {
    QtImageSurface s(20, 10, Rgb(1, 2, 3));
    s.Line(0, 5, 20, 5, Rgb(0, 240, 0));
    const std::string path = ::testing::TempDir() + "velmar_surface_test.png";
    s.SavePng(path);
    QImage back(QString::fromStdString(path));
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(FromQColor(back.pixelColor(19, 5)), Rgb(0, 240, 0));
    EXPECT_EQ(FromQColor(back.pixelColor(0, 4)), Rgb(1, 2, 3));
    EXPECT_THROW(s.SavePng("/nonexistent-folder/x.png"), FileError);
}

#ifndef _WIN32
// Lowers the size a file of this process may reach, as a full disk would stop
// its writes, and ignores the signal that would otherwise end the process.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_Saved);
        m_SavedSignal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = m_Saved;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_Saved);
        std::signal(SIGXFSZ, m_SavedSignal);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_Saved{};
    void (*m_SavedSignal)(int) = nullptr;
};

// A picture that could not be written in full is an error, and leaves neither
// a cut-off file nor a damaged earlier one behind.
TEST(QtImageSurface, APngThatCannotBeWrittenInFullIsAnErrorAndLeavesNoFile) {
    QtImageSurface s(400, 300, kWhite);
    for (int y = 0; y < 300; y += 3) {
        s.Line(0, y, 400, y, Rgb(y % 256, (7 * y) % 256, 40)); // enough to need several kilobytes
    }
    const std::string fresh = ::testing::TempDir() + "velmar_surface_full_disk.png";
    const std::string earlier = ::testing::TempDir() + "velmar_surface_full_disk_earlier.png";
    std::remove(fresh.c_str());
    QtImageSurface(2, 2, kInk).SavePng(earlier);
    const QImage before(QString::fromStdString(earlier));
    {
        FileSizeLimit limit(512);
        EXPECT_THROW(s.SavePng(fresh), FileError);
        EXPECT_THROW(s.SavePng(earlier), FileError);
    }
    EXPECT_FALSE(std::filesystem::exists(fresh));
    EXPECT_EQ(QImage(QString::fromStdString(earlier)), before);
}
#endif
#endif

} // namespace
} // namespace velmar
