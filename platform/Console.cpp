#include "platform/Console.h"

#include "common/CodePage.h"
#include "common/Errors.h"
#include "platform/LocalTime.h"

#include <algorithm>
#include <chrono>
#include <ostream>

namespace velmar {

std::string EscapeConsoleText(std::string_view text) {
    constexpr std::string_view kHex = "0123456789ABCDEF";
    const auto appendByte = [&](std::string& out, char c) {
        const auto byte = static_cast<unsigned char>(c);
        out += "\\x";
        out += kHex[byte >> 4];
        out += kHex[byte & 0x0F];
    };
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c == '\\') {
            out += "\\\\";
            ++i;
        } else if (c == '\r') {
            out += "\\r";
            ++i;
        } else if (c == '\n') {
            out += "\\n";
            ++i;
        } else {
            const std::size_t start = i;
            const auto point = DecodeUtf8At(text, i);
            // C0 controls, DEL and the C1 controls (U+0080 to U+009F, which
            // some terminals obey) are written byte by byte, as are bytes
            // that belong to no UTF-8 sequence.
            if (!point || *point < 0x20 || (*point >= 0x7F && *point <= 0x9F)) {
                for (std::size_t k = start; k < i; ++k) {
                    appendByte(out, text[k]);
                }
            } else {
                out.append(text.substr(start, i - start));
            }
        }
    }
    return out;
}

std::string JsonString(std::string_view text) {
    constexpr std::string_view kHex = "0123456789abcdef";
    std::string out = "\"";
    out.reserve(text.size() + 2);
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t start = i;
        const auto point = DecodeUtf8At(text, i);
        if (!point) {
            out += "\\ufffd";
            continue;
        }
        switch (*point) {
        case U'"':
            out += "\\\"";
            break;
        case U'\\':
            out += "\\\\";
            break;
        case U'\b':
            out += "\\b";
            break;
        case U'\f':
            out += "\\f";
            break;
        case U'\n':
            out += "\\n";
            break;
        case U'\r':
            out += "\\r";
            break;
        case U'\t':
            out += "\\t";
            break;
        default:
            if (*point < 0x20 || (*point >= 0x7F && *point <= 0x9F)) {
                out += "\\u00";
                out += kHex[*point >> 4U];
                out += kHex[*point & 0x0FU];
            } else {
                out.append(text.substr(start, i - start));
            }
        }
    }
    out += '"';
    return out;
}

std::string FormatConsoleBlock(std::string_view clockText, const std::vector<ListRow>& rows,
                               const std::vector<std::string>& problems, std::string_view toolTip) {
    std::string block = "== ";
    block += clockText;
    block += ' ' + std::to_string(rows.size()) + " profiles\n";
    for (const auto& row : rows) {
        block += row.SmallImage == kImageActive ? "+ " : "- ";
        block += EscapeConsoleText(row.Text);
        block += '\n';
    }
    for (const auto& problem : problems) {
        block += "! ";
        block += EscapeConsoleText(problem);
        block += '\n';
    }
    block += "tooltip: ";
    block += EscapeConsoleText(toolTip);
    block += '\n';
    return block;
}

void ConsoleReportList::AddRow(const std::string& text, std::int16_t smallImage) {
    if (smallImage < 1 || smallImage > m_Images.Count()) {
        throw OutOfRangeError("image " + std::to_string(smallImage) + " of the image list");
    }
    m_Rows.push_back({text, smallImage});
}

void ConsoleReportList::Move(int /*left*/, int /*top*/) {}

void ConsoleReportList::SetWidth(int width) {
    if (width < 0) {
        throw InvalidArgumentError("list width " + std::to_string(width));
    }
}

void ConsoleReportList::SetHeight(int height) {
    if (height < 0) {
        throw InvalidArgumentError("list height " + std::to_string(height));
    }
}

void ConsoleReportList::SetColumnWidth(int column, int width) {
    if (column != 1 || width < 0) {
        throw InvalidArgumentError("width " + std::to_string(width) + " of column " + std::to_string(column));
    }
}

void ConsoleWindow::SetInnerSize(int width, int height) {
    if (width < 0 || height < 0) {
        throw InvalidArgumentError("window size");
    }
    m_Width = width;
    m_Height = height;
}

ConsoleTray::ConsoleTray(const ConsoleReportList& list, const ConsoleWindow& window, std::ostream& out,
                         std::function<std::string()> clock)
    : m_List(list), m_Window(window), m_Out(out), m_Clock(std::move(clock)) {}

void ConsoleTray::SetToolTipText(const std::string& text) {
    m_ToolTip = text;
    // One write and a flush, so that a reader of a pipe sees whole blocks.
    m_Out << FormatConsoleBlock(m_Clock(), m_List.Rows(), m_Window.Status().Problems, m_ToolTip)
          << std::flush;
}

void ConsoleTimer::Fire() const {
    if (m_Handler) {
        m_Handler();
    }
}

void ConsoleOneShotTimer::Start(std::int32_t milliseconds, std::function<void()> handler) {
    m_Due = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(milliseconds, 0));
    m_Handler = std::move(handler);
}

void ConsoleOneShotTimer::Fire() {
    std::function<void()> handler = std::move(m_Handler);
    m_Handler = nullptr;
    if (handler) {
        handler();
    }
}

void ImmediateOneShotTimer::Start(std::int32_t /*milliseconds*/, std::function<void()> handler) {
    if (handler) {
        handler();
    }
}

int RunConsoleLoop(const ConsoleTimer& timer, ConsoleOneShotTimer& wait, const ConsoleStopSignals& signals) {
    using Clock = std::chrono::steady_clock;
    auto due = Clock::now() + std::chrono::milliseconds(timer.Interval());
    while (signals.Received() == 0) {
        const auto now = Clock::now();
        if (wait.Pending() && now >= wait.Due()) {
            wait.Fire();
            continue;
        }
        const bool ticking = timer.Enabled() && timer.Interval() > 0;
        if (ticking && now >= due) {
            timer.Fire();
            due = Clock::now() + std::chrono::milliseconds(timer.Interval());
            continue;
        }
        auto next = ticking ? due : now + std::chrono::seconds(1);
        if (wait.Pending()) {
            next = std::min(next, wait.Due());
        }
        const long long waitMs =
            std::chrono::duration_cast<std::chrono::milliseconds>(next - now).count() + 1;
        signals.Wait(waitMs);
        if (!timer.Enabled()) {
            due = Clock::now() + std::chrono::milliseconds(timer.Interval());
        }
    }
    return signals.Received();
}

} // namespace velmar
