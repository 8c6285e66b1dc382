#pragma once

#include "platform/DrawingSurface.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmar {

// One operation a component performed on a RecordingSurface, in call order.
struct SurfaceOperation {
    enum class Kind {
        Line,            // X1, Y1 -> X2, Y2 as passed (before rounding), ColourValue
        SetCurrentX,     // X1
        SetCurrentY,     // Y1
        TextWidth,       // Text
        TextHeight,      // Text
        Print,           // Text at (X1, Y1), ColourValue = fore colour, Bold, EndLine
        ReadHDC,         // the device context was read
        SetMousePointer, // Pointer
        SetForeColor,    // ColourValue
        SetFontBold,     // Bold
        FillRect,        // X1, Y1 = corner, X2, Y2 = width, height, ColourValue
        SetToolTipText,  // Text
    };

    Kind What = Kind::Line;
    double X1 = 0;
    double Y1 = 0;
    double X2 = 0;
    double Y2 = 0;
    Colour ColourValue = 0;
    std::string Text{}; // braces keep designated initializers free of missing-initializer warnings
    bool Bold = false;
    bool EndLine = false;
    std::int16_t Pointer = 0;

    // A compact one-line form for assertions, e.g. "Line(30,4,318,4,#dcdcdc)".
    std::string Describe() const;
};

// A drawing surface for tests. It records every operation in
// order and draws into an in-memory pixel buffer, so that a test can check
// either the calls or the exact pixels. Lines use the same rasterisation as the
// image surface (start pixel drawn, end pixel not, coordinates rounded half to
// even). Text has a fixed metric: every character is 6 pixels wide, a line 13
// pixels high; Print records the text and its position but draws no pixels.
class RecordingSurface : public IDrawingSurface {
public:
    static constexpr float kCharWidth = 6;
    static constexpr float kLineHeight = 13;
    static constexpr std::int32_t kDeviceContext = 0x1DC;

    // A surface of width x height pixels, every pixel in the background colour.
    RecordingSurface(int width, int height, Colour background = Rgb(255, 255, 255));

    void Line(double x1, double y1, double x2, double y2, Colour colour) override;
    void SetCurrentX(float x) override;
    void SetCurrentY(float y) override;
    float CurrentX() const override { return m_CurrentX; }
    float CurrentY() const override { return m_CurrentY; }
    float TextWidth(std::string_view text) override;
    float TextHeight(std::string_view text) override;
    void Print(std::string_view text, bool endLine = false) override;
    std::int32_t hDC() const override;
    void SetMousePointer(std::int16_t pointer) override;
    std::int16_t MousePointer() const override { return m_MousePointer; }
    void SetForeColor(Colour colour) override;
    Colour ForeColor() const override { return m_ForeColor; }
    void SetFontBold(bool bold) override;
    bool FontBold() const override { return m_Bold; }
    Colour BackColor() const override { return m_Background; }
    void FillRect(double x, double y, double width, double height, Colour colour) override;
    void SetToolTipText(std::string text) override;
    std::string ToolTipText() const override { return m_ToolTipText; }

    int Width() const { return m_Width; }
    int Height() const { return m_Height; }
    // The colour of one pixel; OutOfRangeError outside the surface.
    Colour Pixel(int x, int y) const;
    // Sets every pixel to the background colour; the record stays.
    void Clear();

    const std::vector<SurfaceOperation>& Operations() const { return m_Operations; }
    // Describe() of every operation, in order.
    std::vector<std::string> Describe() const;
    // The operations of one kind, in order.
    std::vector<SurfaceOperation> OperationsOf(SurfaceOperation::Kind kind) const;
    void ClearOperations() { m_Operations.clear(); }

private:
    void Record(SurfaceOperation operation) const { m_Operations.push_back(std::move(operation)); }

    int m_Width;
    int m_Height;
    Colour m_Background;
    std::vector<Colour> m_Pixels;
    float m_CurrentX = 0;
    float m_CurrentY = 0;
    std::int16_t m_MousePointer = kPointerDefault;
    Colour m_ForeColor = Rgb(0, 0, 0);
    bool m_Bold = false;
    std::string m_ToolTipText;
    // Reading the device context is recorded too, so the record is mutable.
    mutable std::vector<SurfaceOperation> m_Operations;
};

} // namespace velmar
