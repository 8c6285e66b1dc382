#pragma once

// The picture box an editor component draws on. Coordinates are pixels of the
// surface, origin top left, y downwards. Colours are 24-bit RGB values with red
// in the low byte.

#include <cstdint>
#include <string>
#include <string_view>

namespace velmar {

using Colour = std::int32_t;

constexpr Colour Rgb(int red, int green, int blue) {
    return static_cast<Colour>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr int RedOf(Colour c) {
    return c & 0xFF;
}
constexpr int GreenOf(Colour c) {
    return (c >> 8) & 0xFF;
}
constexpr int BlueOf(Colour c) {
    return (c >> 16) & 0xFF;
}

// Mouse pointer shapes the components set.
constexpr std::int16_t kPointerDefault = 0;
constexpr std::int16_t kPointerSizeWE = 9;

class IDrawingSurface {
public:
    virtual ~IDrawingSurface() = default;

    // A line from (x1, y1) to (x2, y2): the start pixel is drawn, the end pixel is not.
    // Coordinates are rounded to whole pixels, halves to even.
    virtual void Line(double x1, double y1, double x2, double y2, Colour colour) = 0;
    // The same with the end point given relative to the start.
    void LineBy(double x1, double y1, double dx, double dy, Colour colour) {
        Line(x1, y1, x1 + dx, y1 + dy, colour);
    }

    // Position of the next printed text (its top left corner).
    virtual void SetCurrentX(float x) = 0;
    virtual void SetCurrentY(float y) = 0;
    virtual float CurrentX() const = 0;
    virtual float CurrentY() const = 0;

    // Size of a text in the current font, in pixels.
    virtual float TextWidth(std::string_view text) = 0;
    virtual float TextHeight(std::string_view text) = 0;

    // Draws the text at (CurrentX, CurrentY) in the fore colour and moves CurrentX
    // behind it. With `endLine`, the line ends instead: CurrentX returns to 0 and
    // CurrentY moves down by the text height.
    virtual void Print(std::string_view text, bool endLine = false) = 0;

    // Device-context handle, only handed on to the host's image drawing.
    virtual std::int32_t hDC() const = 0;

    virtual void SetMousePointer(std::int16_t pointer) = 0;
    virtual std::int16_t MousePointer() const = 0;

    virtual void SetForeColor(Colour colour) = 0;
    virtual Colour ForeColor() const = 0;
    virtual void SetFontBold(bool bold) = 0;
    virtual bool FontBold() const = 0;
    virtual Colour BackColor() const = 0;
    // Fills the rectangle of `width` by `height` pixels whose top left corner is (x, y).
    virtual void FillRect(double x, double y, double width, double height, Colour colour) = 0;

    // The surface's pointer tip text.
    virtual void SetToolTipText(std::string text) = 0;
    virtual std::string ToolTipText() const = 0;
};

} // namespace velmar
