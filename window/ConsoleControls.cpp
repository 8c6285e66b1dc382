#include "window/ConsoleControls.h"

#include "common/CodePage.h"
#include "common/Errors.h"
#include "platform/LocalTime.h"
#include "report/ProfileList.h"

#include <algorithm>
#include <chrono>
#include <ostream>

namespace velmar {

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
    std::vector<ListedProfile> profiles;
    profiles.reserve(m_List.Rows().size());
    for (const ListRow& row : m_List.Rows()) {
        profiles.push_back({row.Text, row.SmallImage == kImageActive, {}});
    }
    m_Out << FormatConsoleBlock(m_Clock(), profiles, m_Window.Status().Problems, m_ToolTip) << std::flush;
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
        // Waited to the nanosecond: a wait rounded up to whole milliseconds
        // would hold the first reload back by up to one more.
        signals.Wait(next - now);
        if (!timer.Enabled()) {
            due = Clock::now() + std::chrono::milliseconds(timer.Interval());
        }
    }
    return signals.Received();
}

} // namespace velmar
