#include "tests/support/RecordingSurface.h"

#include "common/Errors.h"
#include "platform/PixelLine.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <sstream>

namespace velmar {

namespace {

std::string ColourText(Colour colour) {
    std::array<char, 8> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "#%02x%02x%02x", RedOf(colour), GreenOf(colour),
                  BlueOf(colour));
    return buffer.data();
}

std::string NumberText(double value) {
    std::ostringstream out;
    out.precision(10);
    out << value;
    return out.str();
}

// Characters of a UTF-8 text (continuation bytes do not count).
long long CharacterCount(std::string_view text) {
    return std::count_if(text.begin(), text.end(),
                         [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
}

} // namespace

std::string SurfaceOperation::Describe() const {
    using K = Kind;
    switch (What) {
    case K::Line:
        return "Line(" + NumberText(X1) + "," + NumberText(Y1) + "," + NumberText(X2) + "," + NumberText(Y2) +
               "," + ColourText(ColourValue) + ")";
    case K::SetCurrentX:
        return "CurrentX=" + NumberText(X1);
    case K::SetCurrentY:
        return "CurrentY=" + NumberText(Y1);
    case K::TextWidth:
        return "TextWidth(" + Text + ")";
    case K::TextHeight:
        return "TextHeight(" + Text + ")";
    case K::Print:
        return "Print(" + Text + ")@" + NumberText(X1) + "," + NumberText(Y1);
    case K::ReadHDC:
        return "hDC";
    case K::SetMousePointer:
        return "MousePointer=" + std::to_string(Pointer);
    case K::SetForeColor:
        return "ForeColor=" + ColourText(ColourValue);
    case K::SetFontBold:
        return std::string("FontBold=") + (Bold ? "true" : "false");
    case K::FillRect:
        return "FillRect(" + NumberText(X1) + "," + NumberText(Y1) + "," + NumberText(X2) + "," +
               NumberText(Y2) + "," + ColourText(ColourValue) + ")";
    case K::SetToolTipText:
        return "ToolTipText=" + Text;
    }
    return "?";
}

RecordingSurface::RecordingSurface(int width, int height, Colour background)
    : m_Width(std::max(width, 0)), m_Height(std::max(height, 0)), m_Background(background),
      m_Pixels(static_cast<std::size_t>(m_Width) * static_cast<std::size_t>(m_Height), background) {}

void RecordingSurface::Line(double x1, double y1, double x2, double y2, Colour colour) {
    Record({.What = SurfaceOperation::Kind::Line,
            .X1 = x1,
            .Y1 = y1,
            .X2 = x2,
            .Y2 = y2,
            .ColourValue = colour});
    ForEachSurfaceLineRun(x1, y1, x2, y2, m_Width, m_Height,
                          [&](long long y, long long first, long long end) {
                              const auto row = m_Pixels.begin() + static_cast<std::ptrdiff_t>(y * m_Width);
                              std::fill(row + static_cast<std::ptrdiff_t>(first),
                                        row + static_cast<std::ptrdiff_t>(end), colour);
                          });
}

void RecordingSurface::SetCurrentX(float x) {
    Record({.What = SurfaceOperation::Kind::SetCurrentX, .X1 = x});
    m_CurrentX = x;
}

void RecordingSurface::SetCurrentY(float y) {
    Record({.What = SurfaceOperation::Kind::SetCurrentY, .Y1 = y});
    m_CurrentY = y;
}

float RecordingSurface::TextWidth(std::string_view text) {
    Record({.What = SurfaceOperation::Kind::TextWidth, .Text = std::string(text)});
    // The widest line of a text that spans several.
    long long widest = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find('\n', start);
        widest = std::max(widest, CharacterCount(text.substr(start, end - start)));
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    return static_cast<float>(widest) * kCharWidth;
}

float RecordingSurface::TextHeight(std::string_view text) {
    Record({.What = SurfaceOperation::Kind::TextHeight, .Text = std::string(text)});
    const auto lines = 1 + std::count(text.begin(), text.end(), '\n');
    return static_cast<float>(lines) * kLineHeight;
}

void RecordingSurface::Print(std::string_view text, bool endLine) {
    Record({.What = SurfaceOperation::Kind::Print,
            .X1 = m_CurrentX,
            .Y1 = m_CurrentY,
            .ColourValue = m_ForeColor,
            .Text = std::string(text),
            .Bold = m_Bold,
            .EndLine = endLine});
    if (endLine) {
        m_CurrentX = 0;
        m_CurrentY += kLineHeight;
    } else {
        m_CurrentX += static_cast<float>(CharacterCount(text)) * kCharWidth;
    }
}

std::int32_t RecordingSurface::hDC() const {
    Record({.What = SurfaceOperation::Kind::ReadHDC});
    return kDeviceContext;
}

void RecordingSurface::SetMousePointer(std::int16_t pointer) {
    Record({.What = SurfaceOperation::Kind::SetMousePointer, .Pointer = pointer});
    m_MousePointer = pointer;
}

void RecordingSurface::SetForeColor(Colour colour) {
    Record({.What = SurfaceOperation::Kind::SetForeColor, .ColourValue = colour});
    m_ForeColor = colour;
}

void RecordingSurface::SetFontBold(bool bold) {
    Record({.What = SurfaceOperation::Kind::SetFontBold, .Bold = bold});
    m_Bold = bold;
}

void RecordingSurface::FillRect(double x, double y, double width, double height, Colour colour) {
    Record({.What = SurfaceOperation::Kind::FillRect,
            .X1 = x,
            .Y1 = y,
            .X2 = width,
            .Y2 = height,
            .ColourValue = colour});
    PixelRect rect;
    if (!ClipRectangle(x, y, width, height, m_Width, m_Height, rect)) {
        return;
    }
    for (long long py = rect.Top; py < rect.Bottom; ++py) {
        for (long long px = rect.Left; px < rect.Right; ++px) {
            m_Pixels[static_cast<std::size_t>(py * m_Width + px)] = colour;
        }
    }
}

void RecordingSurface::SetToolTipText(std::string text) {
    Record({.What = SurfaceOperation::Kind::SetToolTipText, .Text = text});
    m_ToolTipText = std::move(text);
}

Colour RecordingSurface::Pixel(int x, int y) const {
    if (x < 0 || x >= m_Width || y < 0 || y >= m_Height) {
        throw OutOfRangeError("pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") outside the " +
                              std::to_string(m_Width) + " x " + std::to_string(m_Height) + " surface");
    }
    return m_Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_Width) +
                    static_cast<std::size_t>(x)];
}

void RecordingSurface::Clear() {
    std::fill(m_Pixels.begin(), m_Pixels.end(), m_Background);
}

std::vector<std::string> RecordingSurface::Describe() const {
    std::vector<std::string> lines;
    lines.reserve(m_Operations.size());
    for (const auto& op : m_Operations) {
        lines.push_back(op.Describe());
    }
    return lines;
}

std::vector<SurfaceOperation> RecordingSurface::OperationsOf(SurfaceOperation::Kind kind) const {
    std::vector<SurfaceOperation> found;
    std::copy_if(m_Operations.begin(), m_Operations.end(), std::back_inserter(found),
                 [kind](const SurfaceOperation& op) { return op.What == kind; });
    return found;
}

} // namespace velmar
