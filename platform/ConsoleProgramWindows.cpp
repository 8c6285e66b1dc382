#include "platform/ConsoleProgram.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <windows.h>

namespace velmar {

namespace {

// The console's output code page before ours, 0 when there is nothing to
// restore. Restored from whichever comes first: the object going, exit, or a
// console event that ends the process.
std::atomic<UINT> g_SavedOutputCodePage{0};

void RestoreOutputCodePage() {
    const UINT saved = g_SavedOutputCodePage.exchange(0);
    if (saved != 0) {
        SetConsoleOutputCP(saved);
    }
}

extern "C" void RestoreOutputCodePageAtExit() {
    RestoreOutputCodePage();
}

// What the program does on SIGINT. The C runtime offers no query, so the
// action is swapped out and back in.
enum class InterruptAction { End, Ignore, Handle };

InterruptAction CurrentInterruptAction() {
    const auto current = std::signal(SIGINT, SIG_DFL);
    std::signal(SIGINT, current);
    if (current == SIG_IGN) {
        return InterruptAction::Ignore;
    }
    return current == SIG_DFL || current == SIG_ERR ? InterruptAction::End : InterruptAction::Handle;
}

BOOL WINAPI OnConsoleControl(DWORD event) {
    return HandleConsoleControl(event) ? TRUE : FALSE;
}

} // namespace

bool HandleConsoleControl(unsigned long event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) {
        return false; // log-off and shut-down reach services only
    }
    switch (CurrentInterruptAction()) {
    case InterruptAction::Handle:
        std::raise(SIGINT);
        if (event == CTRL_CLOSE_EVENT) {
            // Returning would end the process at once; the program ends on
            // its own after its SIGINT handling (Windows ends it after its
            // grace period otherwise), and this thread waits for that.
            Sleep(INFINITE);
        }
        return true;
    case InterruptAction::Ignore:
        if (event != CTRL_CLOSE_EVENT) {
            return true;
        }
        // A closing console cannot be ignored: Windows ends the process.
        RestoreOutputCodePage();
        return false;
    case InterruptAction::End:
        break;
    }
    RestoreOutputCodePage();
    ExitProcess(STATUS_CONTROL_C_EXIT);
}

ConsoleProgram::ConsoleProgram(int& argc, char**& argv) {
    m_CommandLine = ReadProgramCommandLine(argc, argv);
    m_Arguments = m_CommandLine.Arguments;
    m_Arguments.insert(m_Arguments.begin(), argc > 0 ? std::string(argv[0]) : std::string());
    for (auto& argument : m_Arguments) {
        m_Argv.push_back(argument.data());
    }
    m_Argv.push_back(nullptr);
    argc = static_cast<int>(m_Arguments.size());
    argv = m_Argv.data();

    const UINT current = GetConsoleOutputCP();
    if (current != 0 && current != CP_UTF8 && SetConsoleOutputCP(CP_UTF8)) {
        g_SavedOutputCodePage = current;
        static const bool registered = std::atexit(RestoreOutputCodePageAtExit) == 0;
        static_cast<void>(registered);
    }
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

ConsoleProgram::~ConsoleProgram() {
    SetConsoleCtrlHandler(OnConsoleControl, FALSE);
    RestoreOutputCodePage();
}

void AttachToParentConsole() {
    // Output already redirected to a file or a pipe stays where it goes.
    const bool outputRedirected = GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) != FILE_TYPE_UNKNOWN;
    if (outputRedirected || !AttachConsole(ATTACH_PARENT_PROCESS)) {
        return;
    }
    FILE* stream = nullptr;
    freopen_s(&stream, "CONOUT$", "w", stdout);
    freopen_s(&stream, "CONOUT$", "w", stderr);
    std::cout.clear();
    std::cerr.clear();
}

} // namespace velmar
