#include "platform/ConsoleProgram.h"

#include <array>
#include <csignal>
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

namespace velmar {
namespace {

#ifdef _WIN32
volatile std::sig_atomic_t g_Interrupts = 0;

extern "C" void CountInterrupt(int /*signal*/) {
    g_Interrupts = g_Interrupts + 1;
}

TEST(ConsoleProgram, CtrlBreakAndCtrlCTakeTheProgramsInterruptPath) {
    using Action = void (*)(int);
    struct Case {
        const char* Title;
        Action OnInterrupt;
        unsigned long Event;
        bool Handled;
        int Interrupts;
    };
    const auto cases = std::to_array<Case>({
        {"Ctrl+C, caught", CountInterrupt, CTRL_C_EVENT, true, 1},
        {"Ctrl+Break, caught", CountInterrupt, CTRL_BREAK_EVENT, true, 1},
        {"Ctrl+Break, ignored", SIG_IGN, CTRL_BREAK_EVENT, true, 0},
        {"log-off is passed on", CountInterrupt, CTRL_LOGOFF_EVENT, false, 0},
        {"shut-down is passed on", CountInterrupt, CTRL_SHUTDOWN_EVENT, false, 0},
    });
    for (const auto& c : cases) {
        g_Interrupts = 0;
        const Action previous = std::signal(SIGINT, c.OnInterrupt);
        EXPECT_EQ(HandleConsoleControl(c.Event), c.Handled) << c.Title;
        EXPECT_EQ(g_Interrupts, c.Interrupts) << c.Title;
        std::signal(SIGINT, previous);
    }
}

TEST(ConsoleProgram, CtrlBreakEndsAProgramThatDoesNotCatchCtrlC) {
    std::signal(SIGINT, SIG_DFL);
    EXPECT_EXIT(HandleConsoleControl(CTRL_BREAK_EVENT),
                ::testing::ExitedWithCode(static_cast<int>(STATUS_CONTROL_C_EXIT)), "");
}

TEST(ConsoleProgram, ConsoleOutputIsUtf8WhileItLives) {
    std::array<char*, 2> arguments = {nullptr, nullptr};
    std::string name = "velmar_platform_command_line_tests";
    arguments[0] = name.data();
    int argc = 1;
    char** argv = arguments.data();
    const UINT before = GetConsoleOutputCP();
    {
        const ConsoleProgram program(argc, argv);
        if (before != 0) {
            EXPECT_EQ(GetConsoleOutputCP(), static_cast<UINT>(CP_UTF8));
        }
        EXPECT_STREQ(argv[0], "velmar_platform_command_line_tests");
        EXPECT_EQ(argv[argc], nullptr);
    }
    EXPECT_EQ(GetConsoleOutputCP(), before) << "the console's own code page comes back";
}
#endif

} // namespace
} // namespace velmar
