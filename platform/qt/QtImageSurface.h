#pragma once

#include "platform/DrawingSurface.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace velmar {

// A drawing surface on a QImage with exact pixels: lines are put on the same
// pixels as every other pixel surface (start pixel drawn, end pixel not, no
// antialiasing), text is drawn without antialiasing in a real font with real
// metrics. The image can be shown in a widget or saved as PNG. Text drawing
// needs a QGuiApplication (fonts); lines and rectangles do not.
//
// Lines, rectangles and images without transparency are written straight into
// the image's scan lines. A text is drawn once per font and sub-pixel position
// into a mask and stamped from there; without antialiasing a glyph's pixels
// are all or nothing, so the stamp puts the fore colour on exactly the pixels
// that drawing the text would.
//
// A surface can hold its picture at a scale: coordinates stay the picture's
// own (what a component draws and hit-tests in), while the image has `scale`
// image pixels per picture pixel and texts are drawn at the scaled size, so a
// picture shown enlarged stays sharp. At scale 1 every pixel is as described
// above.
class QtImageSurface : public IDrawingSurface {
public:
    // The font used when none is given: DejaVu Sans at 11 pixels, the faces
    // this library carries, so that no system font is needed.
    static QFont DefaultFont();

    // A width x height image filled with the background colour.
    QtImageSurface(int width, int height, Colour background = Rgb(255, 255, 255),
                   const QFont& font = DefaultFont());

    void Line(double x1, double y1, double x2, double y2, Colour colour) override;
    void SetCurrentX(float x) override { m_CurrentX = x; }
    void SetCurrentY(float y) override { m_CurrentY = y; }
    float CurrentX() const override { return m_CurrentX; }
    float CurrentY() const override { return m_CurrentY; }
    float TextWidth(std::string_view text) override;
    float TextHeight(std::string_view text) override;
    void Print(std::string_view text, bool endLine = false) override;
    std::int32_t hDC() const override { return kDeviceContext; }
    void SetMousePointer(std::int16_t pointer) override { m_MousePointer = pointer; }
    std::int16_t MousePointer() const override { return m_MousePointer; }
    void SetForeColor(Colour colour) override { m_ForeColor = colour; }
    Colour ForeColor() const override { return m_ForeColor; }
    void SetFontBold(bool bold) override;
    bool FontBold() const override { return m_Font.bold(); }
    Colour BackColor() const override { return m_Background; }
    void FillRect(double x, double y, double width, double height, Colour colour) override;
    void SetToolTipText(std::string text) override { m_ToolTipText = std::move(text); }
    std::string ToolTipText() const override { return m_ToolTipText; }

    // The handle this surface reports as its device context. A host that draws
    // images for the component (the image list) draws them with DrawImage.
    static constexpr std::int32_t kDeviceContext = 0x1DC;

    // The size in the picture's own pixels, whatever the scale.
    int Width() const { return m_Width; }
    int Height() const { return m_Height; }
    // Image pixels per picture pixel (above 0; 1 when made). A new scale
    // starts a blank image of the scaled size: the owner draws it again.
    void SetScale(double scale);
    double Scale() const { return m_Scale; }
    // The colour of one picture pixel (its top left image pixel at a scale);
    // OutOfRangeError outside the picture.
    Colour Pixel(int x, int y) const;
    // Draws an image with its top left corner at (x, y), for a host's image list.
    void DrawImage(const QImage& image, int x, int y);
    // Sets every pixel to the background colour.
    void Clear();
    // Changes the size, as a host resizes its picture box: what was drawn stays
    // at the top left, new pixels take the background colour.
    void Resize(int width, int height);
    // The image, of Width() x Height() picture pixels times the scale.
    const QImage& Image() const { return m_Image; }
    // Saves the image as PNG, in full or not at all: FileError when it cannot
    // be written, and then an earlier file of that name stays as it was.
    void SavePng(const std::string& path) const;

private:
    // A text drawn once: the pixels it covers, relative to the whole pixel at or
    // left of and above its baseline origin, and how far it moves CurrentX.
    struct TextStamp {
        QImage Mask; // Format_ARGB32_Premultiplied, covered pixels opaque
        int Left = 0;
        int Top = 0;
        qreal Advance = 0;
    };

    // The font the glyphs are drawn with: the surface's font at the scaled size.
    QFont ScaledFont() const;
    const QFontMetricsF& Metrics();
    const TextStamp& Stamp(std::string_view text, qreal fractionX, qreal fractionY);
    // A picture coordinate in image pixels.
    long long Scaled(long long coordinate) const;
    // Fills picture pixels [left, right) x [top, bottom) in the image.
    void FillPictureRect(long long left, long long top, long long right, long long bottom, QRgb rgb);

    QImage m_Image;
    int m_Width = 0;
    int m_Height = 0;
    double m_Scale = 1;
    Colour m_Background;
    QFont m_Font;
    float m_CurrentX = 0;
    float m_CurrentY = 0;
    std::int16_t m_MousePointer = kPointerDefault;
    Colour m_ForeColor = Rgb(0, 0, 0);
    std::string m_ToolTipText;
    std::optional<QFontMetricsF> m_Metrics; // of m_Font on this image; reset when the font changes
    std::unordered_map<std::string, TextStamp> m_Stamps;
};

// The Qt colour of a surface colour (red in the low byte) and back.
QColor ToQColor(Colour colour);
Colour FromQColor(const QColor& colour);

} // namespace velmar
